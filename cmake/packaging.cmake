# Desktop integration and the Debian package.
include(GNUInstallDirs)
install(FILES ${PROJECT_SOURCE_DIR}/app/sondrel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/app/icons/sondrel.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/36x36/apps)
install(FILES ${PROJECT_SOURCE_DIR}/app/icons/sondrel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sondrel)
set(CPACK_PACKAGE_VENDOR "Sondrel")
set(CPACK_PACKAGE_CONTACT "Sondrel Converter developers <sondrel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "CTD reader that computes salinity and sound velocity and sends it to an echosounder")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# Shared libraries are found by dpkg-shlibdeps; the platform plugins are loaded at run time, so
# they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
