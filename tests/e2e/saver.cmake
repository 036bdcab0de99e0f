# The saver end to end: full screen (test_saver.py), preview (test_preview.py)
# and the command line (test_command_line.py), one ctest per test class.
foreach(entry
        e2e.saver.screen:test_saver.py:ScreenTest
        e2e.saver.close:test_saver.py:CloseTest
        e2e.saver.second_start:test_saver.py:SecondStartTest
        e2e.preview:test_preview.py:PreviewTest
        e2e.command_line:test_command_line.py:CommandLineTest)
    string(REPLACE ":" ";" entry ${entry})
    list(GET entry 0 name)
    list(GET entry 1 script)
    list(GET entry 2 class)
    korumix_add_e2e_test(${name} SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/${script} ARGS ${class})
endforeach()
