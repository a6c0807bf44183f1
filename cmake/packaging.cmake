# Windows gets a setup program of its own; the rest of this file is Linux's.
if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/windows_installer.cmake)
    return()
endif()

# Desktop integration, the documentation Debian asks for, and the Debian package.
include(GNUInstallDirs)
install(FILES ${PROJECT_SOURCE_DIR}/app/sondrel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/app/icons/sondrel.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/36x36/apps)
install(FILES ${PROJECT_SOURCE_DIR}/app/icons/sondrel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The logging server's service. systemd looks for user units under lib, never under Debian's
# multiarch library folder.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/sondrel.service DESTINATION lib/systemd/user)

# Manual pages and the changelog are installed compressed; -n leaves the name and time out of
# the gzip header, so the same sources give the same package.
find_program(GZIP gzip REQUIRED)
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/sondrel)
function(sondrel_gzipped source name destination)
    set(out ${CMAKE_BINARY_DIR}/gzipped/${name}.gz)
    add_custom_command(OUTPUT ${out}
                       COMMAND ${CMAKE_COMMAND} -E copy ${source} ${CMAKE_BINARY_DIR}/gzipped/${name}
                       COMMAND ${GZIP} -9nf ${CMAKE_BINARY_DIR}/gzipped/${name}
                       DEPENDS ${source} VERBATIM)
    list(APPEND gzipped_files ${out})
    set(gzipped_files ${gzipped_files} PARENT_SCOPE)
    install(FILES ${out} DESTINATION ${destination})
endfunction()
foreach(program sondrel sondrel-calc sondrel-sim)
    sondrel_gzipped(${PROJECT_SOURCE_DIR}/docs/man/${program}.1 ${program}.1
                    ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# A package whose version has no Debian revision is native, so its changelog is changelog.gz.
sondrel_gzipped(${PROJECT_SOURCE_DIR}/packaging/changelog changelog ${doc_dir})
add_custom_target(gzipped_docs ALL DEPENDS ${gzipped_files})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sondrel)
set(CPACK_PACKAGE_VENDOR "Sondrel Converter developers")
set(CPACK_PACKAGE_CONTACT "Sondrel Converter developers <dev@sondrel-converter.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "CTD to sound velocity converter for multibeam echosounders")
# Read here rather than named as CPACK_PACKAGE_DESCRIPTION_FILE, which CPack escapes for XML
# ("&" would become "&amp;" in the control file).
file(READ ${PROJECT_SOURCE_DIR}/packaging/description CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The debug symbols stay in the build tree; the package carries the programs without them.
set(CPACK_STRIP_FILES ON)
# Shared libraries are found by dpkg-shlibdeps; the platform plugins are loaded at run time, so
# they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
