// The saver window's message tables, message by message, in the four states
// a window can be in: full screen, preview, closing approved (full screen)
// and a password verification under way (full screen). For each message the
// log shows whether it got to DefWindowProcA, the queue whether a close
// request was posted, and the cursor whether it was hidden.
#include <gtest/gtest.h>

#include <windows.h>
#include <imm.h>

#include <cstring>
#include <vector>

#include "animation/figures.h"
#include "animation/saver_proc_win.h"
#include "host/host_state_win.h"
#include "host/host_window_win.h"
#include "host/saver_window_win.h"
#include "host_fixture_win.h"
#include "settings/saver_settings.h"

namespace {

enum class WindowState { FullScreen, Preview, Approved, Verifying };

const char* StateName(WindowState state)
{
    switch (state) {
    case WindowState::FullScreen: return "full screen";
    case WindowState::Preview: return "preview";
    case WindowState::Approved: return "closing approved";
    case WindowState::Verifying: return "verifying a password";
    }
    return "?";
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HELP || message == WM_CONTEXTMENU) return 0; // its lParam is made up
    return DefWindowProcA(window, message, wParam, lParam);
}

// A saver window of the real class, made as RunSaverWindow makes it but not
// shown, so that no activation or real input reaches it unasked.
class SaverWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ResetHostState();
        DeleteSettingsFile();
        ASSERT_NE(RegisterSaverWindowClass(), 0);
        WNDCLASSA parentClass = {};
        parentClass.lpfnWndProc = ParentProc;
        parentClass.hInstance = ModuleInstance;
        parentClass.lpszClassName = "KorumixTestParent";
        RegisterClassA(&parentClass);
    }

    void TearDown() override
    {
        StopLog();
        if (window_ && IsWindow(window_)) DestroyWindow(window_);
        if (parent_) DestroyWindow(parent_);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        UnregisterClassA("WindowsScreenSaverClass", ModuleInstance);
        UnregisterClassA("KorumixTestParent", ModuleInstance);
        ResetHostState();
    }

    void Create(WindowState state)
    {
        if (state == WindowState::Preview) {
            parent_ = CreateWindowExA(0, "KorumixTestParent", "Display settings", WS_POPUP, 0, 0,
                                      200, 150, nullptr, nullptr, ModuleInstance, nullptr);
            ASSERT_NE(parent_, nullptr);
            PreviewMode = 1;
            window_ =
                CreateWindowExA(0, "WindowsScreenSaverClass", "Preview", WS_CHILD | WS_CLIPCHILDREN,
                                0, 0, 200, 150, parent_, nullptr, ModuleInstance, nullptr);
        } else {
            window_ = CreateWindowExA(0, "WindowsScreenSaverClass", "Screen Saver",
                                      WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 320, 240,
                                      nullptr, nullptr, ModuleInstance, nullptr);
        }
        ASSERT_NE(window_, nullptr);
        // Whatever the creation brought along is not the test's business.
        MSG message;
        while (PeekMessageA(&message, window_, 0, 0, PM_REMOVE)) {
        }
        if (state == WindowState::Approved) CloseApproved = 1;
        if (state == WindowState::Verifying) VerifyingPassword = 1;
    }

    HWND window_ = nullptr;
    HWND parent_ = nullptr;
};

// What one message does in one state.
struct Outcome {
    bool ReachesDefault;
    bool PostsClose;
    LRESULT Result;
    bool HidesCursor;
};

constexpr LRESULT AnyResult = -0x5EED;

constexpr Outcome Passes = {true, false, DefaultAnswer, false};
constexpr Outcome Closes = {true, true, DefaultAnswer, false};
constexpr Outcome Swallowed0 = {false, false, 0, false};

struct MessageCase {
    const char* Name;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
    Outcome FullScreen, Preview, Approved, Verifying;
};

const char NewTitle[] = "changed";

