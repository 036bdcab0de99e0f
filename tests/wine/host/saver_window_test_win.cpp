// RunSaverWindow as a whole: the window it makes in each mode, its message
// loop and its result. A thread timer set before the call runs a probe from
// inside the loop; the probe looks at the window and then ends the run the
// way the user would.
#include <gtest/gtest.h>

#include <windows.h>

#include "host/host_state_win.h"
#include "host/host_window_win.h"
#include "host/saver_window_win.h"
#include "host_fixture_win.h"

namespace {

struct Seen {
    HWND Window = nullptr;
    LONG Style = 0, ExtendedStyle = 0;
    RECT Rect = {};
    char Title[32] = {};
    DWORD ClassStyle = 0;
    HGDIOBJ Brush = nullptr;
    HICON Icon = nullptr;
    HCURSOR Cursor = nullptr;
    HWND Parent = nullptr;
    bool Stored = false; // SaverWindow holds the window while the loop runs
    int32_t Preview = -1;
    BYTE AcLine = 0;
    UINT AutoPlay = 1;
    bool Visible = false;
};

Seen LastSeen;
HWND ProbeParent = nullptr; // null: the full-screen window is looked for
const char* ProbeTitle = "Screen Saver";
UINT ProbeEnding = WM_KEYDOWN; // what the probe posts to end the run
int ProbeRuns = 0;

void CALLBACK Probe(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    ++ProbeRuns;
    Seen seen;
    seen.Window = ProbeParent
                      ? FindWindowExA(ProbeParent, nullptr, "WindowsScreenSaverClass", ProbeTitle)
                      : FindWindowA("WindowsScreenSaverClass", ProbeTitle);
    if (seen.Window) {
        seen.Style = GetWindowLongA(seen.Window, GWL_STYLE);
        seen.ExtendedStyle = GetWindowLongA(seen.Window, GWL_EXSTYLE);
        GetWindowRect(seen.Window, &seen.Rect);
        if (ProbeParent)
            MapWindowPoints(nullptr, ProbeParent, reinterpret_cast<POINT*>(&seen.Rect), 2);
        GetWindowTextA(seen.Window, seen.Title, sizeof seen.Title);
        seen.ClassStyle = static_cast<DWORD>(GetClassLongPtrA(seen.Window, GCL_STYLE));
        seen.Brush = reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(seen.Window, GCLP_HBRBACKGROUND));
        seen.Icon = reinterpret_cast<HICON>(GetClassLongPtrA(seen.Window, GCLP_HICON));
        seen.Cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrA(seen.Window, GCLP_HCURSOR));
        seen.Parent = GetParent(seen.Window);
        seen.Visible = IsWindowVisible(seen.Window) != 0;
    }
    seen.Stored = SaverWindow == seen.Window && seen.Window != nullptr;
    seen.Preview = PreviewMode;
    seen.AcLine = LastAcLineStatus;
    seen.AutoPlay = CancelAutoPlayMessage;
    LastSeen = seen;
    if (!seen.Window) {
        PostQuitMessage(99); // no window to end: leave the loop anyway
        return;
    }
    if (ProbeEnding == WM_KEYDOWN) {
        PostMessageA(seen.Window, WM_KEYDOWN, 'A', 0);
    } else {
        PostMessageA(seen.Window, WM_CLOSE, 0, 0);
    }
}

int PowerReads = 0;
BOOL WINAPI OnLinePower(SYSTEM_POWER_STATUS* status)
{
    ++PowerReads;
    *status = {};
    status->ACLineStatus = 1;
    return TRUE;
}

// A safety net: a run that does not end by itself is ended after 10 s.
void CALLBACK Deadline(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    PostQuitMessage(77);
}

class RunSaverWindowTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ResetHostState();
        DeleteSettingsFile();
        ReadPowerStatus = OnLinePower;
        PowerReads = 0;
        ProbeRuns = 0;
        LastSeen = Seen();
        ProbeParent = nullptr;
        ProbeTitle = "Screen Saver";
        ProbeEnding = WM_KEYDOWN;
    }

    void TearDown() override
    {
        if (parent_) DestroyWindow(parent_);
        if (other_) DestroyWindow(other_);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        UnregisterClassA("WindowsScreenSaverClass", ModuleInstance);
        ResetHostState();
    }

    int Run(HWND parent)
    {
        SetTimer(nullptr, 0, 50, Probe);
        const UINT_PTR deadline = SetTimer(nullptr, 0, 10000, Deadline);
        const int result = RunSaverWindow(parent);
        KillTimer(nullptr, deadline);
        return result;
    }

    HWND MakeParent(int width, int height)
    {
        parent_ = CreateWindowExA(0, "STATIC", "Display settings", WS_POPUP | WS_VISIBLE, 10, 10,
                                  width, height, nullptr, nullptr, ModuleInstance, nullptr);
        return parent_;
    }

    HWND parent_ = nullptr;
    HWND other_ = nullptr;
};

TEST_F(RunSaverWindowTest, FullScreenCoversTheVirtualScreenUntilAKey)
{
    EXPECT_EQ(Run(nullptr), 0);
    ASSERT_EQ(ProbeRuns, 1);
    const Seen& seen = LastSeen;
    ASSERT_NE(seen.Window, nullptr);
    EXPECT_EQ(static_cast<DWORD>(seen.Style), 0x96000000u);
    EXPECT_NE(seen.ExtendedStyle & WS_EX_TOPMOST, 0);
    EXPECT_EQ(seen.Rect.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(seen.Rect.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
    EXPECT_EQ(seen.Rect.right - seen.Rect.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(seen.Rect.bottom - seen.Rect.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    EXPECT_STREQ(seen.Title, "Screen Saver");
    EXPECT_EQ(seen.ClassStyle, 0x2Bu);
    EXPECT_EQ(seen.Brush, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(seen.Icon, nullptr);
    EXPECT_EQ(seen.Cursor, nullptr);
    EXPECT_EQ(seen.Parent, nullptr);
    EXPECT_TRUE(seen.Visible);
    EXPECT_TRUE(seen.Stored);
    EXPECT_EQ(seen.Preview, 0);
    EXPECT_EQ(seen.AcLine, 1); // read before the window was made
    EXPECT_EQ(PowerReads, 1);
    EXPECT_EQ(seen.AutoPlay, 0u); // not the legacy platform
    EXPECT_FALSE(IsWindow(seen.Window));
}

TEST_F(RunSaverWindowTest, PreviewFillsTheParentAndIgnoresInput)
{
    HWND parent = MakeParent(160, 120);
    ASSERT_NE(parent, nullptr);
    ProbeParent = parent;
    ProbeTitle = "Preview";
    // The key the probe sends first must not end a preview; the probe's
    // second run closes it.
    struct Twice {
        static void CALLBACK Run(HWND, UINT, UINT_PTR timer, DWORD)
        {
            KillTimer(nullptr, timer);
            HWND window = FindWindowExA(ProbeParent, nullptr, "WindowsScreenSaverClass", "Preview");
            if (window) PostMessageA(window, WM_KEYDOWN, 'A', 0);
            ProbeEnding = WM_CLOSE;
            SetTimer(nullptr, 0, 100, Probe);
        }
    };
    SetTimer(nullptr, 0, 30, Twice::Run);
    const UINT_PTR deadline = SetTimer(nullptr, 0, 10000, Deadline);
    const int result = RunSaverWindow(parent);
    KillTimer(nullptr, deadline);

    EXPECT_EQ(result, 0);
    const Seen& seen = LastSeen;
    ASSERT_NE(seen.Window, nullptr) << "the key ended the preview";
    EXPECT_EQ(static_cast<DWORD>(seen.Style), 0x52000000u);
    EXPECT_EQ(seen.ExtendedStyle & WS_EX_TOPMOST, 0);
    EXPECT_EQ(seen.Rect.left, 0);
    EXPECT_EQ(seen.Rect.top, 0);
    RECT client;
    GetClientRect(parent, &client);
    EXPECT_EQ(seen.Rect.right, client.right);
    EXPECT_EQ(seen.Rect.bottom, client.bottom);
    EXPECT_STREQ(seen.Title, "Preview");
    EXPECT_EQ(seen.Parent, parent);
    EXPECT_EQ(seen.Preview, 1);
    EXPECT_EQ(seen.AcLine, 255); // a preview never reads the power status
    EXPECT_EQ(PowerReads, 0);
    EXPECT_EQ(seen.AutoPlay, 0u);
}

TEST_F(RunSaverWindowTest, LegacyPlatformRegistersTheAutoPlayMessageInBothModes)
{
    LegacyPlatform = 1; // no password in use in the test prefix
    const UINT autoPlay = RegisterWindowMessageA("QueryCancelAutoPlay");
    EXPECT_EQ(Run(nullptr), 0);
    ASSERT_NE(LastSeen.Window, nullptr);
    EXPECT_EQ(LastSeen.AutoPlay, autoPlay);
    EXPECT_EQ(CloseApproved, 1); // the key's close went through the gate

    UnregisterClassA("WindowsScreenSaverClass", ModuleInstance);
    CancelAutoPlayMessage = 0;
    HWND parent = MakeParent(80, 60);
    ProbeParent = parent;
    ProbeTitle = "Preview";
    ProbeEnding = WM_CLOSE;
    EXPECT_EQ(Run(parent), 0);
    ASSERT_NE(LastSeen.Window, nullptr);
    EXPECT_EQ(LastSeen.AutoPlay, autoPlay);
}

TEST_F(RunSaverWindowTest, PreviewOfAnEmptyParentStillRuns)
{
    HWND parent = MakeParent(0, 0);
    ASSERT_NE(parent, nullptr);
    ProbeParent = parent;
    ProbeTitle = "Preview";
    ProbeEnding = WM_CLOSE;
    EXPECT_EQ(Run(parent), 0);
    ASSERT_NE(LastSeen.Window, nullptr);
    EXPECT_EQ(LastSeen.Rect.right - LastSeen.Rect.left, 0);
    EXPECT_EQ(LastSeen.Rect.bottom - LastSeen.Rect.top, 0);
}

TEST_F(RunSaverWindowTest, SecondFullScreenStartLeavesAtOnce)
{
    ASSERT_NE(RegisterSaverWindowClass(), 0);
    other_ = CreateWindowExA(0, "WindowsScreenSaverClass", "Screen Saver", WS_POPUP, 0, 0, 10, 10,
                             nullptr, nullptr, ModuleInstance, nullptr);
    ASSERT_NE(other_, nullptr);
    const DWORD start = GetTickCount();
    EXPECT_EQ(RunSaverWindow(nullptr), 0);
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(ProbeRuns, 0); // no loop ran
    EXPECT_EQ(PowerReads, 0);
    EXPECT_EQ(LastAcLineStatus, 255);
    EXPECT_EQ(SaverWindow, nullptr);
    EXPECT_TRUE(IsWindow(other_));
}

TEST_F(RunSaverWindowTest, RunningPreviewDoesNotStopFullScreen)
{
    ASSERT_NE(RegisterSaverWindowClass(), 0);
    other_ = CreateWindowExA(0, "WindowsScreenSaverClass", "Preview", WS_POPUP, 0, 0, 10, 10,
                             nullptr, nullptr, ModuleInstance, nullptr);
    ASSERT_NE(other_, nullptr);
    // The class exists already, so this run cannot register it: it makes no
    // window and returns 0 without a loop. It did look past the preview:
    // the power status was read.
    EXPECT_EQ(RunSaverWindow(nullptr), 0);
    EXPECT_EQ(PowerReads, 1);
    EXPECT_EQ(SaverWindow, nullptr);
    EXPECT_EQ(ProbeRuns, 0);
}

} // namespace
