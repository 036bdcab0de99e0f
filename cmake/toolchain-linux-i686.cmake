# The portable logic built for i686 Linux and run under qemu-i386: shows that
# the 32-bit code the compiler makes for the product computes the same bits
# as the 64-bit builds, on machines whose kernel cannot run 32-bit processes.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32 -static")
find_program(KORUMIX_QEMU_I386 qemu-i386-static)
if(NOT KORUMIX_QEMU_I386)
    message(FATAL_ERROR "qemu-i386-static not found: run tools/setup.sh")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${KORUMIX_QEMU_I386})
