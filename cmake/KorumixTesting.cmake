# Test registration by layer: unit.* (portable logic), wine.* (Win32 side in
# process under Wine), e2e.* (the real korumix.scr under Wine in Xvfb).
#
# On a Windows build every test runs with one Wine prefix for the whole run,
# made by the fixture test wine.prefix and ended by wine.shutdown; the tests
# that share it hold the lock wine_prefix, so they never run in parallel.
# DISPLAY comes from the caller (tools/test.sh starts one Xvfb for the run).

set(KORUMIX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(KORUMIX_WINEARCH win64)
else()
    set(KORUMIX_WINEARCH win32)
endif()
set(KORUMIX_WINE_ENVIRONMENT
    WINEPREFIX=${KORUMIX_WINEPREFIX}
    WINEARCH=${KORUMIX_WINEARCH}
    WINEDEBUG=-all
    WINELOADER=${KORUMIX_WINE}
    KORUMIX_WINE=${KORUMIX_WINE})

# korumix_add_test(<name> COMMAND <command...> [TIMEOUT <s>] [ENVIRONMENT <k=v...>])
# A COMMAND that names an executable target of a Windows build runs under Wine.
function(korumix_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "COMMAND;ENVIRONMENT" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    add_test(NAME ${name} COMMAND ${ARG_COMMAND})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    if(WIN32)
        set_tests_properties(${name} PROPERTIES
            ENVIRONMENT "${KORUMIX_WINE_ENVIRONMENT};${ARG_ENVIRONMENT}"
            FIXTURES_REQUIRED wine_prefix
            RESOURCE_LOCK wine_prefix)
    elseif(ARG_ENVIRONMENT)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
    endif()
endfunction()

function(korumix_add_wine_fixture)
    add_test(NAME wine.prefix
        COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-prefix.sh create ${KORUMIX_WINEPREFIX})
    add_test(NAME wine.shutdown
        COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-prefix.sh shutdown ${KORUMIX_WINEPREFIX})
    set_tests_properties(wine.prefix PROPERTIES
        FIXTURES_SETUP wine_prefix RESOURCE_LOCK wine_prefix TIMEOUT 300
        ENVIRONMENT "${KORUMIX_WINE_ENVIRONMENT}")
    set_tests_properties(wine.shutdown PROPERTIES
        FIXTURES_CLEANUP wine_prefix RESOURCE_LOCK wine_prefix TIMEOUT 60
        ENVIRONMENT "${KORUMIX_WINE_ENVIRONMENT}")
endfunction()
