# The end-to-end tests' shared tools: three small Windows programs (see the
# comment at the top of each) and the Python driver korumix_e2e.py, which
# knows them by the environment variables korumix_add_e2e_test passes.

set(KORUMIX_E2E_SUPPORT_DIR ${CMAKE_CURRENT_LIST_DIR})

foreach(tool e2e_launcher e2e_parent e2e_window)
    add_executable(${tool} ${CMAKE_CURRENT_LIST_DIR}/${tool}.cpp)
    target_link_libraries(${tool} PRIVATE korumix_options)
    # wmain, and a console program so that its stdout reaches the driver.
    target_link_options(${tool} PRIVATE -municode)
endforeach()

# korumix_add_e2e_test(<name> SCRIPT <script.py> [ARGS <args...>]
#                      [TIMEOUT <s>] [ENVIRONMENT <k=v...>])
# Runs a unittest script with Debian's Python. The script finds korumix.scr,
# the tools and the driver through the environment set here.
function(korumix_add_e2e_test name)
    cmake_parse_arguments(ARG "" "SCRIPT;TIMEOUT" "ARGS;ENVIRONMENT" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    korumix_add_test(${name}
        COMMAND /usr/bin/python3 ${ARG_SCRIPT} ${ARG_ARGS}
        TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT
            KORUMIX_SCR=$<TARGET_FILE:korumix>
            KORUMIX_E2E_LAUNCHER=$<TARGET_FILE:e2e_launcher>
            KORUMIX_E2E_PARENT=$<TARGET_FILE:e2e_parent>
            KORUMIX_E2E_WINDOW=$<TARGET_FILE:e2e_window>
            KORUMIX_E2E_ARTIFACTS=${CMAKE_BINARY_DIR}/e2e-artifacts
            PYTHONPATH=${KORUMIX_E2E_SUPPORT_DIR}
            PYTHONDONTWRITEBYTECODE=1
            ${ARG_ENVIRONMENT})
endfunction()

korumix_add_e2e_test(e2e.support SCRIPT ${CMAKE_CURRENT_LIST_DIR}/test_tools.py)