const MessageCase kMessageCases[] = {
    // Keys and clicks close a full-screen saver; releases, characters,
    // double clicks, the wheel and further buttons do not.
    {"key down", WM_KEYDOWN, 'A', 0x001E0001, Closes, Passes, Passes, Passes},
    {"system key down", WM_SYSKEYDOWN, VK_MENU, 0x20380001, Closes, Passes, Passes, Passes},
    {"key up", WM_KEYUP, 'A', static_cast<LPARAM>(0xC01E0001u), Passes, Passes, Passes, Passes},
    {"character", WM_CHAR, 'a', 0x001E0001, Passes, Passes, Passes, Passes},
    {"left button down", WM_LBUTTONDOWN, MK_LBUTTON, 0, Closes, Passes, Passes, Passes},
    {"right button down", WM_RBUTTONDOWN, MK_RBUTTON, 0, Closes, Passes, Passes, Passes},
    {"middle button down", WM_MBUTTONDOWN, MK_MBUTTON, 0, Closes, Passes, Passes, Passes},
    {"left button up", WM_LBUTTONUP, 0, 0, Passes, Passes, Passes, Passes},
    {"double click", WM_LBUTTONDBLCLK, MK_LBUTTON, 0, Passes, Passes, Passes, Passes},
    {"x button down", WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON1), 0, Passes, Passes, Passes, Passes},
    {"wheel", WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0, Passes, Passes, Passes, Passes},
    {"mouse move, cursor still", WM_MOUSEMOVE, 0, MAKELPARAM(900, 700), Passes, Passes, Passes,
     Passes},
    // Activation and power.
    {"deactivated", WM_ACTIVATEAPP, 0, 0, Closes, Passes, Passes, Passes},
    {"activated", WM_ACTIVATEAPP, 1, 0, Passes, Passes, Passes, Passes},
    {"power: suspend request", WM_POWER, PWR_SUSPENDREQUEST, 0, Passes, Passes, Passes, Passes},
    {"power: suspend resume", WM_POWER, PWR_SUSPENDRESUME, 0, Passes, Passes, Passes, Passes},
    {"power: critical resume", WM_POWER, PWR_CRITICALRESUME, 0, Closes, Passes, Passes, Passes},
    {"power broadcast: suspend", WM_POWERBROADCAST, PBT_APMSUSPEND, 0, Closes, Passes, Passes,
     Passes},
    // The cursor.
    {"shown", WM_SHOWWINDOW, 1, 0, {true, false, DefaultAnswer, true}, Passes, Passes, Passes},
    {"hidden", WM_SHOWWINDOW, 0, 0, Passes, Passes, Passes, Passes},
    {"set cursor",
     WM_SETCURSOR,
     0,
     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE),
     {false, false, 1, true},
     Passes,
     Passes,
     Passes},
    // The platform makes its own answer to a sent WM_PAINT.
    {"paint",
     WM_PAINT,
     0,
     0,
     {true, false, AnyResult, true},
     {true, false, AnyResult, false},
     {true, false, AnyResult, false},
     {true, false, AnyResult, true}},
    // The title stays.
    {"set text", WM_SETTEXT, 0, reinterpret_cast<LPARAM>(NewTitle), Swallowed0, Swallowed0,
     Swallowed0, Swallowed0},
    // System commands are compared whole; a preview leaves them all alone.
    {"screen save command", WM_SYSCOMMAND, SC_SCREENSAVE, 0, Swallowed0, Passes, Swallowed0,
     Swallowed0},
    {"next window command", WM_SYSCOMMAND, SC_NEXTWINDOW, 0, Swallowed0, Passes, Swallowed0,
     Swallowed0},
    {"previous window command", WM_SYSCOMMAND, SC_PREVWINDOW, 0, Swallowed0, Passes, Swallowed0,
     Swallowed0},
    {"screen save command, low bit set", WM_SYSCOMMAND, SC_SCREENSAVE | 1, 0, Passes, Passes,
     Passes, Passes},
    {"next window command, low bits set", WM_SYSCOMMAND, SC_NEXTWINDOW | 2, 0, Passes, Passes,
     Passes, Passes},
    {"monitor power command", WM_SYSCOMMAND, SC_MONITORPOWER, 2, Closes, Passes, Closes, Closes},
    {"monitor power command, low bit set", WM_SYSCOMMAND, SC_MONITORPOWER | 1, 2, Passes, Passes,
     Passes, Passes},
    {"close command", WM_SYSCOMMAND, SC_CLOSE, 0, Passes, Passes, Passes, Passes},
    // Help goes to a preview's parent (the result is 1 whether or not).
    {"help", WM_HELP, 0, 0x1234, Passes, {false, false, 1, false}, Passes, Passes},
    {"context menu", WM_CONTEXTMENU, 0, 0x1234, Passes, {false, false, 1, false}, Passes, Passes},
    // Frames stop once closing is approved, and only then.
    {"timer", WM_TIMER, 101, 0, Passes, Passes, Swallowed0, Passes},
    // Off the legacy platform the password request is an ordinary message,
    // and with no AutoPlay message registered so is message 0.
    {"password request", WM_APP, 0, 0, Passes, Passes, Passes, Passes},
    {"message 0", WM_NULL, 0, 0, Passes, Passes, Passes, Passes},
};

