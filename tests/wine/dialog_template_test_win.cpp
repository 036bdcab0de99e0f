// Dialog 2003 as it was compiled into the executable: the extended template
// is walked record by record and every field compared with the table of the
// dialog, so a style the resource compiler added or dropped, a moved control
// or a mangled Japanese text shows up here.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

#include "dialog_driver_win.h"
#include "resources/resource_ids.h"

namespace {

// A class or a text of a template record: an ordinal or a string.
struct NameOrOrdinal {
    uint16_t Ordinal; // 0 when the name is a string
    std::wstring Text;
};

struct TemplateItem {
    uint32_t HelpId, ExStyle, Style;
    int16_t X, Y, Cx, Cy;
    int32_t Id;
    NameOrOrdinal Class, Title;
    uint16_t ExtraBytes;
};

struct TemplateHeader {
    uint16_t Version, Signature;
    uint32_t HelpId, ExStyle, Style;
    uint16_t Items;
    int16_t X, Y, Cx, Cy;
    NameOrOrdinal Menu, Class;
    std::wstring Caption;
    uint16_t PointSize, Weight;
    uint8_t Italic, CharSet;
    std::wstring Face;
};

class TemplateReader {
  public:
    TemplateReader(const uint8_t* data, size_t size) : Data(data), Size(size) {}

    uint16_t Word()
    {
        uint16_t value = 0;
        Take(&value, 2);
        return value;
    }
    uint32_t Dword()
    {
        uint32_t value = 0;
        Take(&value, 4);
        return value;
    }
    uint8_t Byte()
    {
        uint8_t value = 0;
        Take(&value, 1);
        return value;
    }
    std::wstring String()
    {
        std::wstring text;
        for (uint16_t unit = Word(); unit != 0 && !Overrun; unit = Word())
            text += static_cast<wchar_t>(unit);
        return text;
    }
    NameOrOrdinal Name()
    {
        NameOrOrdinal name = {0, L""};
        const uint16_t first = Word();
        if (first == 0xFFFF) {
            name.Ordinal = Word();
        } else if (first != 0) {
            name.Text = static_cast<wchar_t>(first);
            name.Text += String();
        }
        return name;
    }
    void AlignDword()
    {
        while (Offset % 4 != 0)
            Byte();
    }
    void Skip(size_t bytes)
    {
        for (size_t i = 0; i < bytes; ++i)
            Byte();
    }
    bool Overrun = false;

