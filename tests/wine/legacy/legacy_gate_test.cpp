// The password gate on a real saver window: every WM_CLOSE travels
// HostWindowProc -> SaverProc -> DefaultSaverProc -> VerifyLegacyPassword,
// and the stand-in verifier answers the WM_APP request. The tests' clock
// stands in for the tick count, so the 200 ms spacing is exact.
#include <gtest/gtest.h>

#include "animation/figures.h"
#include "animation/saver_proc_win.h"
#include "host/host_state_win.h"
#include "host/legacy_password_win.h"
#include "legacy_fixture.h"

namespace {

class PasswordGate : public ::testing::Test {
  protected:
    void SetUp() override
    {
        BeginProtectedRun();
        LegacyPlatform = 1;
        PreviewMode = 0;
        CloseApproved = 0;
        VerifyingPassword = 0;
        LastVerifyTick = 0xFFFFFFFFu;
        CancelAutoPlayMessage = 0;
        ReadTickCount = TestTickCount;
        Doubles()->clock = 1000;
    }
    void TearDown() override
    {
        DropSaverWindow(window);
        UnloadPasswordVerifier();
        ReadTickCount = GetTickCount;
        CloseApproved = 0;
        VerifyingPassword = 0;
        LegacyPlatform = 0;
        EndProtectedRun();
    }

    // Loads the verifier as a full-screen run does, then makes the window.
    void StartSaver()
    {
        LoadPasswordVerifier();
        window = MakeSaverWindow();
        PumpUntilIdle(window, 200);
    }

    void RequestClose()
    {
        PostMessageA(window, WM_CLOSE, 0, 0);
        PumpUntilIdle(window, 2000);
    }

