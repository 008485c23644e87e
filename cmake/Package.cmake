# Installation and the Debian package: "cpack -G DEB" in a build folder makes
# qlok_<version>_amd64.deb, its dependencies read from the programs by dpkg-shlibdeps.

set(dist ${PROJECT_SOURCE_DIR}/dist/linux)
# The AppStream component: reverse-DNS, lower case.
set(QLOK_APPSTREAM_ID "org.qlok.qlok" CACHE STRING "AppStream component ID")

# The programs, each with its manual page dist/linux/<program>.1; one not built is left out.
foreach(program qlok qlok-sync qlok-daytimed)
    if(NOT TARGET ${program})
        continue()
    endif()
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1.gz)
    add_custom_command(OUTPUT ${page}
                       COMMAND ${CMAKE_COMMAND} -E make_directory man
                       COMMAND gzip -9n -c ${dist}/${program}.1 > ${page}
                       DEPENDS ${dist}/${program}.1 VERBATIM)
    list(APPEND pages ${page})
endforeach()
add_custom_target(qlok_man_pages ALL DEPENDS ${pages})
install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The licence in the machine-readable copyright format, and the changelog, where Debian keeps
# them for a package.
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog}
                   COMMAND gzip -9n -c ${dist}/changelog > ${changelog}
                   DEPENDS ${dist}/changelog VERBATIM)
add_custom_target(qlok_changelog ALL DEPENDS ${changelog})
install(FILES ${dist}/copyright ${changelog} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/qlok)

if(TARGET qlok)
    install(FILES "${PROJECT_SOURCE_DIR}/QLOK instructions.txt"
            DESTINATION ${CMAKE_INSTALL_DATADIR}/qlok)

    configure_file(${dist}/qlok.desktop.in qlok.desktop @ONLY)
    configure_file(${dist}/qlok.metainfo.xml.in ${QLOK_APPSTREAM_ID}.metainfo.xml @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qlok.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${QLOK_APPSTREAM_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

    # The theme's icons, drawn by the script that draws the window icon.
    find_package(Python3 COMPONENTS Interpreter)
    if(Python3_Interpreter_FOUND)
        set(sizes 16 22 24 32 48 64 128 256)
        set(icons "")
        foreach(size ${sizes})
            list(APPEND icons ${CMAKE_CURRENT_BINARY_DIR}/icons/qlok-${size}.png)
        endforeach()
        add_custom_command(OUTPUT ${icons}
                           COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/make_icon.py
                                   --png ${CMAKE_CURRENT_BINARY_DIR}/icons ${sizes}
                           DEPENDS ${PROJECT_SOURCE_DIR}/tools/make_icon.py VERBATIM)
        add_custom_target(qlok_theme_icons ALL DEPENDS ${icons})
        foreach(size ${sizes})
            install(FILES ${CMAKE_CURRENT_BINARY_DIR}/icons/qlok-${size}.png RENAME qlok.png
                    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
        endforeach()
    else()
        message(STATUS "python3 not found: the package goes without the theme's icons")
    endif()
endif()

set(CPACK_PACKAGE_NAME qlok)
set(CPACK_PACKAGE_VENDOR "QLOK")
set(CPACK_PACKAGE_CONTACT "QLOK maintainers <qlok@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set the clock from a Daytime time server")
set(CPACK_PACKAGE_DESCRIPTION
    "QLOK is a small window that asks a Daytime server (RFC 867, TCP port 13)\n"
    "for the time, compares the answer with the clock, and sets the clock when\n"
    "the two are two seconds or more apart. It lists every step, can repeat\n"
    "every few minutes, and keeps a history of its corrections.\n"
    "\n"
    "The package also holds qlok-sync, the same synchronisation without a window\n"
    "for cron and systemd timers (an example service and timer come with it), and\n"
    "qlok-daytimed, a Daytime server for tests and a LAN.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
