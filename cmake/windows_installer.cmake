# The Windows installer, build/windows/sondrel-<version>-win64-setup.exe, made with NSIS: the
# three programs with the Qt and MinGW run-time DLLs they load, in one folder where Windows and
# Qt look for them, and the licence texts in a folder beside them.
find_program(MAKENSIS makensis REQUIRED)

set(qt_modules Core Gui Widgets Network SerialPort Charts)
list(TRANSFORM qt_modules REPLACE "(.+)" "${QT6_INSTALL_PREFIX}/bin/Qt6\\1.dll")
install(FILES ${qt_modules} DESTINATION bin)
# Qt finds its plugins in folders beside the program: the window system and the native style.
install(FILES ${QT6_INSTALL_PREFIX}/plugins/platforms/qwindows.dll DESTINATION bin/platforms)
install(FILES ${QT6_INSTALL_PREFIX}/plugins/styles/qwindowsvistastyle.dll DESTINATION bin/styles)

# The compiler's run-time DLLs, stripped of their debugging symbols.
set(runtime_dir ${CMAKE_BINARY_DIR}/runtime)
set(runtime_dlls)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}")
        message(FATAL_ERROR "The compiler does not know where ${dll} is")
    endif()
    add_custom_command(OUTPUT ${runtime_dir}/${dll}
                       COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${runtime_dir}/${dll} ${found}
                       DEPENDS ${found} VERBATIM)
    list(APPEND runtime_dlls ${runtime_dir}/${dll})
endforeach()
install(FILES ${runtime_dlls} DESTINATION bin)

# Debian's record of each part's copyright and licence, for the parts built from its sources.
set(licences ${PROJECT_SOURCE_DIR}/LICENSE /usr/share/common-licenses/LGPL-3)
set(licence_names GPL-3.0.txt LGPL-3.0.txt)
foreach(part libqt6core6:Qt-base libqt6serialport6:Qt-SerialPort libqt6charts6:Qt-Charts
        gcc-mingw-w64-base:GCC-runtime mingw-w64-common:MinGW-w64-runtime)
    string(REPLACE ":" ";" part ${part})
    list(GET part 0 package)
    list(GET part 1 name)
    list(APPEND licences /usr/share/doc/${package}/copyright)
    list(APPEND licence_names ${name}-copyright.txt)
endforeach()
foreach(licence name IN ZIP_LISTS licences licence_names)
    install(FILES ${licence} DESTINATION licences RENAME ${name})
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/SOURCES.txt DESTINATION licences)

set(stage ${CMAKE_BINARY_DIR}/stage)
set(setup ${CMAKE_BINARY_DIR}/sondrel-${PROJECT_VERSION}-win64-setup.exe)
add_custom_command(
    OUTPUT ${setup}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${stage} --strip
    COMMAND ${CMAKE_COMMAND} -DSTAGE=${stage} -DOUT=${stage}/uninstall.nsh
            -P ${PROJECT_SOURCE_DIR}/packaging/windows/uninstall_list.cmake
    COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${stage} -DSETUP=${setup}
            -DICON=${PROJECT_SOURCE_DIR}/app/icons/sondrel.ico
            ${PROJECT_SOURCE_DIR}/packaging/windows/sondrel.nsi
    DEPENDS sondrel sondrel-calc sondrel-sim ${runtime_dlls} ${licences}
            ${PROJECT_SOURCE_DIR}/packaging/windows/sondrel.nsi
            ${PROJECT_SOURCE_DIR}/packaging/windows/SOURCES.txt
            ${PROJECT_SOURCE_DIR}/packaging/windows/uninstall_list.cmake
    VERBATIM)
add_custom_target(installer ALL DEPENDS ${setup})
