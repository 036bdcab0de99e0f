# Run after linking korumix.scr (cmake -P): the image has no C runtime
# start-up, so it must not need one. Fails the build when
#   - the entry point is not ProcessEntry,
#   - the constructor list holds anything (nobody would run it), or
#   - the linker had to leave pseudo-relocations (data imported without
#     dllimport), which only the start-up code would apply.
# Inputs: IMAGE, OBJDUMP, NM, ENTRY (the entry symbol as the linker names it).

execute_process(COMMAND ${OBJDUMP} -p ${IMAGE} OUTPUT_VARIABLE header RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "product check: cannot read ${IMAGE}")
endif()
execute_process(COMMAND ${NM} ${IMAGE} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "product check: cannot list the symbols of ${IMAGE}")
endif()

function(symbol_address name out)
    string(REGEX MATCH "([0-9a-f]+) [A-Za-z] ${name}\n" found "${symbols}")
    if(NOT found)
        message(FATAL_ERROR "product check: no symbol ${name} in ${IMAGE}")
    endif()
    math(EXPR value "0x${CMAKE_MATCH_1}" OUTPUT_FORMAT DECIMAL)
    set(${out} ${value} PARENT_SCOPE)
endfunction()

string(REGEX MATCH "AddressOfEntryPoint[ \t]+([0-9a-fA-F]+)" found "${header}")
math(EXPR entry "0x${CMAKE_MATCH_1}" OUTPUT_FORMAT DECIMAL)
string(REGEX MATCH "ImageBase[ \t]+([0-9a-fA-F]+)" found "${header}")
math(EXPR base "0x${CMAKE_MATCH_1}" OUTPUT_FORMAT DECIMAL)
string(REPLACE "@" "[@]" entry_pattern "${ENTRY}")
symbol_address("${entry_pattern}" wanted)
math(EXPR wanted "${wanted} - ${base}")
if(NOT entry EQUAL wanted)
    message(FATAL_ERROR "product check: the entry point is not ${ENTRY}")
endif()

# The list is the -1 sentinel and the 0 terminator when it is empty.
string(REGEX MATCH "file format pei-i386" is32 "${header}")
if(is32)
    set(pointer 4)
    set(prefix _)
else()
    set(pointer 8)
    set(prefix "")
endif()
symbol_address("${prefix}__CTOR_LIST__" ctors)
symbol_address("${prefix}__DTOR_LIST__" dtors)
math(EXPR size "${dtors} - ${ctors}")
math(EXPR empty "2 * ${pointer}")
if(NOT size EQUAL empty)
    message(FATAL_ERROR "product check: ${IMAGE} has global constructors, which no start-up runs")
endif()

symbol_address("${prefix}__RUNTIME_PSEUDO_RELOC_LIST__" relocs)
symbol_address("${prefix}__RUNTIME_PSEUDO_RELOC_LIST_END__" relocs_end)
if(NOT relocs EQUAL relocs_end)
    message(FATAL_ERROR "product check: ${IMAGE} needs pseudo-relocations, which no start-up applies")
endif()
