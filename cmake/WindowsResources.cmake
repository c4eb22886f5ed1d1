# qh_windows_resources(target LEVEL asInvoker|requireAdministrator DESCRIPTION text)
#
# Gives a Windows program its icon (resource 129), a manifest with the
# execution level and common controls 6, and version information. Does
# nothing for other platforms, so program CMake files can call it always.

function(qh_windows_resources target)
    if(NOT WIN32)
        return()
    endif()
    cmake_parse_arguments(ARG "" "LEVEL;DESCRIPTION" "" ${ARGN})
    set(QH_RES_NAME ${target})
    set(QH_RES_LEVEL ${ARG_LEVEL})
    # A development build says so where Explorer shows the program's details.
    set(QH_RES_DESCRIPTION "${ARG_DESCRIPTION}${QH_BUILD_MARK}")
    set(QH_RES_VERSION ${QH_PRODUCT_VERSION})
    set(QH_RES_VERSION_TEXT "${QH_PRODUCT_VERSION}${QH_BUILD_MARK}")
    # The manifest names the program's own architecture: a 64-bit program
    # that asks for the x86 common controls fails to start.
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
        set(QH_RES_ARCH amd64)
    else()
        set(QH_RES_ARCH x86)
    endif()
    string(REPLACE "." "," QH_RES_VERSION_COMMAS ${QH_PRODUCT_VERSION})
    set(QH_RES_ICON ${PROJECT_SOURCE_DIR}/resources/windows/qinghe.ico)
    set(QH_RES_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
    set(template_dir ${PROJECT_SOURCE_DIR}/resources/windows)
    configure_file(${template_dir}/program.manifest.in ${QH_RES_MANIFEST} @ONLY)
    configure_file(${template_dir}/program.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}.rc PROPERTIES
        OBJECT_DEPENDS "${QH_RES_ICON};${QH_RES_MANIFEST}")
endfunction()
