# Shared build helpers. Sources are collected per folder so that adding a
# file never means editing a list that every change touches.

# vantic_library(NAME DIR [DEPS ...]): a static library of every .cpp in DIR
# (not recursing), with the repository root as its include root.
function(vantic_library name)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(sources)
        add_library(${name} STATIC ${sources})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    endif()
endfunction()

# vantic_test_suite(NAME [DEPS ...]): one GoogleTest program of every
# *_test.cpp in the current folder, its cases registered with CTest.
function(vantic_test_suite name)
    cmake_parse_arguments(ARG "" "" "DEPS;LABELS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} vantic_testmain)
    vantic_use_test_update_key(${name})
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                         PROPERTIES LABELS "${ARG_LABELS}"
                         ENVIRONMENT "VANTIC_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;VANTIC_BIN_DIR=${PROJECT_BINARY_DIR}")
endfunction()

# vantic_use_test_update_key(TARGET): the program TARGET trusts updates
# signed with the test key (tests/data/update-test.key) instead of the
# release key (see net/update_key/CMakeLists.txt). For test programs and the
# demo's controller, never for what is installed.
function(vantic_use_test_update_key target)
    set_property(TARGET ${target} PROPERTY VANTIC_USES_TEST_UPDATE_KEY ON)
endfunction()

# Fails the configure step if a logic library links Qt, directly or through
# its public dependencies.
function(vantic_check_no_qt)
    foreach(target IN LISTS ARGN)
        if(NOT TARGET ${target})
            continue()
        endif()
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(libs ${target} INTERFACE_LINK_LIBRARIES)
        else()
            get_target_property(libs ${target} LINK_LIBRARIES)
        endif()
        foreach(lib IN LISTS libs)
            if(lib MATCHES "Qt")
                message(FATAL_ERROR "${target} must not link Qt (found ${lib})")
            endif()
        endforeach()
    endforeach()
endfunction()