  private:
    void Take(void* out, size_t bytes)
    {
        if (Offset + bytes > Size) {
            Overrun = true;
            return;
        }
        memcpy(out, Data + Offset, bytes);
        Offset += bytes;
    }
    const uint8_t* Data;
    size_t Size;
    size_t Offset = 0;
};

// The predefined classes are stored as ordinals.
const uint16_t Button = 0x80, Edit = 0x81, Static = 0x82, ComboBox = 0x85;
const wchar_t* const UpDown = L"msctls_updown32";
const wchar_t* const Trackbar = L"msctls_trackbar32";

const DWORD Child = WS_CHILD | WS_VISIBLE;
const DWORD Label = Child | SS_LEFT | WS_GROUP;
const DWORD ReadOnlyEdit = Child | ES_READONLY | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
const DWORD Spin = Child | UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS;

struct ExpectedItem {
    int32_t Id;
    uint16_t ClassOrdinal; // 0: ClassName
    const wchar_t* ClassName;
    const wchar_t* Text;
    int16_t X, Y, Cx, Cy;
    DWORD Style;
};

const ExpectedItem kItems[] = {
    {IDOK, Button, nullptr, L"OK", 151, 59, 48, 14,
     Child | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP},
    {IDCANCEL, Button, nullptr, L"CANCEL", 151, 81, 48, 14, Child | BS_PUSHBUTTON | WS_TABSTOP},
    {-1, Static, nullptr, L"個数", 6, 6, 17, 8, Label},
    {-1, Static, nullptr, L"Speed", 6, 18, 23, 8, Label},
    {IDC_NUMBER_EDIT, Edit, nullptr, L"", 26, 2, 24, 12, ReadOnlyEdit},
    {IDC_NUMBER_SPIN, 0, UpDown, L"Spin1", 50, 4, 8, 9, Spin},
    {IDC_SPEED_SLIDER, 0, Trackbar, L"Slider1", 30, 18, 73, 7,
     Child | TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP},
    {-1, Button, nullptr, L"個別設定", 18, 30, 124, 148, Child | BS_GROUPBOX | BS_CENTER},
    {IDC_FIGURE_SELECTOR, ComboBox, nullptr, L"", 29, 41, 103, 173,
     Child | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
    {-1, Static, nullptr, L"多角形数", 42, 58, 33, 8, Label},
    {IDC_POLYGON_EDIT, Edit, nullptr, L"", 84, 56, 24, 12, ReadOnlyEdit},
    {IDC_POLYGON_SPIN, 0, UpDown, L"Spin2", 108, 58, 8, 9, Spin},
    {-1, Static, nullptr, L"回転角度", 42, 72, 33, 8, Label},
    {IDC_ROUND_EDIT, Edit, nullptr, L"", 84, 70, 24, 12, ReadOnlyEdit},
    {IDC_ROUND_SPIN, 0, UpDown, L"Spin3", 108, 72, 10, 9, Spin},
    {-1, Static, nullptr, L"移動速度", 42, 86, 33, 8, Label},
    {IDC_MOVE_EDIT, Edit, nullptr, L"", 84, 84, 24, 12, ReadOnlyEdit},
    {IDC_MOVE_SPIN, 0, UpDown, L"Spin4", 108, 86, 10, 9, Spin},
    {-1, Static, nullptr, L"形の傾き", 42, 100, 33, 8, Label},
    {IDC_ANGLE_EDIT, Edit, nullptr, L"", 84, 98, 24, 12, ReadOnlyEdit},
    {IDC_ANGLE_SPIN, 0, UpDown, L"Spin5", 106, 100, 12, 7, Spin},
    {-1, Static, nullptr, L"形の大小", 42, 114, 33, 8, Label},
    {IDC_SIZE_EDIT, Edit, nullptr, L"", 84, 112, 24, 12, ReadOnlyEdit},
    {IDC_SIZE_SPIN, 0, UpDown, L"Spin6", 108, 114, 10, 7, Spin},
    {-1, Static, nullptr, L"軌跡の数", 42, 128, 33, 8, Label},
    {IDC_LOCUS_EDIT, Edit, nullptr, L"", 84, 126, 24, 12, ReadOnlyEdit},
    {IDC_LOCUS_SPIN, 0, UpDown, L"Spin7", 108, 128, 10, 6, Spin},
    {-1, Button, nullptr, L"回転の向き", 28, 140, 100, 20, Child | BS_GROUPBOX},
    {IDC_AXIS_X, Button, nullptr, L"X軸", 36, 150, 24, 8, Child | BS_AUTORADIOBUTTON | WS_GROUP},
    {IDC_AXIS_Y, Button, nullptr, L"Y軸", 68, 150, 24, 8, Child | BS_AUTORADIOBUTTON},
    {IDC_AXIS_Z, Button, nullptr, L"Z軸", 98, 150, 23, 8, Child | BS_AUTORADIOBUTTON},
    {IDC_ERASE_CHECK, Button, nullptr, L"起動時画面を消す", 115, 4, 80, 8,
     Child | BS_AUTOCHECKBOX | WS_TABSTOP},
    {IDC_COLOR_BUTTON, Button, nullptr, L"色", 46, 164, 50, 11, Child | BS_PUSHBUTTON | WS_TABSTOP},
    {-1, Static, nullptr, L"ID_APP", 14, 180, 16, 14, Child | SS_ICON},
    {-1, Static, nullptr, L"KORUMIX 1.3 (Lines ScreenSaver)", 35, 183, 148, 8, Label},
};
const size_t kItemCount = sizeof kItems / sizeof kItems[0];

const wchar_t* const kCaption = L"KORUMIX V1.0(LinesScreenSaver)の設定";

struct ParsedTemplate {
    TemplateHeader Header;
    std::vector<TemplateItem> Items;
    bool Overrun;
};

ParsedTemplate ReadDialog2003()
{
    ParsedTemplate parsed = {};
    const WORD japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
    HRSRC found =
        FindResourceExW(nullptr, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_CONFIGURE), japanese);
    EXPECT_NE(found, nullptr) << "no Japanese dialog 2003";
    if (!found) return parsed;
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
    TemplateReader reader(data, SizeofResource(nullptr, found));

    TemplateHeader& h = parsed.Header;
    h.Version = reader.Word();
    h.Signature = reader.Word();
    h.HelpId = reader.Dword();
    h.ExStyle = reader.Dword();
    h.Style = reader.Dword();
    h.Items = reader.Word();
    h.X = static_cast<int16_t>(reader.Word());
    h.Y = static_cast<int16_t>(reader.Word());
    h.Cx = static_cast<int16_t>(reader.Word());
    h.Cy = static_cast<int16_t>(reader.Word());
    h.Menu = reader.Name();
    h.Class = reader.Name();
    h.Caption = reader.String();
    h.PointSize = reader.Word();
    h.Weight = reader.Word();
    h.Italic = reader.Byte();
    h.CharSet = reader.Byte();
    h.Face = reader.String();

    for (uint16_t i = 0; i < h.Items && !reader.Overrun; ++i) {
        reader.AlignDword();
        TemplateItem item;
        item.HelpId = reader.Dword();
        item.ExStyle = reader.Dword();
        item.Style = reader.Dword();
        item.X = static_cast<int16_t>(reader.Word());
        item.Y = static_cast<int16_t>(reader.Word());
        item.Cx = static_cast<int16_t>(reader.Word());
        item.Cy = static_cast<int16_t>(reader.Word());
        item.Id = static_cast<int32_t>(reader.Dword());
        item.Class = reader.Name();
        item.Title = reader.Name();
        item.ExtraBytes = reader.Word();
        reader.Skip(item.ExtraBytes);
        parsed.Items.push_back(item);
    }
    parsed.Overrun = reader.Overrun;
    return parsed;
}

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        char unit[12];
        if (c >= 32 && c < 127) {
            out += static_cast<char>(c);
        } else {
            snprintf(unit, sizeof unit, "\\x%04x", static_cast<unsigned>(c));
            out += unit;
        }
    }
    return out;
}