struct MessageParam {
    const MessageCase* Case;
    WindowState State;
};

std::vector<MessageParam> AllMessageParams()
{
    std::vector<MessageParam> params;
    for (const MessageCase& c : kMessageCases)
        for (WindowState state : {WindowState::FullScreen, WindowState::Preview,
                                  WindowState::Approved, WindowState::Verifying})
            params.push_back({&c, state});
    return params;
}

const Outcome& Expected(const MessageParam& param)
{
    switch (param.State) {
    case WindowState::FullScreen: return param.Case->FullScreen;
    case WindowState::Preview: return param.Case->Preview;
    case WindowState::Approved: return param.Case->Approved;
    case WindowState::Verifying: return param.Case->Verifying;
    }
    return param.Case->FullScreen;
}

class SaverMessages : public SaverWindowFixture,
                      public ::testing::WithParamInterface<MessageParam> {};

TEST_P(SaverMessages, SettlesAsItsTableSays)
{
    const MessageCase& c = *GetParam().Case;
    const Outcome& want = Expected(GetParam());
    Create(GetParam().State);
    SCOPED_TRACE(std::string(c.Name) + ", " + StateName(GetParam().State));

    POINT cursor;
    ASSERT_TRUE(GetCursorPos(&cursor));
    LastCursorPos = cursor;
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);

    StartLog(window_);
    const LRESULT result = SendMessageA(window_, c.Message, c.WParam, c.LParam);
    std::vector<LoggedMessage> log = Log();
    StopLog();

    std::vector<LoggedMessage> wantLog = {{Stage::Received, c.Message, c.WParam}};
    if (want.ReachesDefault) wantLog.push_back({Stage::ReachedDefault, c.Message, c.WParam});
    bool same = log.size() == wantLog.size();
    for (size_t i = 0; same && i < log.size(); ++i)
        same = log[i].At == wantLog[i].At && log[i].Message == wantLog[i].Message &&
               log[i].WParam == wantLog[i].WParam;
    EXPECT_TRUE(same) << "expected:\n" << DescribeLog(wantLog) << "got:\n" << DescribeLog(log);

    if (want.Result != AnyResult) {
        EXPECT_EQ(result, want.Result);
    }
    EXPECT_EQ(TakePostedClose(window_), want.PostsClose);
    EXPECT_EQ(GetCursor() == nullptr, want.HidesCursor);
}

std::string ParamName(const ::testing::TestParamInfo<MessageParam>& info)
{
    return Identifier(std::string(info.param.Case->Name) + "_" + StateName(info.param.State));
}

INSTANTIATE_TEST_SUITE_P(Table, SaverMessages, ::testing::ValuesIn(AllMessageParams()), ParamName);

// Every power event closes a full-screen saver except a resume after a
// failed suspend (odd lParam) and a status change that leaves the AC line
// as it was; unknown events close too. Nothing closes a preview.
struct PowerCase {
    WPARAM Event;
    bool ClosesOnEvenLParam;
    bool ClosesOnOddLParam;
};

