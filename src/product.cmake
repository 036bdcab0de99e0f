# korumix.scr: the one GUI executable. Its entry point is ProcessEntry.
add_executable(korumix WIN32 resources/korumix.rc)
set_target_properties(korumix PROPERTIES OUTPUT_NAME korumix SUFFIX .scr)
target_include_directories(korumix PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(korumix PRIVATE korumix_win)