TEST(DialogTemplate, HeaderIsTheJapaneseExtendedDialog)
{
    const ParsedTemplate parsed = ReadDialog2003();
    const TemplateHeader& h = parsed.Header;
    ASSERT_FALSE(parsed.Overrun);
    EXPECT_EQ(h.Version, 1);
    EXPECT_EQ(h.Signature, 0xFFFF);
    EXPECT_EQ(h.HelpId, 0u);
    EXPECT_EQ(h.Style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                                          DS_MODALFRAME | DS_SETFONT | DS_3DLOOK));
    EXPECT_EQ(h.ExStyle, static_cast<DWORD>(WS_EX_CLIENTEDGE));
    EXPECT_EQ(h.Items, kItemCount);
    EXPECT_EQ(h.X, 34);
    EXPECT_EQ(h.Y, 32);
    EXPECT_EQ(h.Cx, 208);
    EXPECT_EQ(h.Cy, 203);
    EXPECT_EQ(h.Menu.Ordinal, 0);
    EXPECT_EQ(h.Menu.Text, L"") << "no menu";
    EXPECT_EQ(h.Class.Ordinal, 0);
    EXPECT_EQ(h.Class.Text, L"") << "the standard dialog class";
    EXPECT_EQ(h.Caption, kCaption) << Narrow(h.Caption);
    EXPECT_EQ(h.PointSize, 14);
    EXPECT_EQ(h.Weight, 400);
    EXPECT_EQ(h.Italic, 0);
    EXPECT_EQ(h.CharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(h.Face, L"Terminal");
}

TEST(DialogTemplate, ControlsAreTheListedOnesInOrder)
{
    const ParsedTemplate parsed = ReadDialog2003();
    ASSERT_FALSE(parsed.Overrun);
    ASSERT_EQ(parsed.Items.size(), kItemCount);
    for (size_t i = 0; i < kItemCount; ++i) {
        const ExpectedItem& want = kItems[i];
        const TemplateItem& got = parsed.Items[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1) + " id " + std::to_string(want.Id));
        EXPECT_EQ(got.Id, want.Id);
        EXPECT_EQ(got.Class.Ordinal, want.ClassOrdinal);
        // The resource compiler stores a class name in capitals; the system
        // looks classes up without regard to case (the live controls'
        // class names are checked when the dialog runs).
        if (want.ClassName) {
            EXPECT_EQ(_wcsicmp(got.Class.Text.c_str(), want.ClassName), 0);
        }
        EXPECT_EQ(got.Title.Ordinal, 0);
        EXPECT_EQ(got.Title.Text, want.Text) << Narrow(got.Title.Text);
        EXPECT_EQ(got.X, want.X);
        EXPECT_EQ(got.Y, want.Y);
        EXPECT_EQ(got.Cx, want.Cx);
        EXPECT_EQ(got.Cy, want.Cy);
        EXPECT_EQ(got.Style, want.Style) << std::hex << got.Style << " want " << want.Style;
        EXPECT_EQ(got.ExStyle, 0u);
        EXPECT_EQ(got.HelpId, 0u);
        EXPECT_EQ(got.ExtraBytes, 0);
    }
}

// The controls the system made from the template, in z-order (which is the
// template order), with their real class names, and the icon the last but
// one shows.
TEST(DialogTemplate, LiveDialogHasTheControlsOfTheTemplate)
{
    DeleteIni();
    const INT_PTR result = RunDialogScript({[](HWND dialog) {
        EXPECT_EQ(WindowText(dialog), kCaption);
        size_t i = 0;
        for (HWND control = GetWindow(dialog, GW_CHILD); control;
             control = GetWindow(control, GW_HWNDNEXT), ++i) {
            ASSERT_LT(i, kItemCount);
            const ExpectedItem& want = kItems[i];
            SCOPED_TRACE("control #" + std::to_string(i + 1));
            EXPECT_EQ(GetDlgCtrlID(control), want.Id);
            wchar_t name[64];
            GetClassNameW(control, name, 64);
            const wchar_t* wantClass = want.ClassName;
            if (want.ClassOrdinal == Button) wantClass = L"Button";
            if (want.ClassOrdinal == Edit) wantClass = L"Edit";
            if (want.ClassOrdinal == Static) wantClass = L"Static";
            if (want.ClassOrdinal == ComboBox) wantClass = L"ComboBox";
            EXPECT_EQ(_wcsicmp(name, wantClass), 0) << Narrow(name);
            if (want.ClassName) {
                EXPECT_STREQ(name, want.ClassName);
            }
            if (want.Style == (Child | SS_ICON)) {
                EXPECT_NE(SendMessageW(control, STM_GETICON, 0, 0), 0) << "no icon shown";
            }
        }
        EXPECT_EQ(i, kItemCount);
        ClickButton(dialog, IDCANCEL);
    }});
    EXPECT_EQ(result, 0);
}

} // namespace
