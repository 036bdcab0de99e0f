// The settings dialog, resource 2003. It loads the file when it opens, edits
// Settings in place while the user works and writes the whole record only on
// OK. The six numbers of a figure live in its edits while it is shown and go
// into the record when the user switches away from it or confirms; the count,
// the axis, the Erase flag and the colour go into the record at once.
#include "config_dialog/config_dialog_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include "host/host_state_win.h"
#include "resources/resource_ids.h"
#include "settings/saver_settings.h"
#include "settings/settings_file_win.h"

int32_t EditedFigure = 0;
static HWND SpeedSlider = nullptr;

// The six numbers of a figure that an edit with its spin button shows, in the
// order the dialog fills and reads them.
struct FigureNumber {
    int Edit;
    int Spin;
    SettingIndex Field;
};

static const FigureNumber FigureNumbers[] = {
    {IDC_POLYGON_EDIT, IDC_POLYGON_SPIN, PolygonField},
    {IDC_ROUND_EDIT, IDC_ROUND_SPIN, RoundField},
    {IDC_MOVE_EDIT, IDC_MOVE_SPIN, MoveField},
    {IDC_ANGLE_EDIT, IDC_ANGLE_SPIN, AngleField},
    {IDC_SIZE_EDIT, IDC_SIZE_SPIN, SizeField},
    {IDC_LOCUS_EDIT, IDC_LOCUS_SPIN, LocusField},
};

// " 番目の設定" in code page 932: entry k of the selector is "%u" of k
// followed by these bytes.
static const char SelectorSuffix[] = "\x20\x94\xD4\x96\xDA\x82\xCC\x90\xDD\x92\xE8";
static const UINT SelectorCodePage = 932;

static int32_t* FigureValues(SettingIndex field)
{
    return Settings.*SettingFields[field].ListField;
}

static int32_t Clamp(int32_t value, int32_t low, int32_t high)
{
    if (value < low) return low;
    if (value > high) return high;
    return value;
}

// A hand-edited file can hold values that the controls cannot show (the
// loader only keeps the figure tables safe). They are brought inside the
// dialog's ranges once, when it opens, so the controls show what the record
// holds and a confirmation writes only values the dialog itself could have
// made. Erase and XYZ are choices rather than amounts: an out-of-range value
// becomes what the saver makes of it (it clears the screen only for exactly 1
// and turns any axis other than 0, 1 and 2 about X).
static void KeepInDialogRanges()
{
    const SettingField& number = SettingFields[NumberField];
    const SettingField& speed = SettingFields[SpeedField];
    Settings.Number = Clamp(Settings.Number, number.DialogMin, number.DialogMax);
    Settings.Speed = Clamp(Settings.Speed, speed.DialogMin, speed.DialogMax);
    Settings.Erase = Settings.Erase == 1 ? 1 : 0;
    for (int32_t figure = 0; figure < Settings.Number; ++figure) {
        for (const FigureNumber& shown : FigureNumbers) {
            const SettingField& field = SettingFields[shown.Field];
            int32_t* values = FigureValues(shown.Field);
            values[figure] = Clamp(values[figure], field.DialogMin, field.DialogMax);
        }
        if (Settings.XYZ[figure] < 0 || Settings.XYZ[figure] > 2) Settings.XYZ[figure] = 0;
        Settings.Color[figure] &= 0xFFFFFF;
    }
}

static int AxisButton(int32_t axis)
{
    if (axis == 0) return IDC_AXIS_X;
    if (axis == 1) return IDC_AXIS_Y;
    return IDC_AXIS_Z;
}

