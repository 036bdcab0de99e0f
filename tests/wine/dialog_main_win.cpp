// The dialog tests' process: the host's start-up state that the dialog
// relies on (the module whose resources it shows, the common controls), and
// a check that the run has the ANSI code page its name promises.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "host/host_state_win.h"

TEST(DialogProcess, RunsUnderTheCodePageItIsNamedFor)
{
    const char* expected = getenv("KORUMIX_EXPECT_ACP");
    ASSERT_NE(expected, nullptr) << "KORUMIX_EXPECT_ACP is not set";
    EXPECT_EQ(GetACP(), static_cast<UINT>(atoi(expected)));
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX controls = {sizeof controls,
                                     ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    ModuleInstance = GetModuleHandleW(nullptr);
    return RUN_ALL_TESTS();
}
