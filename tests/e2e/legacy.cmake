# The legacy platform's password end to end (legacy/legacy_e2e.py): the real
# korumix.scr under its own name on Wine's legacy-family imitation, beside the
# stand-in password modules of tests/wine/legacy.cmake, and legacy_probe.exe
# to set and read their shared block, the registry switch and the system's
# saver-running flag.
add_executable(legacy_probe ${CMAKE_CURRENT_SOURCE_DIR}/legacy/legacy_probe.cpp)
target_include_directories(legacy_probe PRIVATE ${PROJECT_SOURCE_DIR}/tests/wine/legacy)
target_link_libraries(legacy_probe PRIVATE korumix_options user32 advapi32)

foreach(entry
        refused:RefusedPasswordTest
        accepted:AcceptedPasswordTest
        no-password:NoPasswordTest
        fault:FaultTest
        change:PasswordChangeTest
        nt:NtFamilyTest)
    string(REPLACE ":" ";" entry ${entry})
    list(GET entry 0 name)
    list(GET entry 1 class)
    korumix_add_e2e_test(e2e.legacy.${name}
        SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/legacy/legacy_e2e.py
        ARGS ${class}
        ENVIRONMENT
            KORUMIX_LEGACY_PROBE=$<TARGET_FILE:legacy_probe>
            KORUMIX_LEGACY_CPL=$<TARGET_FILE:legacy_password_double>
            KORUMIX_LEGACY_MPR=$<TARGET_FILE:legacy_mpr_double>
            KORUMIX_LEGACY_DIR=${CMAKE_CURRENT_BINARY_DIR}/legacy-${name})
endforeach()
