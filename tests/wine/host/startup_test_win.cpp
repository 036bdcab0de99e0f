// The command line: the tail behind the program name, the window handle
// reader, the switch, and SaverMain's answer for tails that run nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "host/host_state_win.h"
#include "host/startup_win.h"
#include "host_fixture_win.h"

namespace {

struct TailCase {
    const char* CommandLine;
    const char* Tail;
};

const TailCase kTailCases[] = {
    {"\"C:\\Saver Files\\korumix.scr\" /s", "/s"}, // quoted name, blank, switch
    {"\"C:\\Saver Files\\korumix.scr\"/s", "/s"},  // no blank behind the quote
    {"korumix.scr /p 1234", "/p 1234"},
    {"C:\\x\\korumix.scr /c:5678", "/c:5678"},
    {"\"C:\\never closed /s", ""},         // the whole line is the name
    {" korumix.scr /s", "korumix.scr /s"}, // a leading blank: no name is cut
    {"\tkorumix.scr /s", "korumix.scr /s"},
    {"korumix.scr\t\t /s", "/s"},     // tabs go with the name's trailing blanks
    {"korumix.scr \x01\x1F/s", "/s"}, // and so do control characters
    {"korumix.scr", ""},
    {"\"korumix.scr\"", ""},
    {"\"\" /s", "/s"},
    {"", ""},
    {"kor\xE9mix\xFF.scr /s", "/s"}, // bytes of 0x80 and above belong to the name
    {"korumix.scr /s  trailing", "/s  trailing"},
};

TEST(CommandLine, TailFollowsTheProgramName)
{
    for (const TailCase& c : kTailCases)
        EXPECT_STREQ(FindCommandTail(c.CommandLine), c.Tail)
            << "command line [" << c.CommandLine << "]";
}

TEST(CommandLine, TailPointsIntoTheCommandLine)
{
    const char* line = "\"a b\" /s";
    EXPECT_EQ(FindCommandTail(line), line + 6);
}

struct HandleCase {
    const char* Text;
    uint32_t Value;
};

const HandleCase kHandleCases[] = {
    {"1234", 1234},
    {"0", 0},
    {"", 0},
    {" 12", 0}, // leading blanks are not skipped
    {"12 34", 12},
    {"12ab", 12},
    {"12:34", 12},
    {"-5", 0},
    {"+5", 0},
    {"\xB1"
     "5",
     0},
    {"007", 7},
    {"4294967295", 0xFFFFFFFFu},
    {"4294967296", 0}, // wraps modulo 2^32
    {"4294967297", 1},
    {"99999999999", 1215752191u},
};

TEST(CommandLine, WindowHandleWrapsModulo2To32)
{
    for (const HandleCase& c : kHandleCases)
        EXPECT_EQ(reinterpret_cast<UINT_PTR>(ParseWindowHandle(c.Text)), UINT_PTR{c.Value})
            << "text [" << c.Text << "]";
}

// A real window for the tails that name one, and a number that is none.
class SwitchTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ResetHostState();
        window_ = CreateWindowExA(0, "STATIC", "parent", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  ModuleInstance, nullptr);
        ASSERT_NE(window_, nullptr);
        std::snprintf(handle_, sizeof handle_, "%u",
                      static_cast<unsigned>(reinterpret_cast<UINT_PTR>(window_)));
        for (unsigned candidate = 0x7FFF0001u;; candidate += 2) {
            if (!IsWindow(reinterpret_cast<HWND>(static_cast<UINT_PTR>(candidate)))) {
                std::snprintf(nonWindow_, sizeof nonWindow_, "%u", candidate);
                break;
            }
        }
    }
    void TearDown() override
    {
        DestroyWindow(window_);
        ResetHostState();
    }

    std::string With(const char* before, const char* number, const char* after = "")
    {
        return std::string(before) + number + after;
    }

    HWND window_ = nullptr;
    char handle_[16] = {};
    char nonWindow_[16] = {};
};

enum class Parent { None, Foreground, Named };

struct SwitchCase {
    const char* Before; // the tail is Before + number + After, number as chosen
    int Number;         // 0: no number; 1: the window's handle; 2: a number that is no window
    const char* After;
    SaverModeKind Kind;
    Parent Window;
};

