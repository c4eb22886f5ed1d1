# GoogleTest: Debian's library natively; for the Windows build, Debian's
# googletest sources compiled with the cross compiler.
if(CMAKE_CROSSCOMPILING)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # Google's own sources are not held to our warning flags or charset.
    foreach(t gtest gtest_main gmock gmock_main)
        target_compile_options(${t} PRIVATE -Wno-error -finput-charset=UTF-8 -fexec-charset=UTF-8)
    endforeach()

    # The Wine prefix is made once, before any Windows test runs, with the
    # architecture of the build.
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
        set(QH_WINE_ARCH win64)
    else()
        set(QH_WINE_ARCH win32)
    endif()
    add_test(NAME wine_prefix
             COMMAND ${CMAKE_CURRENT_LIST_DIR}/wine-prefix-init.sh ${CMAKE_BINARY_DIR}/wineprefix ${QH_WINE_ARCH})
    set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine)
else()
    find_package(GTest REQUIRED)
endif()

# The graphics backend the headless tests draw with: GDI+ in the Windows
# builds, cairo elsewhere (tests/toolkit/test_backend_<backend>.cpp).
if(WIN32)
    set(QH_TEST_GRAPHICS gdiplus)
else()
    set(QH_TEST_GRAPHICS cairo)
endif()

# qh_add_test(name SOURCES...): one test program, run as one CTest test.
function(qh_add_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    add_test(NAME ${name} COMMAND ${name})
    if(CMAKE_CROSSCOMPILING)
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
    endif()
endfunction()
