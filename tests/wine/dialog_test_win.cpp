// The settings dialog run modally with its real template and procedure,
// driven through its controls from inside the modal loop; what it shows is
// read from the controls and what it saves from KORUMIX.ini itself.
#include <windows.h>
#include <commctrl.h>
#include <colordlg.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_driver_win.h"
#include "host/host_state_win.h"
#include "resources/resource_ids.h"
#include "settings/saver_settings.h"

namespace {

using Edits = std::vector<UINT>; // Polygon, Round, Move, Angle, Size, Locus

const Edits kFigure1 = {2, 3, 1, 40, 7, 35};
const Edits kFigure2 = {2, 5, 1, 65, 4, 35};
const Edits kFigure3 = {2, 5, 1, 65, 5, 50};

std::wstring Entry(int k)
{
    return std::to_wstring(k) + L" 番目の設定";
}

std::string Repeat(const std::string& text, int times)
{
    std::string repeated;
    for (int i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

std::vector<std::wstring> Entries(int count)
{
    std::vector<std::wstring> entries;
    for (int k = 1; k <= count; ++k)
        entries.push_back(Entry(k));
    return entries;
}

// The file as the profile functions write it: one section, a line per key.
std::string IniFile(const std::vector<std::string>& lines)
{
    std::string text = "[Screen Saver.Korumix]\r\n";
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

const std::vector<std::string> kDefaultLines = {"Number=3",
                                                "Speed=10",
                                                "Erase=1",
                                                "Polygon=2,2,2,",
                                                "Round=3,5,5,",
                                                "Move=1,1,1,",
                                                "Angle=40,65,65,",
                                                "Size=7,4,5,",
                                                "Locus=35,35,50,",
                                                "XYZ=0,1,2,",
                                                "Color=255,0,0,0,255,0,0,0,255,"};

std::string WrittenValue(const char* key)
{
    ReadIni(); // flushes the profile cache
    char value[512] = {};
    GetPrivateProfileStringA("Screen Saver.Korumix", key, "(missing)", value, sizeof value,
                             "KORUMIX.ini");
    return value;
}

class ConfigDialog : public testing::Test {
  protected:
    void SetUp() override
    {
        LegacyPlatform = 0;
        DeleteIni();
    }
    void TearDown() override
    {
        LegacyPlatform = 0;
        DeleteIni();
    }
};

TEST_F(ConfigDialog, OpensOnTheBuiltInSettingsWhenThereIsNoFile)
{
    const INT_PTR result = RunDialogScript({[](HWND dialog) {
        EXPECT_TRUE(IsWindowUnicode(dialog));
        EXPECT_EQ(EditValue(dialog, IDC_NUMBER_EDIT), 3u);
        EXPECT_EQ(SliderPosition(dialog), 10);
        EXPECT_TRUE(IsChecked(dialog, IDC_ERASE_CHECK));
        EXPECT_EQ(SelectorEntries(dialog), Entries(3));
        EXPECT_EQ(SelectedEntry(dialog), 0);
        EXPECT_EQ(FigureEdits(dialog), kFigure1);
        EXPECT_EQ(CheckedAxis(dialog), 0);
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
        ClickButton(dialog, IDCANCEL);
    }});
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(IniExists());
}

TEST_F(ConfigDialog, ConfirmingUnchangedWritesTheWholeRecord)
{
    EXPECT_EQ(RunDialogScript({[](HWND dialog) { ClickButton(dialog, IDOK); }}), 1);
    EXPECT_EQ(ReadIni(), IniFile(kDefaultLines));
}

// The spin buttons start where their edits stand and stop at the ends of
// the dialog's ranges; so does the slider.
TEST_F(ConfigDialog, SpinButtonsAndSliderKeepToTheirRanges)
{
    struct Range {
        int Spin, Edit;
        UINT Low, High;
    };
    static const Range kRanges[] = {
        {IDC_NUMBER_SPIN, IDC_NUMBER_EDIT, 1, 16}, {IDC_POLYGON_SPIN, IDC_POLYGON_EDIT, 2, 24},
        {IDC_ROUND_SPIN, IDC_ROUND_EDIT, 1, 90},   {IDC_MOVE_SPIN, IDC_MOVE_EDIT, 1, 5},
        {IDC_ANGLE_SPIN, IDC_ANGLE_EDIT, 0, 120},  {IDC_SIZE_SPIN, IDC_SIZE_EDIT, 1, 12},
        {IDC_LOCUS_SPIN, IDC_LOCUS_EDIT, 0, 200},
    };
    const INT_PTR result = RunDialogScript({
        [](HWND dialog) {
            for (const Range& range : kRanges) {
                SCOPED_TRACE("spin " + std::to_string(range.Spin));
                const LRESULT position = SendDlgItemMessageW(dialog, range.Spin, UDM_GETPOS, 0, 0);
                EXPECT_EQ(HIWORD(position), 0) << "no valid position";
                EXPECT_EQ(LOWORD(position), EditValue(dialog, range.Edit));
                const UINT clicks = range.High - range.Low + 2;
                for (UINT i = 0; i < clicks; ++i)
                    ClickSpin(dialog, range.Spin, false);
                EXPECT_EQ(EditValue(dialog, range.Edit), range.Low);
                for (UINT i = 0; i < clicks; ++i)
                    ClickSpin(dialog, range.Spin, true);
                EXPECT_EQ(EditValue(dialog, range.Edit), range.High);
            }
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_SPEED_SLIDER, TBM_GETRANGEMIN, 0, 0), 4);
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_SPEED_SLIDER, TBM_GETRANGEMAX, 0, 0), 20);
            EXPECT_EQ(SelectorEntries(dialog), Entries(16));
        },
        [](HWND dialog) { ClickButton(dialog, IDOK); },
    });
    EXPECT_EQ(result, 1);
    // Figure 1 at every upper end. The count went down to 1 first, so
    // figures 2 to 16 came (back) into use with the new-figure defaults.
    EXPECT_EQ(WrittenValue("Number"), "16");
    EXPECT_EQ(WrittenValue("Polygon"), "24," + Repeat("2,", 15));
    EXPECT_EQ(WrittenValue("Round"), "90," + Repeat("7,", 15));
    EXPECT_EQ(WrittenValue("Move"), "5," + Repeat("3,", 15));
    EXPECT_EQ(WrittenValue("Angle"), "120," + Repeat("15,", 15));
    EXPECT_EQ(WrittenValue("Size"), "12," + Repeat("5,", 15));
    EXPECT_EQ(WrittenValue("Locus"), "200," + Repeat("0,", 15));
    EXPECT_EQ(WrittenValue("XYZ"), "0," + Repeat("0,", 15));
    EXPECT_EQ(WrittenValue("Color"), "255,0,0," + Repeat("0,0,255,", 15));
}

