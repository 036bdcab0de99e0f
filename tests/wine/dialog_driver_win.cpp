#include "dialog_driver_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "config_dialog/config_dialog_win.h"
#include "resources/resource_ids.h"

struct ScriptRun {
    const std::vector<DialogStep>* Steps;
    size_t Next;
    HWND Settings;
    DWORD LastStepTick;
    bool TimedOut;
};

static ScriptRun Run;

static BOOL CALLBACK FindActiveDialog(HWND window, LPARAM found)
{
    wchar_t name[16];
    if (GetClassNameW(window, name, 16) && wcscmp(name, L"#32770") == 0 &&
        IsWindowVisible(window) && IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// While a modal picker runs, its owner is disabled: the one enabled dialog
// of this thread is the one the user would be looking at.
static HWND ActiveDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindActiveDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

static BOOL CALLBACK CancelDialog(HWND window, LPARAM)
{
    wchar_t name[16];
    if (GetClassNameW(window, name, 16) && wcscmp(name, L"#32770") == 0)
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

// Steps may start nested modal loops (the colour picker), in which this
// callback runs again: the step is taken off the script before it runs.
static void CALLBACK PlayNextStep(HWND, UINT, UINT_PTR, DWORD)
{
    HWND active = ActiveDialog();
    if (!active) return;
    if (!Run.Settings) Run.Settings = active;
    if (Run.Next < Run.Steps->size()) {
        const DialogStep& step = (*Run.Steps)[Run.Next++];
        Run.LastStepTick = GetTickCount();
        step(active);
        return;
    }
    if (!Run.TimedOut && GetTickCount() - Run.LastStepTick > 5000) {
        Run.TimedOut = true;
        EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
    }
}

INT_PTR RunDialogScript(const std::vector<DialogStep>& steps, HWND parent)
{
    Run = ScriptRun{&steps, 0, nullptr, GetTickCount(), false};
    const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, PlayNextStep);
    const INT_PTR result = RunConfigureDialog(parent);
    KillTimer(nullptr, timer);
    EXPECT_EQ(Run.Next, steps.size()) << "the dialog closed before the script ended";
    EXPECT_FALSE(Run.TimedOut) << "the dialog was still open after the script";
    Run.Settings = nullptr;
    return result;
}

HWND SettingsDialog()
{
    return Run.Settings;
}

void ClickButton(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    EXPECT_NE(button, nullptr) << "no button " << id;
    SendMessageW(button, BM_CLICK, 0, 0);
}

void PostClick(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    EXPECT_NE(button, nullptr) << "no button " << id;
    PostMessageW(button, BM_CLICK, 0, 0);
}

void ClickSpin(HWND dialog, int spinId, bool up)
{
    HWND spin = GetDlgItem(dialog, spinId);
    RECT client;
    GetClientRect(spin, &client);
    const LPARAM point =
        MAKELPARAM(client.right / 2, up ? client.bottom / 4 : client.bottom * 3 / 4);
    SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(spin, WM_LBUTTONUP, 0, point);
}

void PressSliderKey(HWND dialog, UINT key)
{
    HWND slider = GetDlgItem(dialog, IDC_SPEED_SLIDER);
    SendMessageW(slider, WM_KEYDOWN, key, 1);
    SendMessageW(slider, WM_KEYUP, key, 0xC0000001);
}

void ChooseEntry(HWND dialog, int index)
{
    HWND selector = GetDlgItem(dialog, IDC_FIGURE_SELECTOR);
    SendMessageW(selector, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_FIGURE_SELECTOR, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(selector));
}

void PostKey(HWND window, UINT key)
{
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

UINT EditValue(HWND dialog, int editId)
{
    return GetDlgItemInt(dialog, editId, nullptr, FALSE);
}

std::vector<UINT> FigureEdits(HWND dialog)
{
    std::vector<UINT> values;
    for (int id : {IDC_POLYGON_EDIT, IDC_ROUND_EDIT, IDC_MOVE_EDIT, IDC_ANGLE_EDIT, IDC_SIZE_EDIT,
                   IDC_LOCUS_EDIT})
        values.push_back(EditValue(dialog, id));
    return values;
}

bool IsChecked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

int CheckedAxis(HWND dialog)
{
    int axis = -1;
    int ticked = 0;
    for (int i = 0; i < 3; ++i) {
        if (IsChecked(dialog, IDC_AXIS_X + i)) {
            axis = i;
            ++ticked;
        }
    }
    return ticked == 1 ? axis : -1;
}

std::vector<std::wstring> SelectorEntries(HWND dialog)
{
    std::vector<std::wstring> entries;
    const LRESULT count = SendDlgItemMessageW(dialog, IDC_FIGURE_SELECTOR, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[64] = {};
        SendDlgItemMessageW(dialog, IDC_FIGURE_SELECTOR, CB_GETLBTEXT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

int SelectedEntry(HWND dialog)
{
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_FIGURE_SELECTOR, CB_GETCURSEL, 0, 0));
}

int SliderPosition(HWND dialog)
{
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_SPEED_SLIDER, TBM_GETPOS, 0, 0));
}

std::wstring WindowText(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

std::string IniPath()
{
    char directory[MAX_PATH];
    GetWindowsDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\KORUMIX.ini";
}

// The profile functions may cache a file; flushing makes them look at the
// disk again after a test changed it behind their back.
static void FlushProfileCache()
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "KORUMIX.ini");
}

void DeleteIni()
{
    FlushProfileCache();
    DeleteFileA(IniPath().c_str());
    FlushProfileCache();
}

void WriteIni(const std::string& bytes)
{
    FlushProfileCache();
    FILE* file = fopen(IniPath().c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    FlushProfileCache();
}

bool IniExists()
{
    FlushProfileCache();
    return GetFileAttributesA(IniPath().c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadIni()
{
    FlushProfileCache();
    std::string bytes;
    FILE* file = fopen(IniPath().c_str(), "rb");
    if (!file) return bytes;
    char buffer[1024];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    fclose(file);
    return bytes;
}