const PowerCase kPowerCases[] = {
    {PBT_APMQUERYSUSPEND, true, true},
    {PBT_APMQUERYSTANDBY, true, true},
    {PBT_APMQUERYSUSPENDFAILED, true, true},
    {PBT_APMQUERYSTANDBYFAILED, true, true},
    {PBT_APMSUSPEND, true, true},
    {PBT_APMSTANDBY, true, true},
    {PBT_APMRESUMECRITICAL, true, false},
    {PBT_APMRESUMESUSPEND, true, false},
    {PBT_APMRESUMESTANDBY, true, false},
    {PBT_APMBATTERYLOW, true, true},
    {PBT_APMOEMEVENT, true, true},
    {12, true, true},
    {17, true, true},
    {PBT_APMRESUMEAUTOMATIC, true, false},
    {19, true, true},
    {0xFFFF, true, true},
    {static_cast<WPARAM>(0x80000000u), true, true}, // compared unsigned
};

class PowerBroadcasts : public SaverWindowFixture,
                        public ::testing::WithParamInterface<PowerCase> {};

TEST_P(PowerBroadcasts, CloseFullScreenByEventAndResumeFlag)
{
    const PowerCase& c = GetParam();
    Create(WindowState::FullScreen);
    for (LPARAM lParam : {0, 1, 2, 3}) {
        SCOPED_TRACE("lParam " + std::to_string(lParam));
        StartLog(window_);
        EXPECT_EQ(SendMessageA(window_, WM_POWERBROADCAST, c.Event, lParam), DefaultAnswer);
        EXPECT_EQ(Log().size(), 2u) << DescribeLog(Log());
        StopLog();
        const bool odd = (lParam & 1) != 0;
        EXPECT_EQ(TakePostedClose(window_), odd ? c.ClosesOnOddLParam : c.ClosesOnEvenLParam);
        DropPostedCloses(window_);
    }
}

TEST_P(PowerBroadcasts, NeverClosePreview)
{
    Create(WindowState::Preview);
    for (LPARAM lParam : {0, 1}) {
        SendMessageA(window_, WM_POWERBROADCAST, GetParam().Event, lParam);
        EXPECT_FALSE(TakePostedClose(window_));
    }
}

INSTANTIATE_TEST_SUITE_P(Events, PowerBroadcasts, ::testing::ValuesIn(kPowerCases));

// The AC-line rule, with the power status read from a script of answers.
constexpr int ReadFails = -1;
const int* ScriptedStatus = nullptr;
int ScriptedReads = 0;

BOOL WINAPI ScriptedPowerStatus(SYSTEM_POWER_STATUS* status)
{
    const int answer = ScriptedStatus[ScriptedReads++];
    if (answer == ReadFails) return FALSE;
    *status = {};
    status->ACLineStatus = static_cast<BYTE>(answer);
    return TRUE;
}

struct AcLineCase {
    const char* Name;
    bool Preview;
    BYTE Initial;
    int Reads[3];
    int ReadCount;
    bool Closes[3];
    BYTE Final;
};

const AcLineCase kAcLineCases[] = {
    {"unchanged", false, 1, {1}, 1, {false}, 1},
    {"unplugged", false, 1, {0}, 1, {true}, 0},
    {"unplugged, then no change", false, 1, {0, 0}, 2, {true, false}, 0},
    {"plugged in, then unplugged", false, 0, {1, 0}, 2, {true, true}, 0},
    {"read fails after a status", false, 1, {ReadFails}, 1, {true}, 255},
    {"two failing reads", false, 1, {ReadFails, ReadFails}, 2, {true, false}, 255},
    {"failing read from no status", false, 255, {ReadFails}, 1, {false}, 255},
    {"unknown status reported", false, 255, {255, 1}, 2, {false, true}, 1},
    {"preview reads nothing", true, 255, {0}, 0, {false}, 255},
};

class AcLineRule : public SaverWindowFixture, public ::testing::WithParamInterface<AcLineCase> {};

