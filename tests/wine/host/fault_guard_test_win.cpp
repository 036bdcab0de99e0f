// The fault guard: a fault inside a guarded mode is caught, the handler runs
// after the stack is unwound, the guard answers -1 and the process goes on;
// a process that ends with that answer exits with the code 4294967295.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "host/fault_guard_win.h"
#include "host_fault_child_win.h"

namespace {

int32_t ReturnsItsContext(void* context)
{
    return *static_cast<int32_t*>(context);
}

int32_t ReadsNull(void*)
{
    return *static_cast<volatile int32_t*>(nullptr);
}

int32_t DividesByZero(void* context)
{
    volatile int32_t zero = *static_cast<int32_t*>(context);
    return 10 / zero;
}

int32_t DeepFault(void* context)
{
    volatile char stack[512] = {};
    stack[0] = 1;
    int32_t depth = *static_cast<int32_t*>(context);
    if (depth == 0) return ReadsNull(nullptr) + stack[0];
    --depth;
    return DeepFault(&depth) + stack[0];
}

int HandlerRuns = 0;
void CountHandler()
{
    ++HandlerRuns;
}

int32_t Nested(void*)
{
    // An inner guard catches its own fault; the outer one sees a result.
    return RunGuarded(ReadsNull, nullptr, CountHandler) == GuardFaultResult ? 5 : 6;
}

TEST(FaultGuard, PassesAResultThrough)
{
    HandlerRuns = 0;
    for (int32_t value : {0, 1, -1, 1234, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(RunGuarded(ReturnsItsContext, &value, CountHandler), value);
    }
    EXPECT_EQ(HandlerRuns, 0);
}

struct FaultCase {
    const char* Name;
    GuardedMode Mode;
    int32_t Argument;
};

const FaultCase kFaults[] = {
    {"null read", ReadsNull, 0},
    {"integer division by zero", DividesByZero, 0},
    {"null read 40 frames down", DeepFault, 40},
};

TEST(FaultGuard, CatchesAFaultAndGoesOn)
{
    for (const FaultCase& c : kFaults) {
        HandlerRuns = 0;
        int32_t argument = c.Argument;
        EXPECT_EQ(RunGuarded(c.Mode, &argument, CountHandler), GuardFaultResult) << c.Name;
        EXPECT_EQ(HandlerRuns, 1) << c.Name;
    }
    // The guard left things as they were: it works again, and so does an
    // ordinary call afterwards.
    int32_t value = 42;
    EXPECT_EQ(RunGuarded(ReturnsItsContext, &value, nullptr), 42);
    EXPECT_EQ(RunGuarded(ReadsNull, nullptr, nullptr), GuardFaultResult);
}

TEST(FaultGuard, InnerGuardCatchesFirst)
{
    HandlerRuns = 0;
    EXPECT_EQ(RunGuarded(Nested, nullptr, CountHandler), 5);
    EXPECT_EQ(HandlerRuns, 1);
}

DWORD RunChild(const char* role)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\" " + role;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return 0xDEAD;
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 0xDEAD;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

TEST(FaultGuard, GuardedProcessExitsWithMinusOne)
{
    EXPECT_EQ(RunChild(FaultChildGuarded), 0xFFFFFFFFu);
}

TEST(FaultGuard, UnguardedFaultIsNotMinusOne)
{
    // Without the guard the system ends the process with the fault's code.
    EXPECT_EQ(RunChild(FaultChildUnguarded), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
}

} // namespace