// The wide interface keeps the Japanese text whatever the system's ANSI code
// page is; an ANSI selector (the dialog of the legacy platform, which has no
// wide windows) or a system without code page 932 gets the bytes as they are.
static void AddSelectorEntry(HWND dialog, uint32_t entry)
{
    char text[32];
    wsprintfA(text, "%u", entry);
    lstrcatA(text, SelectorSuffix);
    WCHAR wide[32];
    if (IsWindowUnicode(GetDlgItem(dialog, IDC_FIGURE_SELECTOR)) &&
        MultiByteToWideChar(SelectorCodePage, MB_ERR_INVALID_CHARS, text, -1, wide, 32) > 0) {
        SendDlgItemMessageW(dialog, IDC_FIGURE_SELECTOR, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(wide));
    } else {
        SendDlgItemMessageA(dialog, IDC_FIGURE_SELECTOR, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(text));
    }
}

static void FillSelector(HWND dialog)
{
    SendDlgItemMessageA(dialog, IDC_FIGURE_SELECTOR, CB_RESETCONTENT, 0, 0);
    for (int32_t entry = 1; entry <= Settings.Number && entry <= MaxFigures; ++entry)
        AddSelectorEntry(dialog, static_cast<uint32_t>(entry));
    SendDlgItemMessageA(dialog, IDC_FIGURE_SELECTOR, CB_SETCURSEL, 0, 0);
}

static void StoreShownFigure(HWND dialog)
{
    for (const FigureNumber& shown : FigureNumbers) {
        FigureValues(shown.Field)[EditedFigure] =
            static_cast<int32_t>(GetDlgItemInt(dialog, shown.Edit, nullptr, FALSE));
    }
}

static void InitDialog(HWND dialog)
{
    LoadSettingNames();
    LoadSettings();
    KeepInDialogRanges();
    EditedFigure = 0;

    const SettingField& number = SettingFields[NumberField];
    SetDlgItemInt(dialog, IDC_NUMBER_EDIT, static_cast<UINT>(Settings.Number), FALSE);
    SendDlgItemMessageA(dialog, IDC_NUMBER_SPIN, UDM_SETRANGE, 0,
                        MAKELPARAM(number.DialogMax, number.DialogMin));
    SendDlgItemMessageA(dialog, IDC_NUMBER_SPIN, UDM_SETPOS, 0, MAKELPARAM(Settings.Number, 0));

    const SettingField& speed = SettingFields[SpeedField];
    SpeedSlider = GetDlgItem(dialog, IDC_SPEED_SLIDER);
    SendMessageA(SpeedSlider, TBM_SETRANGE, TRUE, MAKELPARAM(speed.DialogMin, speed.DialogMax));
    SendMessageA(SpeedSlider, TBM_SETPOS, TRUE, Settings.Speed);

    SendDlgItemMessageA(dialog, IDC_ERASE_CHECK, BM_SETCHECK, static_cast<WPARAM>(Settings.Erase),
                        0);
    FillSelector(dialog);

    for (const FigureNumber& shown : FigureNumbers) {
        const SettingField& field = SettingFields[shown.Field];
        const int32_t value = FigureValues(shown.Field)[0];
        SetDlgItemInt(dialog, shown.Edit, static_cast<UINT>(value), FALSE);
        SendDlgItemMessageA(dialog, shown.Spin, UDM_SETRANGE, 0,
                            MAKELPARAM(field.DialogMax, field.DialogMin));
        SendDlgItemMessageA(dialog, shown.Spin, UDM_SETPOS, 0, MAKELPARAM(value, 0));
    }
    CheckDlgButton(dialog, AxisButton(Settings.XYZ[0]), BST_CHECKED);
}

// Runs on every notification of the selector, including its gaining the
// focus or opening; it acts whenever the selection and the shown figure
// disagree.
static void SwitchFigure(HWND dialog)
{
    const LRESULT selection = SendDlgItemMessageA(dialog, IDC_FIGURE_SELECTOR, CB_GETCURSEL, 0, 0);
    if (selection < 0 || selection >= MaxFigures) return; // CB_ERR: nothing is selected
    const int32_t figure = static_cast<int32_t>(selection);
    if (figure == EditedFigure) return;

    StoreShownFigure(dialog);
    EditedFigure = figure;
    for (const FigureNumber& shown : FigureNumbers) {
        const int32_t value = FigureValues(shown.Field)[figure];
        SetDlgItemInt(dialog, shown.Edit, static_cast<UINT>(value), FALSE);
        SendDlgItemMessageA(dialog, shown.Spin, UDM_SETPOS, 0, MAKELPARAM(value, 0));
    }
    CheckDlgButton(dialog, IDC_AXIS_X, BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_AXIS_Y, BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_AXIS_Z, BST_UNCHECKED);
    CheckDlgButton(dialog, AxisButton(Settings.XYZ[figure]), BST_CHECKED);
}