TEST_P(AcLineRule, ClosesOnlyWhenTheLineChanges)
{
    const AcLineCase& c = GetParam();
    Create(c.Preview ? WindowState::Preview : WindowState::FullScreen);
    ScriptedStatus = c.Reads;
    ScriptedReads = 0;
    ReadPowerStatus = ScriptedPowerStatus;
    LastAcLineStatus = c.Initial;
    for (int i = 0; i < (c.ReadCount > 0 ? c.ReadCount : 1); ++i) {
        SendMessageA(window_, WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, 0);
        EXPECT_EQ(TakePostedClose(window_), c.Closes[i]) << "after status change " << i;
    }
    EXPECT_EQ(ScriptedReads, c.ReadCount);
    EXPECT_EQ(LastAcLineStatus, c.Final);
}

INSTANTIATE_TEST_SUITE_P(Cases, AcLineRule, ::testing::ValuesIn(kAcLineCases), NameOfCase());

// The mouse rule reads the real cursor; lParam's coordinates are made up on
// purpose. Moves are relative to the cursor's previous position; the
// reference point is where the cursor was when the window was made.
struct MouseCase {
    const char* Name;
    POINT Moves[3];
    int MoveCount;
    bool Closes[3];
};

const MouseCase kMouseCases[] = {
    {"3 and 1: distance 4 stays", {{3, 1}}, 1, {false}},
    {"3 and 2: distance 5 closes", {{3, 2}}, 1, {true}},
    {"backwards counts the same", {{-3, -2}}, 1, {true}},
    {"4 straight stays", {{4, 0}}, 1, {false}},
    {"5 straight closes", {{0, 5}}, 1, {true}},
    {"two moves of 3 close on the second", {{3, 0}, {3, 0}}, 2, {false, true}},
    {"creeping adds up", {{1, 1}, {1, 1}, {1, 0}}, 3, {false, false, true}},
    {"there and back does not add up", {{3, 0}, {-3, 0}, {3, 0}}, 3, {false, false, false}},
    {"the reference moves with a close", {{5, 0}, {2, 0}, {3, 0}}, 3, {true, false, true}},
};

class MouseRule : public SaverWindowFixture, public ::testing::WithParamInterface<MouseCase> {};

TEST_P(MouseRule, ClosesBeyondFourPixelsFromTheReference)
{
    const MouseCase& c = GetParam();
    POINT at = {400, 300};
    ASSERT_TRUE(SetCursorPos(at.x, at.y));
    Create(WindowState::FullScreen);
    ASSERT_EQ(LastCursorPos.x, at.x);
    ASSERT_EQ(LastCursorPos.y, at.y);
    for (int i = 0; i < c.MoveCount; ++i) {
        at.x += c.Moves[i].x;
        at.y += c.Moves[i].y;
        ASSERT_TRUE(SetCursorPos(at.x, at.y));
        SendMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(TakePostedClose(window_), c.Closes[i]) << "after move " << i;
        DropPostedCloses(window_);
    }
}

TEST_P(MouseRule, NeverClosesPreview)
{
    const MouseCase& c = GetParam();
    POINT at = {400, 300};
    ASSERT_TRUE(SetCursorPos(at.x, at.y));
    Create(WindowState::Preview);
    for (int i = 0; i < c.MoveCount; ++i) {
        at.x += c.Moves[i].x * 10;
        at.y += c.Moves[i].y * 10;
        ASSERT_TRUE(SetCursorPos(at.x, at.y));
        SendMessageA(window_, WM_MOUSEMOVE, 0, 0);
        EXPECT_FALSE(TakePostedClose(window_));
    }
}

INSTANTIATE_TEST_SUITE_P(Moves, MouseRule, ::testing::ValuesIn(kMouseCases), NameOfCase());

// Creation, frames and the end of the window.
using SaverWindowLife = SaverWindowFixture;

