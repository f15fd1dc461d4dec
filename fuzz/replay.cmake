# The committed corpus of every fuzz target as a CTest regression check in
# the ordinary build: each target linked with a small main that runs it once
# over every file of fuzz/corpus/<name>, with no libFuzzer and no clang.
include(${CMAKE_CURRENT_LIST_DIR}/targets.cmake)

function(vantic_fuzz_replay name libraries)
    string(REGEX REPLACE "_fuzz$" "" corpus ${name})
    add_executable(${name}_replay ${PROJECT_SOURCE_DIR}/fuzz/${name}.cpp
                                  ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
    target_link_libraries(${name}_replay PRIVATE ${libraries})
    add_test(NAME fuzz.corpus.${corpus}
             COMMAND ${name}_replay ${PROJECT_SOURCE_DIR}/fuzz/corpus/${corpus})
    set_tests_properties(fuzz.corpus.${corpus} PROPERTIES LABELS fuzz)
endfunction()

vantic_for_each_fuzz_target(vantic_fuzz_replay)
