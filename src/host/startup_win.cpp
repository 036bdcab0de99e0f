// The executable's entry and its one switch. The entry point is ProcessEntry
// itself: the image carries no C runtime start-up, so nothing here (or
// anywhere in the product) may rely on global constructors or on C runtime
// state that its start-up would have prepared.
#include "host/startup_win.h"

#include <commctrl.h>

#include "config_dialog/config_dialog_win.h"
#include "host/fault_guard_win.h"
#include "host/host_state_win.h"
#include "host/legacy_password_win.h"
#include "host/saver_window_win.h"

static bool IsBlankOrControl(char c)
{
    const unsigned char code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

const char* FindCommandTail(const char* commandLine)
{
    const char* cursor = commandLine;
    if (*cursor == '"') {
        // A quote never closed makes the whole line the program name.
        do {
            cursor = CharNextA(cursor);
        } while (*cursor != '"' && *cursor != '\0');
        if (*cursor == '"') ++cursor;
    } else if (static_cast<unsigned char>(*cursor) > 32) {
        // Bytes of 0x80 and above belong to the name.
        while (static_cast<unsigned char>(*cursor) > 32)
            cursor = CharNextA(cursor);
    }
    while (IsBlankOrControl(*cursor))
        cursor = CharNextA(cursor);
    return cursor;
}

HWND ParseWindowHandle(const char* position)
{
    uint32_t value = 0;
    for (const char* p = position; *p >= '0' && *p <= '9'; ++p)
        value = value * 10u + static_cast<uint32_t>(*p - '0');
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
}

static const char* SkipSpaces(const char* cursor)
{
    while (*cursor == ' ') // blanks only: a tab ends the switch
        ++cursor;
    return cursor;
}

// A handle the user may leave out: none, 0 or not a window means the window
// the user works in.
static HWND WindowOrForeground(HWND window)
{
    if (window && IsWindow(window)) return window;
    return GetForegroundWindow();
}

SaverMode ReadSwitch(const char* tail)
{
    const char* cursor = tail;
    while (*cursor == ' ' || *cursor == '-' || *cursor == '/')
        ++cursor;

    switch (*cursor) {
    case '\0': return {SaverModeKind::Configure, nullptr};
    case 'C':
    case 'c': {
        ++cursor;
        HWND parent = nullptr;
        if (*cursor == ':') parent = ParseWindowHandle(cursor + 1);
        return {SaverModeKind::Configure, WindowOrForeground(parent)};
    }
    case 'S':
    case 's': return {SaverModeKind::FullScreen, nullptr};
    case 'P':
    case 'p':
    case 'L':
    case 'l': {
        HWND parent = ParseWindowHandle(SkipSpaces(cursor + 1));
        if (!parent || !IsWindow(parent)) return {SaverModeKind::Refused, nullptr};
        return {SaverModeKind::Preview, parent};
    }
    case 'A':
    case 'a':
        if (!LegacyPlatform) return {SaverModeKind::Refused, nullptr};
        return {SaverModeKind::ChangePassword,
                WindowOrForeground(ParseWindowHandle(SkipSpaces(cursor + 1)))};
    default: return {SaverModeKind::Refused, nullptr};
    }
}

static int32_t RunMode(void* context)
{
    const SaverMode mode = ReadSwitch(static_cast<const char*>(context));
    switch (mode.Kind) {
    case SaverModeKind::Configure: return static_cast<int32_t>(RunConfigureDialog(mode.Window));
    case SaverModeKind::FullScreen:
    case SaverModeKind::Preview: return RunSaverWindow(mode.Window);
    case SaverModeKind::ChangePassword: ChangeLegacyPassword(mode.Window); return 0;
    case SaverModeKind::Refused: break;
    }
    return -1;
}

// The guard's handler: a protected saver that dies must not leave the
// system believing that it still runs.
static void SwitchSaverRunningFlagOff()
{
    SetSaverRunningFlag(0);
}

int32_t SaverMain(HINSTANCE instance, const char* tail)
{
    // The tab-and-tooltip group, and the up-down and trackbar groups that the
    // configuration dialog's controls belong to.
    static_assert(sizeof(INITCOMMONCONTROLSEX) == 8, "the platform's INITCOMMONCONTROLSEX");
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);

    ModuleInstance = instance;

    static_assert(sizeof(OSVERSIONINFOA) == 148, "the platform's OSVERSIONINFOA");
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    LegacyPlatform =
        (GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) ? 1 : 0;

    return RunGuarded(RunMode, const_cast<char*>(tail), SwitchSaverRunningFlagOff);
}

extern "C" __attribute__((force_align_arg_pointer)) void WINAPI ProcessEntry()
{
    const char* tail = FindCommandTail(GetCommandLineA());
    ExitProcess(static_cast<UINT>(SaverMain(GetModuleHandleA(nullptr), tail)));
}
