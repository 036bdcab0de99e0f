# Outlines drawn through GDI into a DIB section, and the frame step drawing
# real figures there, checked pixel by pixel.
add_executable(wine_drawing_test
    ${CMAKE_CURRENT_SOURCE_DIR}/drawing_test_win.cpp
    ${PROJECT_SOURCE_DIR}/src/animation/drawing_gdi_win.cpp)
target_link_libraries(wine_drawing_test PRIVATE korumix_core GTest::gtest_main gdi32 user32)
korumix_add_test(wine.drawing COMMAND wine_drawing_test --gtest_brief=1)
