# The legacy password under Wine, in process. Stand-ins for the platform's
# password modules are built here; the tests choose between them with
# SetDllDirectoryA, so none of them lies beside a test executable:
#   legacy-doubles/verify/PASSWORD.CPL   has "VerifyScreenSavePwd"
#   legacy-doubles/noentry/PASSWORD.CPL  lacks it
#   legacy-doubles/none/                 no PASSWORD.CPL at all
#   legacy-doubles/mpr/mpr.dll           "PwdChangePasswordA"; Wine prefers its own
#                                        mpr.dll unless told mpr=n,b
#   legacy-doubles/mpr-noentry/mpr.dll   lacks it
set(KORUMIX_LEGACY_DOUBLES ${CMAKE_CURRENT_BINARY_DIR}/legacy-doubles)
file(MAKE_DIRECTORY ${KORUMIX_LEGACY_DOUBLES}/none)

function(korumix_legacy_double target source directory name suffix)
    add_library(${target} SHARED ${CMAKE_CURRENT_SOURCE_DIR}/legacy/${source})
    target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/legacy)
    target_link_libraries(${target} PRIVATE korumix_options user32 kernel32)
    set_target_properties(${target} PROPERTIES
        PREFIX "" OUTPUT_NAME ${name} SUFFIX ${suffix}
        RUNTIME_OUTPUT_DIRECTORY ${KORUMIX_LEGACY_DOUBLES}/${directory}
        ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/legacy-doubles-lib/${target})
    # Exported under their plain names, as the platform's modules export them.
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
        target_link_options(${target} PRIVATE -Wl,--kill-at)
    endif()
endfunction()

korumix_legacy_double(legacy_password_double password_cpl_double.cpp verify PASSWORD .CPL)
korumix_legacy_double(legacy_password_noentry_double password_cpl_double.cpp noentry PASSWORD .CPL)
target_compile_definitions(legacy_password_noentry_double PRIVATE KORUMIX_WITHOUT_VERIFIER)
korumix_legacy_double(legacy_mpr_double mpr_double.cpp mpr mpr .dll)
korumix_legacy_double(legacy_mpr_noentry_double password_cpl_double.cpp mpr-noentry mpr .dll)
target_compile_definitions(legacy_mpr_noentry_double PRIVATE KORUMIX_WITHOUT_VERIFIER)

add_executable(legacy_tests legacy/legacy_load_test.cpp legacy/legacy_gate_test.cpp
    legacy/legacy_fixture.cpp legacy/legacy_saver_window.cpp)
target_include_directories(legacy_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/legacy)
target_link_libraries(legacy_tests PRIVATE korumix_win GTest::gtest_main)
add_dependencies(legacy_tests
    legacy_password_double legacy_password_noentry_double legacy_mpr_double
    legacy_mpr_noentry_double)

# The legacy platform imitated in process (LegacyPlatform = 1) on Wine's NT face.
korumix_add_test(wine.legacy COMMAND legacy_tests ENVIRONMENT WINEDLLOVERRIDES=mpr=n,b)

# The same on Wine's imitation of the legacy family: the executable starts
# itself again under its AppDefaults Version = win98 (legacy9x_main.cpp).
# SaverMain runs a full-screen saver once per process, hence one entry each.
add_executable(legacy9x_tests legacy/legacy9x_main.cpp legacy/legacy9x_test.cpp
    legacy/legacy_fixture.cpp)
target_include_directories(legacy9x_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/legacy)
target_link_libraries(legacy9x_tests PRIVATE korumix_win GTest::gtest)
add_dependencies(legacy9x_tests legacy_password_double legacy_mpr_double)
korumix_add_test(wine.legacy.9x COMMAND legacy9x_tests --gtest_filter=-ProtectedRun.*
    ENVIRONMENT WINEDLLOVERRIDES=mpr=n,b)
korumix_add_test(wine.legacy.9x-accepted
    COMMAND legacy9x_tests --gtest_filter=ProtectedRun.AnAcceptedPassword*)
korumix_add_test(wine.legacy.9x-fault COMMAND legacy9x_tests --gtest_filter=ProtectedRun.AFault*)
