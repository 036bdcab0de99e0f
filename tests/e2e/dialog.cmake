# The settings dialog end to end (dialog/dialog_e2e.py): korumix.scr with /c,
# /c:<hwnd> and the empty command line under a Japanese locale (ANSI code
# page 932), driven with real X input, judged by KORUMIX.ini and the exit code.
foreach(entry confirm:ConfirmTest cancel:CancelTest owner:OwnerTest)
    string(REPLACE ":" ";" entry ${entry})
    list(GET entry 0 name)
    list(GET entry 1 class)
    korumix_add_e2e_test(e2e.dialog.${name}
        SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/dialog/dialog_e2e.py
        ARGS ${class}
        ENVIRONMENT LANG=ja_JP.UTF-8 LC_ALL=)
endforeach()