TEST_F(ConfigDialog, CancellingNeverWritesTheFile)
{
    struct Way {
        const char* Name;
        void (*Cancel)(HWND dialog);
    };
    static const Way kWays[] = {
        {"CANCEL button", [](HWND dialog) { ClickButton(dialog, IDCANCEL); }},
        {"Escape", [](HWND) { PostKey(GetFocus(), VK_ESCAPE); }},
        {"close box", [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    // A file the writer would not produce: any rewrite shows.
    const std::string before = "; kept as it is\r\n[Screen Saver.Korumix]\r\nNumber=2\r\n"
                               "Polygon=5,6\r\n";
    for (const Way& way : kWays) {
        for (bool fileThere : {true, false}) {
            SCOPED_TRACE(std::string(way.Name) + (fileThere ? ", file there" : ", no file"));
            DeleteIni();
            if (fileThere) WriteIni(before);
            const INT_PTR result = RunDialogScript({
                [](HWND dialog) {
                    ClickSpin(dialog, IDC_NUMBER_SPIN, true);
                    ClickSpin(dialog, IDC_POLYGON_SPIN, true);
                    ClickButton(dialog, IDC_ERASE_CHECK);
                    ClickButton(dialog, IDC_AXIS_Z);
                    PressSliderKey(dialog, VK_END);
                },
                way.Cancel,
            });
            EXPECT_EQ(result, 0);
            EXPECT_EQ(IniExists(), fileThere);
            if (fileThere) {
                EXPECT_EQ(ReadIni(), before);
            }
        }
    }
}

TEST_F(ConfigDialog, RaisingTheCountKeepsTheShownFigureUntilTheSelectorSpeaks)
{
    const INT_PTR result = RunDialogScript({
        [](HWND dialog) {
            ChooseEntry(dialog, 1);
            EXPECT_EQ(FigureEdits(dialog), kFigure2);
            EXPECT_EQ(CheckedAxis(dialog), 1);
            ClickSpin(dialog, IDC_POLYGON_SPIN, true);
            ClickSpin(dialog, IDC_NUMBER_SPIN, true);
            ClickSpin(dialog, IDC_NUMBER_SPIN, true);
            EXPECT_EQ(EditValue(dialog, IDC_NUMBER_EDIT), 5u);
            EXPECT_EQ(SelectorEntries(dialog), Entries(5));
            EXPECT_EQ(SelectedEntry(dialog), 0);
            EXPECT_EQ(FigureEdits(dialog), (Edits{3, 5, 1, 65, 4, 35})) << "still figure 2";
            EXPECT_EQ(CheckedAxis(dialog), 1);
        },
        [](HWND dialog) {
            // Merely gaining the focus is a notification of the selector.
            SetFocus(GetDlgItem(dialog, IDC_FIGURE_SELECTOR));
            EXPECT_EQ(FigureEdits(dialog), kFigure1);
            EXPECT_EQ(CheckedAxis(dialog), 0);
            ClickButton(dialog, IDOK);
        },
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(ReadIni(), IniFile({"Number=5", "Speed=10", "Erase=1", "Polygon=2,3,2,2,2,",
                                  "Round=3,5,5,7,7,", "Move=1,1,1,3,3,", "Angle=40,65,65,15,15,",
                                  "Size=7,4,5,5,5,", "Locus=35,35,50,0,0,", "XYZ=0,1,2,0,0,",
                                  "Color=255,0,0,0,255,0,0,0,255,0,0,255,0,0,255,"}));
}

TEST_F(ConfigDialog, LoweringTheCountWhileAnUnlistedFigureIsShownWritesOnlyTheListed)
{
    const INT_PTR result = RunDialogScript({[](HWND dialog) {
        ChooseEntry(dialog, 2);
        ClickSpin(dialog, IDC_LOCUS_SPIN, true);
        ClickSpin(dialog, IDC_NUMBER_SPIN, false);
        EXPECT_EQ(SelectorEntries(dialog), Entries(2));
        EXPECT_EQ(SelectedEntry(dialog), 0);
        EXPECT_EQ(FigureEdits(dialog), (Edits{2, 5, 1, 65, 5, 51})) << "still figure 3";
        EXPECT_EQ(CheckedAxis(dialog), 2);
        ClickButton(dialog, IDOK);
    }});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(ReadIni(), IniFile({"Number=2", "Speed=10", "Erase=1", "Polygon=2,2,", "Round=3,5,",
                                  "Move=1,1,", "Angle=40,65,", "Size=7,4,", "Locus=35,35,",
                                  "XYZ=0,1,", "Color=255,0,0,0,255,0,"}));
    EXPECT_EQ(Settings.Locus[2], 51) << "figure 3's edits go into its slot";
}

TEST_F(ConfigDialog, SlotsThatComeBackIntoUseStartFromTheNewFigureDefaults)
{
    const INT_PTR result = RunDialogScript({[](HWND dialog) {
        ChooseEntry(dialog, 2);
        ClickSpin(dialog, IDC_ROUND_SPIN, true);
        ClickButton(dialog, IDC_AXIS_X);
        ChooseEntry(dialog, 0); // figure 3's round 6 and axis X are in its slot now
        ClickSpin(dialog, IDC_NUMBER_SPIN, false);
        ClickSpin(dialog, IDC_NUMBER_SPIN, true);
        ClickSpin(dialog, IDC_NUMBER_SPIN, true);
        ChooseEntry(dialog, 2);
        EXPECT_EQ(FigureEdits(dialog), (Edits{2, 7, 3, 15, 5, 0}));
        EXPECT_EQ(CheckedAxis(dialog), 0);
        ClickButton(dialog, IDOK);
    }});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(WrittenValue("Number"), "4");
    EXPECT_EQ(WrittenValue("Round"), "3,5,7,7,");
    EXPECT_EQ(WrittenValue("Color"), "255,0,0,0,255,0,0,0,255,0,0,255,");
}

// The edits of the shown figure are its only copy while it is shown; the
// selector's reporting the same figure again must not replace them with the
// record's older values, and a selector with nothing selected shows nothing
// new.
TEST_F(ConfigDialog, SelectingTheShownFigureOrNothingChangesNothing)
{
    const INT_PTR result = RunDialogScript({[](HWND dialog) {
        ClickSpin(dialog, IDC_POLYGON_SPIN, true);
        ClickButton(dialog, IDC_AXIS_Y);
        ChooseEntry(dialog, 0);
        EXPECT_EQ(FigureEdits(dialog), (Edits{3, 3, 1, 40, 7, 35}));
        EXPECT_EQ(CheckedAxis(dialog), 1);
        ChooseEntry(dialog, -1);
        EXPECT_EQ(SelectedEntry(dialog), CB_ERR);
        EXPECT_EQ(FigureEdits(dialog), (Edits{3, 3, 1, 40, 7, 35}));
        ChooseEntry(dialog, 1);
        EXPECT_EQ(FigureEdits(dialog), kFigure2);
        ChooseEntry(dialog, 2);
        EXPECT_EQ(FigureEdits(dialog), kFigure3);
        ClickButton(dialog, IDOK);
    }});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(WrittenValue("Polygon"), "3,2,2,");
    EXPECT_EQ(WrittenValue("XYZ"), "1,1,2,");
}

TEST_F(ConfigDialog, AxisButtonsSetTheShownFiguresAxis)
{
    const INT_PTR result = RunDialogScript({[](HWND dialog) {
        ClickButton(dialog, IDC_AXIS_Z);
        ChooseEntry(dialog, 1);
        EXPECT_EQ(CheckedAxis(dialog), 1);
        ClickButton(dialog, IDC_AXIS_X);
        ChooseEntry(dialog, 2);
        EXPECT_EQ(CheckedAxis(dialog), 2);
        ClickButton(dialog, IDC_AXIS_Y);
        ChooseEntry(dialog, 0);
        EXPECT_EQ(CheckedAxis(dialog), 2);
        ClickButton(dialog, IDOK);
    }});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(WrittenValue("XYZ"), "2,0,1,");
}

TEST_F(ConfigDialog, EachClickOnTheBoxFlipsErase)
{
    struct Case {
        const char* FileErase; // null: no file
        bool Ticked;
        int Clicks;
        const char* Written;
    };
    static const Case kCases[] = {
        {nullptr, true, 1, "0"}, {nullptr, true, 2, "1"}, {nullptr, true, 3, "0"},
        {"0", false, 1, "1"},    {"0", false, 2, "0"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string("Erase ") + (c.FileErase ? c.FileErase : "absent") + ", " +
                     std::to_string(c.Clicks) + " clicks");
        DeleteIni();
        if (c.FileErase) WriteIni(IniFile({std::string("Erase=") + c.FileErase}));
        static const Case* current;
        current = &c;
        const INT_PTR result = RunDialogScript({[](HWND dialog) {
            EXPECT_EQ(IsChecked(dialog, IDC_ERASE_CHECK), current->Ticked);
            for (int i = 0; i < current->Clicks; ++i)
                ClickButton(dialog, IDC_ERASE_CHECK);
            ClickButton(dialog, IDOK);
        }});
        EXPECT_EQ(result, 1);
        EXPECT_EQ(WrittenValue("Erase"), c.Written);
    }
}

TEST_F(ConfigDialog, SliderEndsSaveTheFastestAndSlowestPeriods)
{
    struct Case {
        UINT Key;
        int Position;
        const char* Written;
    };
    static const Case kCases[] = {{VK_HOME, 4, "4"}, {VK_END, 20, "20"}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Written);
        DeleteIni();
        static const Case* current;
        current = &c;
        const INT_PTR result = RunDialogScript({[](HWND dialog) {
            PressSliderKey(dialog, current->Key);
            EXPECT_EQ(SliderPosition(dialog), current->Position);
            ClickButton(dialog, IDOK);
        }});
        EXPECT_EQ(result, 1);
        EXPECT_EQ(WrittenValue("Speed"), c.Written);
    }
}

// What the colour picker was opened with, caught as it initialises.
const CHOOSECOLORA* OpenedPicker;

LRESULT CALLBACK WatchPickerOpening(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_INITDIALOG && sent->lParam != 0 &&
        GetWindow(sent->hwnd, GW_OWNER) != nullptr)
        OpenedPicker = reinterpret_cast<const CHOOSECOLORA*>(sent->lParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ExpectPickerOpenedOn(HWND picker, COLORREF colour)
{
    EXPECT_EQ(GetWindow(picker, GW_OWNER), SettingsDialog());
    EXPECT_EQ(GetDlgItemInt(picker, COLOR_RED, nullptr, FALSE), GetRValue(colour));
    EXPECT_EQ(GetDlgItemInt(picker, COLOR_GREEN, nullptr, FALSE), GetGValue(colour));
    EXPECT_EQ(GetDlgItemInt(picker, COLOR_BLUE, nullptr, FALSE), GetBValue(colour));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(picker, COLOR_RED))) << "the custom part is open";
    ASSERT_NE(OpenedPicker, nullptr);
    EXPECT_EQ(OpenedPicker->hwndOwner, SettingsDialog());
    EXPECT_EQ(OpenedPicker->rgbResult, colour);
    EXPECT_EQ(OpenedPicker->Flags, static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN));
    ASSERT_NE(OpenedPicker->lpCustColors, nullptr);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(OpenedPicker->lpCustColors[i], 0xFFFFFFu - static_cast<COLORREF>(i) * 0x101010u)
            << "custom colour " << i;
    }
}

void SetPickerColour(HWND picker, UINT red, UINT green, UINT blue)
{
    SetDlgItemInt(picker, COLOR_RED, red, FALSE);
    SetDlgItemInt(picker, COLOR_GREEN, green, FALSE);
    SetDlgItemInt(picker, COLOR_BLUE, blue, FALSE);
}

TEST_F(ConfigDialog, ColourPickerOpensOnTheShownColourAndItsCancelKeepsIt)
{
    OpenedPicker = nullptr;
    HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROC, WatchPickerOpening, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const INT_PTR result = RunDialogScript({
        [](HWND dialog) {
            ChooseEntry(dialog, 1);
            PostClick(dialog, IDC_COLOR_BUTTON);
        },
        [](HWND picker) {
            ASSERT_NE(picker, SettingsDialog()) << "no colour picker";
            ExpectPickerOpenedOn(picker, RGB(0, 255, 0));
            // As if the user had added a custom colour; it must not come back.
            OpenedPicker->lpCustColors[0] = RGB(1, 2, 3);
            OpenedPicker = nullptr;
            SetPickerColour(picker, 10, 20, 30);
            ClickButton(picker, IDCANCEL);
        },
        [](HWND dialog) {
            ASSERT_EQ(dialog, SettingsDialog());
            PostClick(dialog, IDC_COLOR_BUTTON);
        },
        [](HWND picker) {
            ASSERT_NE(picker, SettingsDialog()) << "no colour picker";
            ExpectPickerOpenedOn(picker, RGB(0, 255, 0));
            SetPickerColour(picker, 12, 34, 56);
            ClickButton(picker, IDOK);
        },
        [](HWND dialog) {
            ASSERT_EQ(dialog, SettingsDialog());
            ChooseEntry(dialog, 2);
            PostClick(dialog, IDC_COLOR_BUTTON);
        },
        [](HWND picker) {
            ASSERT_NE(picker, SettingsDialog()) << "no colour picker";
            ExpectPickerOpenedOn(picker, RGB(0, 0, 255));
            ClickButton(picker, IDCANCEL);
        },
        [](HWND dialog) { ClickButton(dialog, IDOK); },
    });
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(WrittenValue("Color"), "255,0,0,12,34,56,0,0,255,");
}

TEST_F(ConfigDialog, ParentWindowOwnsTheDialog)
{
    HWND parent = CreateWindowExW(0, L"Static", L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    static HWND expected;
    for (HWND owner : {parent, static_cast<HWND>(nullptr)}) {
        expected = owner;
        const INT_PTR result = RunDialogScript({[](HWND dialog) {
                                                   EXPECT_EQ(GetWindow(dialog, GW_OWNER), expected);
                                                   ClickButton(dialog, IDCANCEL);
                                               }},
                                               owner);
        EXPECT_EQ(result, 0);
    }
    DestroyWindow(parent);
}

// Hand-edited values the controls cannot show are brought inside the
// dialog's ranges when it opens: the selector lists 1 to 16 entries, every
// control shows a value it can hold, and a confirmation writes those values.
TEST_F(ConfigDialog, HandEditedValuesOutsideTheRangesComeBackInside)
{
    struct Case {
        const char* Name;
        std::vector<std::string> File;
        UINT Count;
        Edits Figure1;
        int Axis, Slider;
        bool Ticked;
        std::vector<std::pair<const char*, const char*>> Written;
    };
    static const Case kCases[] = {
        {"no figure",
         {"Number=0"},
         1,
         {2, 7, 3, 15, 5, 0},
         0,
         10,
         true,
         {{"Number", "1"}, {"Polygon", "2,"}}},
        {"negative count", {"Number=-3"}, 1, {2, 7, 3, 15, 5, 0}, 0, 10, true, {{"Number", "1"}}},
        {"more figures than slots",
         {"Number=40"},
         16,
         kFigure1,
         0,
         10,
         true,
         {{"Number", "16"}, {"Size", "7,4,5,5,5,5,5,5,5,5,5,5,5,5,5,5,"}}},
        {"numbers beyond both ends",
         {"Polygon=99,1,2", "Round=0,999,5", "Move=-2,9,1", "Angle=-5,500,65", "Size=0,50,5",
          "Locus=5000,-7,50"},
         3,
         {24, 1, 1, 0, 1, 200},
         0,
         10,
         true,
         {{"Polygon", "24,2,2,"},
          {"Round", "1,90,5,"},
          {"Move", "1,5,1,"},
          {"Angle", "0,120,65,"},
          {"Size", "1,12,5,"},
          {"Locus", "200,0,50,"}}},
        {"slow speed, odd flags",
         {"Speed=99", "Erase=5", "XYZ=7,-1,1"},
         3,
         kFigure1,
         0,
         20,
         false,
         {{"Speed", "20"}, {"Erase", "0"}, {"XYZ", "0,0,1,"}}},
        {"fast speed",
         {"Speed=1", "Erase=-1"},
         3,
         kFigure1,
         0,
         4,
         false,
         {{"Speed", "4"}, {"Erase", "0"}}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        DeleteIni();
        WriteIni(IniFile(c.File));
        static const Case* current;
        current = &c;
        const INT_PTR result = RunDialogScript({[](HWND dialog) {
            EXPECT_EQ(EditValue(dialog, IDC_NUMBER_EDIT), current->Count);
            EXPECT_EQ(SelectorEntries(dialog), Entries(static_cast<int>(current->Count)));
            EXPECT_EQ(FigureEdits(dialog), current->Figure1);
            EXPECT_EQ(CheckedAxis(dialog), current->Axis);
            EXPECT_EQ(SliderPosition(dialog), current->Slider);
            EXPECT_EQ(IsChecked(dialog, IDC_ERASE_CHECK), current->Ticked);
            // Every listed figure can be shown.
            const int last = static_cast<int>(current->Count) - 1;
            ChooseEntry(dialog, last);
            ChooseEntry(dialog, 0);
            ClickButton(dialog, IDOK);
        }});
        EXPECT_EQ(result, 1);
        for (const auto& [key, value] : c.Written)
            EXPECT_EQ(WrittenValue(key), value) << key;
    }
}

// The legacy platform has no wide windows: there the dialog is the ANSI one
// and the selector takes the Shift-JIS bytes, which read right on a system
// whose ANSI code page is 932.
TEST_F(ConfigDialog, LegacyPlatformGetsTheAnsiDialog)
{
    LegacyPlatform = 1;
    const INT_PTR result = RunDialogScript({[](HWND dialog) {
        EXPECT_FALSE(IsWindowUnicode(dialog));
        EXPECT_EQ(SelectorEntries(dialog).size(), 3u);
        if (GetACP() == 932) {
            EXPECT_EQ(SelectorEntries(dialog), Entries(3));
            EXPECT_EQ(WindowText(dialog), L"KORUMIX V1.0(LinesScreenSaver)の設定");
        }
        ClickButton(dialog, IDOK);
    }});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(ReadIni(), IniFile(kDefaultLines));
}

} // namespace