// The spin button has just written the new count into its edit. Slots that
// come (back) into use start from the new-figure defaults; the shown figure
// stays shown even when its entry is no longer listed.
static void ChangeCount(HWND dialog)
{
    const SettingField& number = SettingFields[NumberField];
    const int32_t count =
        Clamp(static_cast<int32_t>(GetDlgItemInt(dialog, IDC_NUMBER_EDIT, nullptr, FALSE)),
              number.DialogMin, number.DialogMax);
    for (int32_t figure = Settings.Number; figure < count; ++figure)
        SetNewFigureDefaults(figure);
    Settings.Number = count;
    FillSelector(dialog);
}

// The custom colours are a grey ramp made afresh for every opening, so what
// the user adds there is not carried to the next one. A cancelled picker
// leaves the colour as it was.
static void PickColour(HWND dialog)
{
    COLORREF custom[16];
    for (int i = 0; i < 16; ++i)
        custom[i] = 0xFFFFFF - static_cast<COLORREF>(i) * 0x101010;
    CHOOSECOLORA choice = {};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = dialog;
    choice.rgbResult = Settings.Color[EditedFigure];
    choice.lpCustColors = custom;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (ChooseColorA(&choice)) Settings.Color[EditedFigure] = choice.rgbResult;
}

static void Confirm(HWND dialog)
{
    Settings.Speed = static_cast<int32_t>(SendMessageA(SpeedSlider, TBM_GETPOS, 0, 0));
    StoreShownFigure(dialog);
    SaveSettings();
    EndDialog(dialog, 1);
}

static INT_PTR OnCommand(HWND dialog, int id)
{
    switch (id) {
    case IDOK: Confirm(dialog); return TRUE;
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    case IDC_FIGURE_SELECTOR: SwitchFigure(dialog); break;
    case IDC_AXIS_X:
    case IDC_AXIS_Y:
    case IDC_AXIS_Z: Settings.XYZ[EditedFigure] = id - IDC_AXIS_X; break;
    case IDC_ERASE_CHECK:
        Settings.Erase ^= 1; // the box itself is not read
        break;
    case IDC_COLOR_BUTTON: PickColour(dialog); break;
    }
    return FALSE;
}

INT_PTR CALLBACK ConfigureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: InitDialog(dialog); return TRUE; // the focus goes to the first tab stop, OK
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    case WM_VSCROLL:
        // Several scroll messages per change; the repeats find nothing to do.
        if (GetWindowLongA(reinterpret_cast<HWND>(lParam), GWL_ID) == IDC_NUMBER_SPIN)
            ChangeCount(dialog);
        return FALSE;
    }
    return FALSE;
}

BOOL RegisterConfigControls(HINSTANCE instance)
{
    (void)instance; // no control classes of our own
    return TRUE;
}

// The dialog is made through the wide interface, so its Japanese texts come
// out of the template as they are on any system, whatever its ANSI code page.
// The legacy platform has no wide dialogs and gets the ANSI one.
INT_PTR RunConfigureDialog(HWND parent)
{
    if (!RegisterConfigControls(ModuleInstance)) return 0;
    if (LegacyPlatform) {
        return DialogBoxParamA(ModuleInstance, MAKEINTRESOURCEA(IDD_CONFIGURE), parent,
                               ConfigureDialogProc, 0);
    }
    return DialogBoxParamW(ModuleInstance, MAKEINTRESOURCEW(IDD_CONFIGURE), parent,
                           ConfigureDialogProc, 0);
}