const SwitchCase kSwitchCases[] = {
    {"", 0, "", SaverModeKind::Configure, Parent::None},
    {"/", 0, "", SaverModeKind::Configure, Parent::None},
    {"- /", 0, "", SaverModeKind::Configure, Parent::None},
    {"  ", 0, "", SaverModeKind::Configure, Parent::None},
    {"/c", 0, "", SaverModeKind::Configure, Parent::Foreground},
    {"/C", 0, "", SaverModeKind::Configure, Parent::Foreground},
    {"/c ", 1, "", SaverModeKind::Configure, Parent::Foreground}, // no colon: not read
    {"/c:", 1, "", SaverModeKind::Configure, Parent::Named},
    {"-c:", 1, " more", SaverModeKind::Configure, Parent::Named},
    {"/c:0", 0, "", SaverModeKind::Configure, Parent::Foreground},
    {"/c: ", 1, "", SaverModeKind::Configure, Parent::Foreground}, // a blank after the colon
    {"/c:", 2, "", SaverModeKind::Configure, Parent::Foreground},
    {"/S", 0, "", SaverModeKind::FullScreen, Parent::None},
    {"-s", 0, "", SaverModeKind::FullScreen, Parent::None},
    {"s", 0, "", SaverModeKind::FullScreen, Parent::None},
    {"//s", 0, "", SaverModeKind::FullScreen, Parent::None},
    {"/sx", 0, "", SaverModeKind::FullScreen, Parent::None},
    {"/screen", 0, "", SaverModeKind::FullScreen, Parent::None},
    {"/s ", 2, "", SaverModeKind::FullScreen, Parent::None},
    {"/p ", 1, "", SaverModeKind::Preview, Parent::Named},
    {"/P   ", 1, "", SaverModeKind::Preview, Parent::Named},
    {"/p", 1, "", SaverModeKind::Preview, Parent::Named},
    {"/l ", 1, "", SaverModeKind::Preview, Parent::Named},
    {"-L ", 1, "", SaverModeKind::Preview, Parent::Named},
    {"/p ", 1, "x", SaverModeKind::Preview, Parent::Named},
    {"/p:", 1, "", SaverModeKind::Refused, Parent::None},  // the colon ends the number
    {"/p\t", 1, "", SaverModeKind::Refused, Parent::None}, // a tab is no blank here
    {"/p", 0, "", SaverModeKind::Refused, Parent::None},
    {"/p 0", 0, "", SaverModeKind::Refused, Parent::None},
    {"/p ", 2, "", SaverModeKind::Refused, Parent::None},
    {"/p 4294967296", 0, "", SaverModeKind::Refused, Parent::None},
    {"/a ", 1, "", SaverModeKind::Refused, Parent::None}, // not the legacy platform
    {"/x", 0, "", SaverModeKind::Refused, Parent::None},
    {"/?", 0, "", SaverModeKind::Refused, Parent::None},
    {"x", 0, "", SaverModeKind::Refused, Parent::None},
    {"1", 0, "", SaverModeKind::Refused, Parent::None},
    {"/\ts", 0, "", SaverModeKind::Refused, Parent::None},
    {"/\x82\xA0", 0, "", SaverModeKind::Refused, Parent::None},
    {"\xE9", 0, "", SaverModeKind::Refused, Parent::None},
};

std::string Tail(const SwitchCase& c, const char* handle, const char* nonWindow)
{
    const char* number = c.Number == 1 ? handle : c.Number == 2 ? nonWindow : "";
    return std::string(c.Before) + number + c.After;
}

TEST_F(SwitchTest, DecidesTheModeAndItsWindow)
{
    const HWND foreground = GetForegroundWindow();
    for (const SwitchCase& c : kSwitchCases) {
        const std::string tail = Tail(c, handle_, nonWindow_);
        const SaverMode mode = ReadSwitch(tail.c_str());
        EXPECT_EQ(static_cast<int>(mode.Kind), static_cast<int>(c.Kind)) << "tail [" << tail << "]";
        const HWND want = c.Window == Parent::Named        ? window_
                          : c.Window == Parent::Foreground ? foreground
                                                           : nullptr;
        EXPECT_EQ(mode.Window, want) << "tail [" << tail << "]";
    }
}

TEST_F(SwitchTest, PasswordChangeOnlyOnTheLegacyPlatform)
{
    const HWND foreground = GetForegroundWindow();
    LegacyPlatform = 1;
    const std::string named = std::string("/a ") + handle_;
    SaverMode mode = ReadSwitch(named.c_str());
    EXPECT_EQ(static_cast<int>(mode.Kind), static_cast<int>(SaverModeKind::ChangePassword));
    EXPECT_EQ(mode.Window, window_);
    for (std::string tail : {std::string("/a"), std::string("/A 0"),
                             "-a " + std::string(nonWindow_), std::string("/a:") + handle_}) {
        mode = ReadSwitch(tail.c_str());
        EXPECT_EQ(static_cast<int>(mode.Kind), static_cast<int>(SaverModeKind::ChangePassword));
        EXPECT_EQ(mode.Window, foreground) << "tail [" << tail << "]";
    }
}

// SaverMain itself for every tail that is refused: -1, and nothing is made.
TEST_F(SwitchTest, SaverMainRefusesWithMinusOne)
{
    for (const SwitchCase& c : kSwitchCases) {
        if (c.Kind != SaverModeKind::Refused) continue;
        const std::string tail = Tail(c, handle_, nonWindow_);
        EXPECT_EQ(SaverMain(GetModuleHandleA(nullptr), tail.c_str()), -1)
            << "tail [" << tail << "]";
        EXPECT_EQ(SaverWindow, nullptr);
        EXPECT_EQ(ModuleInstance, GetModuleHandleA(nullptr));
        EXPECT_EQ(LegacyPlatform, 0); // Wine shows the NT family
    }
    EXPECT_EQ(FindWindowA("WindowsScreenSaverClass", nullptr), nullptr);
}

} // namespace
