// The legacy branches of the real start-up and saver window, in a process
// that Wine shows the legacy platform family to (legacy9x_main.cpp): the
// password change switch, and one protected full-screen run from SaverMain
// to its end. RunSaverWindow runs once per process (its class stays
// registered), so each full-screen case has its own ctest entry.
#include <gtest/gtest.h>

#include "host/host_state_win.h"
#include "host/startup_win.h"
#include "legacy_fixture.h"

namespace {

TEST(LegacyFamily, GetVersionExReportsTheLegacyPlatformFamily)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    EXPECT_EQ(version.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS));
}

class ChangeSwitch : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ResetDoubles();
        UseDoubles("mpr");
        parent = CreateWindowExA(0, "STATIC", "password change parent", WS_POPUP | WS_VISIBLE, 10,
                                 10, 50, 50, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        SetDllDirectoryA(nullptr);
    }
    HWND parent = nullptr;
};

TEST_F(ChangeSwitch, HandsTheChangeToMprWithTheChosenParentAndEndsWith0)
{
    const std::string given = "/a " + std::to_string(reinterpret_cast<uintptr_t>(parent));
    const struct {
        std::string tail;
        bool toGiven; // else to the foreground window
    } cases[] = {
        {given, true}, {"-A " + given.substr(3), true}, {"/a 0", false},
        {"/a", false}, {"/a 4294967295", false}, // names no window
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tail);
        ResetDoubles();
        HWND expected = c.toGiven ? parent : GetForegroundWindow();
        EXPECT_EQ(SaverMain(GetModuleHandleA(nullptr), c.tail.c_str()), 0);
        EXPECT_EQ(LegacyPlatform, 1);
        ASSERT_EQ(Doubles()->changeCalls, 1) << "the MPR.DLL stand-in was not reached";
        EXPECT_STREQ(Doubles()->changeProvider, "SCRSAVE");
        EXPECT_EQ(Doubles()->changeParent, reinterpret_cast<uintptr_t>(expected));
        EXPECT_EQ(Doubles()->changeReserved1, 0u);
        EXPECT_EQ(Doubles()->changeReserved2, 0u);
    }
}

// Sends a key to the saver window once it exists, from beside the saver's
// own thread, which is busy in SaverMain.
DWORD WINAPI PressAKeyOnTheSaver(void*)
{
    for (int tries = 0; tries < 500; ++tries) {
        HWND saver = FindWindowA("WindowsScreenSaverClass", "Screen Saver");
        if (saver) {
            Sleep(50); // a few frames first
            PostMessageA(saver, WM_KEYDOWN, 'K', 0);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}

class ProtectedRun : public ::testing::Test {
  protected:
    void SetUp() override
    {
        BeginProtectedRun();
    }
    void TearDown() override
    {
        EndProtectedRun();
    }

    int32_t RunFullScreen()
    {
        HANDLE presser = CreateThread(nullptr, 0, PressAKeyOnTheSaver, nullptr, 0, nullptr);
        int32_t result = SaverMain(GetModuleHandleA(nullptr), "/s");
        WaitForSingleObject(presser, 10000);
        DWORD pressed = 1;
        GetExitCodeThread(presser, &pressed);
        CloseHandle(presser);
        EXPECT_EQ(pressed, 0u) << "the saver window never appeared";
        return result;
    }
};

TEST_F(ProtectedRun, AnAcceptedPasswordEndsTheRunAndTheFlagGoesOffWithTheModule)
{
    Doubles()->answer = 1;
    EXPECT_EQ(RunFullScreen(), 0);
    EXPECT_EQ(LegacyPlatform, 1);
    EXPECT_EQ(Doubles()->calls, 1);
    EXPECT_EQ(Doubles()->lastWindow, reinterpret_cast<uintptr_t>(SaverWindow));
    EXPECT_EQ(Doubles()->flagAtAttach, 0);
    EXPECT_EQ(Doubles()->flagWhileAsking, 1) << "the system was not told of the protected saver";
    EXPECT_EQ(Doubles()->detaches, 1);
    EXPECT_EQ(ReadSaverRunningFlag(), 0);
    EXPECT_EQ(CloseApproved, 1);
    EXPECT_FALSE(IsWindow(SaverWindow));
    EXPECT_NE(CancelAutoPlayMessage, 0u);
    EXPECT_EQ(CancelAutoPlayMessage, RegisterWindowMessageA("QueryCancelAutoPlay"));
}

TEST_F(ProtectedRun, AFaultInTheModeSwitchesTheFlagOffAndEndsWithMinus1)
{
    Doubles()->faultWhileAsking = 1;
    EXPECT_EQ(RunFullScreen(), -1);
    EXPECT_EQ(Doubles()->calls, 1);
    EXPECT_EQ(Doubles()->flagWhileAsking, 1);
    EXPECT_EQ(ReadSaverRunningFlag(), 0) << "a dead saver left the system believing it runs";
}

} // namespace
