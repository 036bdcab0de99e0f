# Cross toolchain for the 64-bit test build of the same sources: MinGW-w64,
# x86_64, posix thread model. Used where this machine cannot run 32-bit Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KORUMIX_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
