# The host in process under Wine: the saver window's message tables, the
# saver window and its loop, the settings file through the real profile
# functions, the command line, the fault guard and the host's start-up
# values. One executable; each group runs in a process of its own, so that
# every group starts from the process-global state a real start finds.
add_executable(wine_host_tests
    ${CMAKE_CURRENT_LIST_DIR}/host/host_main_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host/host_fixture_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host/host_state_test_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host/saver_messages_test_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host/saver_window_test_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host/settings_file_test_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host/startup_test_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host/fault_guard_test_win.cpp
    ${PROJECT_SOURCE_DIR}/src/resources/korumix.rc) # the string table the settings names come from
target_include_directories(wine_host_tests PRIVATE
    ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/src/resources)
target_link_libraries(wine_host_tests PRIVATE korumix_win gtest imm32)

foreach(group IN ITEMS
        "state:HostStateAtStart.*"
        "messages:Table/SaverMessages.*:Events/PowerBroadcasts.*:Cases/AcLineRule.*:Moves/MouseRule.*:SaverWindowLife.*:LegacyGate.*:States/AutoPlay.*:FramePeriod.*"
        "saver_window:RunSaverWindowTest.*"
        "settings_file:SettingsFile.*:Files/HandEdited.*"
        "command_line:CommandLine.*:SwitchTest.*"
        "fault_guard:FaultGuard.*")
    string(REPLACE ":" ";" parts "${group}")
    list(POP_FRONT parts name)
    string(REPLACE ";" ":" filter "${parts}")
    korumix_add_test(wine.host.${name} COMMAND wine_host_tests --gtest_brief=1
        --gtest_filter=${filter})
endforeach()
