# Every fuzz target and the libraries it reads through. The corpus of
# target NAME_fuzz is fuzz/corpus/NAME. Libraries are separated by commas.
set(VANTIC_FUZZ_TARGETS
    entrytext_fuzz "vantic_playlist"
    schedule_fuzz "vantic_playlist,vantic_units,vantic_server_lib"
    cpconfig_fuzz "vantic_core"
    unitsettings_fuzz "vantic_units"
    unitlist_fuzz "vantic_units,vantic_server_lib"
    ownertable_fuzz "vantic_server_lib"
    timing_fuzz "vantic_net"
    envelope_fuzz "vantic_net"
    loginblock_fuzz "vantic_net,vantic_server_lib"
    serverframe_fuzz "vantic_server_lib"
    ply_fuzz "vantic_playlist"
    richtext_fuzz "vantic_platform"
    updatesig_fuzz "vantic_net")

# Calls body(name libraries) for each target.
macro(vantic_for_each_fuzz_target command)
    set(_rest ${VANTIC_FUZZ_TARGETS})
    while(_rest)
        list(POP_FRONT _rest _name _libraries)
        string(REPLACE "," ";" _libraries "${_libraries}")
        cmake_language(CALL ${command} ${_name} "${_libraries}")
    endwhile()
endmacro()