TEST_F(SaverWindowLife, CreationSetsTheAnimationUp)
{
    Create(WindowState::FullScreen);
    EXPECT_EQ(Settings.Number, 3); // no settings file: the built-in figures
    RECT client;
    GetClientRect(window_, &client);
    EXPECT_EQ(SurfaceWidth, client.right);
    EXPECT_EQ(SurfaceHeight, client.bottom);
    EXPECT_EQ(DrawingSurface, GetDC(window_)); // the window's own device context
    EXPECT_EQ(FrameTimerId, 101u);
    EXPECT_EQ(GetCursor(), nullptr); // hidden over a full-screen saver
}

TEST_F(SaverWindowLife, InputMethodIsDetachedFromTheSaverOnly)
{
    HWND plain = CreateWindowExA(0, "KorumixTestParent", "plain", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, ModuleInstance, nullptr);
    ASSERT_NE(plain, nullptr);
    HIMC plainContext = ImmGetContext(plain);
    EXPECT_NE(plainContext, nullptr) << "the platform gives windows no input context";
    ImmReleaseContext(plain, plainContext);
    DestroyWindow(plain);

    Create(WindowState::FullScreen);
    HIMC saverContext = ImmGetContext(window_);
    EXPECT_EQ(saverContext, nullptr);
    ImmReleaseContext(window_, saverContext);
}

TEST_F(SaverWindowLife, HandEditedSpeedStillStartsTheTimer)
{
    for (const char* speed : {"-5", "0", "1", "2147483647", "4294967295", "99999999999"}) {
        SCOPED_TRACE(std::string("Speed=") + speed);
        WriteSettingsFile(std::string("[Screen Saver.Korumix]\r\nSpeed=") + speed + "\r\n");
        Create(WindowState::FullScreen);
        EXPECT_EQ(FrameTimerId, 101u);
        DestroyWindow(window_);
        window_ = nullptr;
    }
    DeleteSettingsFile();
}

TEST_F(SaverWindowLife, PreviewLeavesTheCursorAlone)
{
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    Create(WindowState::Preview);
    EXPECT_EQ(GetCursor(), arrow);
}

TEST_F(SaverWindowLife, TimerDrawsAFrameWhateverItsIdentifier)
{
    Create(WindowState::FullScreen);
    for (WPARAM timer : {WPARAM{101}, WPARAM{7}}) {
        static FigureState before[MaxFigures];
        std::memcpy(before, Figures, sizeof Figures);
        SendMessageA(window_, WM_TIMER, timer, 0);
        EXPECT_NE(std::memcmp(before, Figures, sizeof Figures), 0) << "timer " << timer;
    }
}

TEST_F(SaverWindowLife, NoFrameOnceClosingIsApproved)
{
    Create(WindowState::FullScreen);
    CloseApproved = 1;
    static FigureState before[MaxFigures];
    std::memcpy(before, Figures, sizeof Figures);
    EXPECT_EQ(SendMessageA(window_, WM_TIMER, 101, 0), 0);
    EXPECT_EQ(std::memcmp(before, Figures, sizeof Figures), 0);
}