    HWND window = nullptr;
};

TEST_F(PasswordGate, WithoutAPasswordTheFirstCloseIsApprovedAtOnce)
{
    SetUsePassword(0);
    StartSaver();
    ASSERT_EQ(PasswordVerifier, nullptr);
    EXPECT_EQ(ReadSaverRunningFlag(), 0);

    RequestClose();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(CloseApproved, 1);
    EXPECT_EQ(Doubles()->attaches, 0);
    EXPECT_EQ(ReadSaverRunningFlag(), 0);
}

TEST_F(PasswordGate, TheFirstCloseAsksAndAnAcceptedPasswordClosesTheSaver)
{
    StartSaver();
    ASSERT_NE(PasswordVerifier, nullptr);
    EXPECT_EQ(ReadSaverRunningFlag(), 1);
    Doubles()->answer = 1;

    RequestClose();
    EXPECT_EQ(Doubles()->calls, 1);
    EXPECT_EQ(Doubles()->lastWindow, reinterpret_cast<uintptr_t>(window));
    EXPECT_EQ(Doubles()->flagWhileAsking, 1);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(CloseApproved, 1);
}

TEST_F(PasswordGate, AWrongPasswordKeepsTheSaverHidesTheCursorAndMovesTheReference)
{
    StartSaver();
    Doubles()->answer = 0;
    Doubles()->showCursor = 1; // as the verifier's dialog would
    Doubles()->clockAdvance = 30;
    POINT cursor;
    ASSERT_TRUE(GetCursorPos(&cursor));
    LastCursorPos = {cursor.x + 50, cursor.y - 50};

    RequestClose();
    EXPECT_EQ(Doubles()->calls, 1);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(CloseApproved, 0);
    EXPECT_EQ(VerifyingPassword, 0);
    EXPECT_EQ(GetCursor(), nullptr) << "the cursor stays visible after the refusal";
    EXPECT_EQ(LastCursorPos.x, cursor.x);
    EXPECT_EQ(LastCursorPos.y, cursor.y);
    EXPECT_EQ(LastVerifyTick, 1030u) << "taken before the verifier returned";

    // Close requests queued together (a move and a click) meet the spacing:
    // the verifier is not asked again for them.
    PostMessageA(window, WM_CLOSE, 0, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    PumpUntilIdle(window, 2000);
    EXPECT_EQ(Doubles()->calls, 1);
    EXPECT_TRUE(IsWindow(window));
}

struct SpacingCase {
    const char* what;
    DWORD startedAt; // the refused verification before
    DWORD took;
    DWORD askedAt; // the next close request
    bool asks;
};

const SpacingCase kSpacingCases[] = {
    {"150 ms after the end", 1000, 0, 1150, false},
    {"199 ms after the end", 1000, 0, 1199, false},
    {"200 ms after the end", 1000, 0, 1200, true},
    {"on the same tick", 1000, 0, 1000, false},
    {"long verification, 100 ms after its end", 5000, 10000, 15100, false},
    {"long verification, 200 ms after its end", 5000, 10000, 15200, true},
    {"ended 256 ms before the wrap, 16 ms after it", 0xFFFFFF00u - 40, 40, 16, true},
    {"ended 128 ms before the wrap, 16 ms after it", 0xFFFFFF80u - 40, 40, 16, false},
    {"ended on the wrap", 0xFFFFFF00u, 0x100, 199, false},
};

TEST_F(PasswordGate, AVerificationStartsOnly200MsAfterThePreviousOneEnded)
{
    StartSaver();
    for (const SpacingCase& c : kSpacingCases) {
        SCOPED_TRACE(c.what);
        ResetDoubles();
        LastVerifyTick = 0xFFFFFFFFu;
        Doubles()->clock = c.startedAt;
        Doubles()->clockAdvance = c.took;
        EXPECT_EQ(VerifyLegacyPassword(window), 0);
        ASSERT_EQ(Doubles()->calls, 1) << "the first request always asks";
        const DWORD ended = c.startedAt + c.took;
        EXPECT_EQ(LastVerifyTick, ended);

        Doubles()->clock = c.askedAt;
        Doubles()->clockAdvance = 0;
        EXPECT_EQ(VerifyLegacyPassword(window), 0);
        EXPECT_EQ(Doubles()->calls, c.asks ? 2 : 1);
        EXPECT_EQ(LastVerifyTick, c.asks ? c.askedAt : ended)
            << "a request refused without asking must leave the reference alone";
    }
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(PasswordGate, TheFirstRequestAsksWhateverTheClockSays)
{
    StartSaver();
    for (DWORD now : {0u, 1u, 199u, 0xFFFFFFFEu, 0xFFFFFFFFu}) {
        SCOPED_TRACE(now);
        ResetDoubles();
        LastVerifyTick = 0xFFFFFFFFu;
        Doubles()->clock = now;
        VerifyLegacyPassword(window);
        EXPECT_EQ(Doubles()->calls, 1);
    }
}

TEST_F(PasswordGate, ACloseArrivingDuringTheVerificationIsRefusedWithoutAskingAgain)
{
    for (LONG answer : {0, 1}) {
        SCOPED_TRACE(answer);
        ResetDoubles();
        CloseApproved = 0;
        LastVerifyTick = 0xFFFFFFFFu;
        StartSaver();
        Doubles()->answer = answer;
        Doubles()->postWhileAsking[0] = {WM_CLOSE, 0, 0};
        Doubles()->pumpMilliseconds = 50;

        RequestClose();
        EXPECT_EQ(Doubles()->closesPumped, 1) << "the verifier's loop saw no WM_CLOSE";
        EXPECT_EQ(Doubles()->calls, 1);
        EXPECT_EQ(IsWindow(window) != 0, answer == 0);
        EXPECT_EQ(CloseApproved, answer);
        DropSaverWindow(window);
        UnloadPasswordVerifier();
    }
}

TEST_F(PasswordGate, InputDuringTheVerificationPostsNoCloseRequest)
{
    StartSaver();
    POINT cursor;
    ASSERT_TRUE(GetCursorPos(&cursor));
    LastCursorPos = {cursor.x + 100, cursor.y}; // any move would be far enough
    Doubles()->answer = 0;
    Doubles()->postWhileAsking[0] = {WM_KEYDOWN, 'A', 0};
    Doubles()->postWhileAsking[1] = {WM_LBUTTONDOWN, MK_LBUTTON, 0};
    Doubles()->postWhileAsking[2] = {WM_MOUSEMOVE, 0, 0};
    Doubles()->postWhileAsking[3] = {WM_POWERBROADCAST, PBT_APMSUSPEND, 0};
    Doubles()->pumpMilliseconds = 50;

    RequestClose();
    EXPECT_EQ(Doubles()->calls, 1);
    EXPECT_EQ(Doubles()->closesPumped, 0);
    EXPECT_FALSE(MessageWaiting(WM_CLOSE));
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(PasswordGate, FramesGoOnWhileTheVerifierWaits)
{
    StartSaver();
    ASSERT_NE(FrameTimerId, 0u);
    const FigureState before = Figures[0];
    Doubles()->answer = 0;
    Doubles()->pumpMilliseconds = 650; // the frame period is 100 ms by default

    RequestClose();
    EXPECT_GE(Doubles()->timerMessagesPumped, 3);
    const FigureState& after = Figures[0];
    EXPECT_TRUE(after.TrailIndex != before.TrailIndex ||
                after.RotationPhase != before.RotationPhase ||
                after.Position.x != before.Position.x || after.Position.y != before.Position.y)
        << "no frame was drawn while the verifier waited";
}

TEST_F(PasswordGate, AtMostTwoPendingTimerMessagesAreDroppedBeforeAsking)
{
    StartSaver();
    // Three timers of the window come due while nobody pumps.
    SetTimer(window, FrameTimerId, 300, nullptr);
    SetTimer(window, 7001, 300, nullptr);
    SetTimer(window, 7002, 300, nullptr);
    Sleep(400);
    Doubles()->answer = 0;
    Doubles()->pumpMilliseconds = 0; // the verifier only looks at what is queued

    VerifyLegacyPassword(window);
    EXPECT_EQ(Doubles()->calls, 1);
    EXPECT_EQ(Doubles()->timerMessagesPumped, 1);
}

TEST_F(PasswordGate, ThePasswordRequestIsAnsweredByTheVerifier)
{
    StartSaver();
    for (LONG answer : {0, 1}) {
        Doubles()->answer = answer;
        EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), answer);
    }
    EXPECT_EQ(Doubles()->calls, 2);

    UnloadPasswordVerifier();
    EXPECT_EQ(SendMessageA(window, WM_APP, 0, 0), 1) << "no verifier: closing is approved";
    EXPECT_EQ(Doubles()->calls, 2);
}

TEST_F(PasswordGate, OffTheLegacyPlatformTheGateIsNotThere)
{
    StartSaver(); // loaded on the legacy platform
    LegacyPlatform = 0;
    Doubles()->answer = 0;
    RequestClose();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Doubles()->calls, 0);
    EXPECT_EQ(CloseApproved, 0);
    LegacyPlatform = 1;
}

} // namespace
