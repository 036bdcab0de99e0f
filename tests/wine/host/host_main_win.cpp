#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "host/fault_guard_win.h"
#include "host_fault_child_win.h"

static int32_t ReadsNull(void*)
{
    return *static_cast<volatile int32_t*>(nullptr);
}

void RunFaultChildIfAsked(int argc, char** argv)
{
    if (argc < 2) return;
    if (std::strcmp(argv[1], FaultChildGuarded) == 0)
        ExitProcess(static_cast<UINT>(RunGuarded(ReadsNull, nullptr, nullptr)));
    if (std::strcmp(argv[1], FaultChildUnguarded) == 0)
        ExitProcess(static_cast<UINT>(ReadsNull(nullptr)));
}

int main(int argc, char** argv)
{
    RunFaultChildIfAsked(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