TEST_F(SaverWindowLife, TitleStaysInBothModes)
{
    for (WindowState state : {WindowState::FullScreen, WindowState::Preview}) {
        Create(state);
        char before[64] = {};
        GetWindowTextA(window_, before, sizeof before);
        EXPECT_EQ(SendMessageA(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("changed")), 0);
        char after[64] = {};
        GetWindowTextA(window_, after, sizeof after);
        EXPECT_STREQ(after, before);
        EXPECT_STRNE(after, "changed");
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

TEST_F(SaverWindowLife, HelpInPreviewGoesToTheParentNamingIt)
{
    Create(WindowState::Preview);
    // WM_HELP carries a pointer, and a platform may refuse to post such a
    // message at all (Wine does); then the forward cannot arrive either.
    const bool helpPostable = PostMessageA(parent_, WM_HELP, 0, 0) != 0;
    MSG drained;
    while (PeekMessageA(&drained, parent_, WM_HELP, WM_HELP, PM_REMOVE)) {
    }
    for (UINT message : {UINT{WM_HELP}, UINT{WM_CONTEXTMENU}}) {
        SCOPED_TRACE(message == WM_HELP ? "WM_HELP" : "WM_CONTEXTMENU");
        EXPECT_EQ(SendMessageA(window_, message, 0, 0x1234), 1);
        MSG posted;
        const bool arrived = PeekMessageA(&posted, parent_, message, message, PM_REMOVE) != 0;
        if (message == WM_HELP && !helpPostable) {
            EXPECT_FALSE(arrived);
            continue;
        }
        ASSERT_TRUE(arrived);
        EXPECT_EQ(posted.wParam, reinterpret_cast<WPARAM>(parent_));
        EXPECT_EQ(posted.lParam, 0x1234);
    }
}

TEST_F(SaverWindowLife, HelpInPreviewWithoutAParentIsDropped)
{
    // A preview window whose parent is gone: GetParent has nothing to give.
    PreviewMode = 1;
    window_ = CreateWindowExA(0, "WindowsScreenSaverClass", "Preview", WS_POPUP, 0, 0, 50, 40,
                              nullptr, nullptr, ModuleInstance, nullptr);
    ASSERT_NE(window_, nullptr);
    ASSERT_EQ(GetParent(window_), nullptr);
    MSG drained;
    while (PeekMessageA(&drained, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_EQ(SendMessageA(window_, WM_HELP, 0, 0x1234), 1);
    MSG posted;
    EXPECT_FALSE(PeekMessageA(&posted, nullptr, WM_HELP, WM_HELP, PM_REMOVE));
}

TEST_F(SaverWindowLife, CloseDestroysAtOnceOffTheLegacyPlatform)
{
    Create(WindowState::FullScreen);
    ASSERT_NE(DrawingSurface, nullptr);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(CloseApproved, 0);
    EXPECT_EQ(FrameTimerId, 0u);
    EXPECT_EQ(DrawingSurface, nullptr);
    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(SaverWindowLife, EraseFillsBlackOnlyWhenEraseIsOne)
{
    Create(WindowState::FullScreen);
    RECT client;
    GetClientRect(window_, &client);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const size_t pixels = static_cast<size_t>(client.right) * client.bottom;
    auto* pixel = static_cast<uint32_t*>(bits);

    for (int32_t erase : {1, 0, 2, -1}) {
        SCOPED_TRACE("Erase " + std::to_string(erase));
        for (size_t i = 0; i < pixels; ++i)
            pixel[i] = 0x00FFFFFF;
        Settings.Erase = erase;
        StartLog(window_);
        EXPECT_EQ(SendMessageA(window_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0), 0);
        EXPECT_EQ(Log().size(), 1u) << DescribeLog(Log()); // SaverProc settles it
        StopLog();
        GdiFlush();
        size_t black = 0;
        for (size_t i = 0; i < pixels; ++i)
            black += (pixel[i] & 0x00FFFFFF) == 0;
        EXPECT_EQ(black, erase == 1 ? pixels : 0u);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

// On the legacy platform (imitated in process) the close goes through the
// password gate, and the password request is answered here.
int VerifierAnswer = 0;
int VerifierCalls = 0;
BOOL WINAPI FakeVerifier(HWND)
{
    ++VerifierCalls;
    return VerifierAnswer;
}

using LegacyGate = SaverWindowFixture;

TEST_F(LegacyGate, PasswordRequestIsAnsweredByTheVerifierOrOne)
{
    LegacyPlatform = 1;
    Create(WindowState::FullScreen);
    EXPECT_EQ(SendMessageA(window_, WM_APP, 0, 0), 1); // no verifier loaded
    PasswordVerifier = FakeVerifier;
    VerifierAnswer = 7;
    VerifierCalls = 0;
    EXPECT_EQ(SendMessageA(window_, WM_APP, 0, 0), 7);
    EXPECT_EQ(VerifierCalls, 1);
    PasswordVerifier = nullptr;
}

TEST_F(LegacyGate, PasswordRequestInPreviewIsAnOrdinaryMessage)
{
    LegacyPlatform = 1;
    Create(WindowState::Preview);
    StartLog(window_);
    EXPECT_EQ(SendMessageA(window_, WM_APP, 0, 0), DefaultAnswer);
    StopLog();
}

TEST_F(LegacyGate, CloseWithoutAPasswordIsApprovedAtOnce)
{
    LegacyPlatform = 1;
    Create(WindowState::FullScreen);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(CloseApproved, 1);
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(LegacyGate, RefusedCloseKeepsTheWindowAndMovesTheReference)
{
    LegacyPlatform = 1;
    ASSERT_TRUE(SetCursorPos(100, 100));
    Create(WindowState::FullScreen);
    PasswordVerifier = FakeVerifier;
    VerifierAnswer = 0;
    VerifierCalls = 0;
    ASSERT_TRUE(SetCursorPos(250, 180));
    EXPECT_EQ(SendMessageA(window_, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(VerifierCalls, 1);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(CloseApproved, 0);
    EXPECT_EQ(LastCursorPos.x, 250);
    EXPECT_EQ(LastCursorPos.y, 180);
    // From the new reference a small move still does not ask again.
    ASSERT_TRUE(SetCursorPos(252, 180));
    SendMessageA(window_, WM_MOUSEMOVE, 0, 0);
    EXPECT_FALSE(TakePostedClose(window_));
    PasswordVerifier = nullptr;
}

// The AutoPlay question ends the saver in every state; it is cancelled (1)
// only while a password verifier is loaded.
struct AutoPlayCase {
    WindowState State;
    bool Verifier;
    LRESULT Result;
};

const AutoPlayCase kAutoPlayCases[] = {
    {WindowState::FullScreen, false, 0}, {WindowState::FullScreen, true, 1},
    {WindowState::Preview, false, 0},    {WindowState::Preview, true, 1},
    {WindowState::Approved, false, 0},   {WindowState::Approved, true, 1},
    {WindowState::Verifying, false, 0},  {WindowState::Verifying, true, 1},
};

class AutoPlay : public SaverWindowFixture, public ::testing::WithParamInterface<AutoPlayCase> {};

TEST_P(AutoPlay, PostsACloseAndAnswersByTheVerifier)
{
    const AutoPlayCase& c = GetParam();
    SCOPED_TRACE(StateName(c.State));
    Create(c.State);
    CancelAutoPlayMessage = RegisterWindowMessageA("QueryCancelAutoPlay");
    ASSERT_NE(CancelAutoPlayMessage, 0u);
    PasswordVerifier = c.Verifier ? FakeVerifier : nullptr;
    StartLog(window_);
    EXPECT_EQ(SendMessageA(window_, CancelAutoPlayMessage, 0, 0), c.Result);
    EXPECT_EQ(Log().size(), 1u) << DescribeLog(Log()); // never DefWindowProcA's
    StopLog();
    EXPECT_TRUE(TakePostedClose(window_));
    PasswordVerifier = nullptr;
}

INSTANTIATE_TEST_SUITE_P(States, AutoPlay, ::testing::ValuesIn(kAutoPlayCases));

// The timer period: Speed x 10 ms, inside what SetTimer takes.
struct PeriodCase {
    int32_t Speed;
    UINT Period;
};

const PeriodCase kPeriodCases[] = {
    {10, 100},
    {4, 40},
    {20, 200},
    {1, USER_TIMER_MINIMUM},
    {0, USER_TIMER_MINIMUM},
    {-3, USER_TIMER_MINIMUM},
    {INT32_MIN, USER_TIMER_MINIMUM},
    {214748364, 2147483640u},
    {214748365, USER_TIMER_MAXIMUM}, // 2147483650 would pass the longest period
    {INT32_MAX, USER_TIMER_MAXIMUM},
};

TEST(FramePeriod, IsTenTimesSpeedWithinTheTimersRange)
{
    for (const PeriodCase& c : kPeriodCases)
        EXPECT_EQ(FramePeriod(c.Speed), c.Period) << "Speed " << c.Speed;
}

} // namespace
