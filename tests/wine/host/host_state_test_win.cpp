// The host's values as a process finds them before any mode runs. Run in a
// process of its own (ctest filters this suite alone), before anything has
// touched them.
#include <gtest/gtest.h>

#include "animation/saver_proc_win.h"
#include "host/host_state_win.h"
#include "host/host_window_win.h"
#include "host_fixture_win.h"

namespace {

TEST(HostStateAtStart, HoldsItsInitialValues)
{
    if (HostStateWasReset()) GTEST_SKIP() << "other tests ran first in this process";
    EXPECT_EQ(MouseMoveThreshold, 4u);
    EXPECT_EQ(LastAcLineStatus, 255);
    EXPECT_EQ(LastVerifyTick, 0xFFFFFFFFu);
    EXPECT_EQ(ModuleInstance, nullptr);
    EXPECT_EQ(SaverWindow, nullptr);
    EXPECT_EQ(PreviewMode, 0);
    EXPECT_EQ(LegacyPlatform, 0);
    EXPECT_EQ(CloseApproved, 0);
    EXPECT_EQ(VerifyingPassword, 0);
    EXPECT_EQ(PasswordVerifier, nullptr);
    EXPECT_EQ(CancelAutoPlayMessage, 0u);
    EXPECT_EQ(LastCursorPos.x, 0);
    EXPECT_EQ(LastCursorPos.y, 0);
    EXPECT_EQ(DrawingSurface, nullptr);
    EXPECT_EQ(FrameTimerId, 0u);
    // The seams are set before anything runs (the image has no start-up
    // code that could set them later).
    EXPECT_NE(EndOfChain, nullptr);
    EXPECT_NE(ReadPowerStatus, nullptr);
}

} // namespace
