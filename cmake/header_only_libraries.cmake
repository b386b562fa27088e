# A cross build cannot use the host's package configurations: they put /usr/include on the
# include path, whose C library headers would shadow the target's. The command-line program's
# two libraries are header-only, so each gets a folder of its own that holds just its headers.
set(_header_root ${CMAKE_BINARY_DIR}/header_only)
foreach(_pair "CLI11;CLI" "nlohmann_json;nlohmann")
    list(GET _pair 0 _package)
    list(GET _pair 1 _folder)
    if(NOT EXISTS /usr/include/${_folder})
        message(FATAL_ERROR "${_package}: /usr/include/${_folder} is missing (scripts/bootstrap.sh)")
    endif()
    file(MAKE_DIRECTORY ${_header_root}/${_package})
    file(CREATE_LINK /usr/include/${_folder} ${_header_root}/${_package}/${_folder} SYMBOLIC)
    add_library(${_package}::${_package} INTERFACE IMPORTED GLOBAL)
    target_include_directories(${_package}::${_package} SYSTEM INTERFACE
                               ${_header_root}/${_package})
    set(${_package}_FOUND TRUE CACHE INTERNAL "")
endforeach()

# GoogleTest from Debian's source package, built for the target.
if(VERBANTA_TESTS)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(_lib gtest gtest_main gmock gmock_main)
        if(NOT TARGET GTest::${_lib})  # newer GoogleTest names them itself
            add_library(GTest::${_lib} ALIAS ${_lib})
        endif()
    endforeach()
    set(GTest_FOUND TRUE CACHE INTERNAL "")
endif()
