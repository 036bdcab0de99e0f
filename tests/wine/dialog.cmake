# The settings dialog in process under Wine: the real template (korumix.rc
# linked as the product links it) run modally with the real procedure, under
# a Japanese (932) and a Western (1252) ANSI code page.
add_executable(wine_dialog_tests
    ${CMAKE_CURRENT_LIST_DIR}/dialog_main_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialog_driver_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialog_test_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dialog_template_test_win.cpp
    ${PROJECT_SOURCE_DIR}/src/resources/korumix.rc)
target_include_directories(wine_dialog_tests PRIVATE
    ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/src/resources)
target_link_libraries(wine_dialog_tests PRIVATE korumix_win gtest)

korumix_add_test(wine.dialog.cp932 COMMAND wine_dialog_tests --gtest_brief=1
    ENVIRONMENT LANG=ja_JP.UTF-8 LC_ALL= KORUMIX_EXPECT_ACP=932)
korumix_add_test(wine.dialog.cp1252 COMMAND wine_dialog_tests --gtest_brief=1
    ENVIRONMENT LANG=C LC_ALL= KORUMIX_EXPECT_ACP=1252)

# windres reports no included files to the build, so a change to the dialog's
# script or the ids would not rebuild the resources of the test programs.
set_source_files_properties(${PROJECT_SOURCE_DIR}/src/resources/korumix.rc PROPERTIES
    OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/src/resources/config_dialog.rc;${PROJECT_SOURCE_DIR}/src/resources/resource_ids.h")
