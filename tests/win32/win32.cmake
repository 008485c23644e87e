# Tests of the Windows build: GoogleTest from Debian's source package (googletest),
# built here with the cross compiler, and every test program run under Wine through
# wine_run.sh, in a private namespace with a throw-away prefix inside the build.

set(QLOK_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${QLOK_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${QLOK_GOOGLETEST_SOURCE} "
                        "(Debian package googletest; scripts/deps.sh installs it)")
endif()
set(BUILD_GMOCK OFF)
set(INSTALL_GTEST OFF)
add_subdirectory(${QLOK_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

if(CMAKE_CROSSCOMPILING)
    set(QLOK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(wine_arch win64)
    else()
        set(wine_arch win32)
    endif()
    set(CMAKE_CROSSCOMPILING_EMULATOR env QLOK_WINE_ARCH=${wine_arch}
        bash ${CMAKE_CURRENT_LIST_DIR}/wine_run.sh ${QLOK_WINEPREFIX})
    # wineboot takes tens of seconds: the prefix is made once, before the first program.
    add_test(NAME win32.wineprefix COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR})
    set_tests_properties(win32.wineprefix PROPERTIES
        FIXTURES_SETUP wineprefix TIMEOUT 300 SKIP_RETURN_CODE 77)
endif()
