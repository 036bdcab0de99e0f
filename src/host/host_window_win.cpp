// HostWindowProc and DefaultSaverProc: the message tables of the saver
// window's host side. In a preview nothing the user does closes the window;
// full screen, a key, a click, a mouse move of more than 4 pixels, the loss
// of activation and most power events post a close request.
#include "host/host_window_win.h"

#include <cstdint>

#include "animation/saver_proc_win.h"
#include "host/host_state_win.h"
#include "host/legacy_password_win.h"

PlatformWindowProc EndOfChain = DefWindowProcA;
PowerStatusProc ReadPowerStatus = GetSystemPowerStatus;

// The input method's hold on the saver window: detached at creation so that
// no composition window opens over the saver, given back at destruction.
// "IMM32.DLL" is only looked up, never loaded: when the process has not
// loaded it, there is no input method to detach.
typedef void* InputContext;
typedef InputContext(WINAPI* AssociateContextProc)(HWND window, InputContext context);
static HMODULE InputMethodModule = nullptr;
static AssociateContextProc AssociateInputContext = nullptr;
static InputContext SavedInputContext = nullptr;

static void DetachInputMethod(HWND window)
{
    InputMethodModule = GetModuleHandleA("IMM32.DLL");
    if (InputMethodModule) {
        // The detour through void (*)() says that the cast to the entry's
        // real type is meant.
        AssociateInputContext = reinterpret_cast<AssociateContextProc>(
            reinterpret_cast<void (*)()>(GetProcAddress(InputMethodModule, "ImmAssociateContext")));
    }
    if (AssociateInputContext) SavedInputContext = AssociateInputContext(window, nullptr);
}

static void RestoreInputMethod(HWND window)
{
    if (InputMethodModule && AssociateInputContext && SavedInputContext)
        AssociateInputContext(window, SavedInputContext);
}

static void HideCursor()
{
    SetCursor(nullptr);
}

static void PostCloseRequest(HWND window)
{
    PostMessageA(window, WM_CLOSE, 0, 0);
}

// A preview lives inside the display settings' dialog: help asked of it is
// the dialog's to give, so it goes to the parent, naming the parent.
static void ForwardHelpToParent(HWND window, UINT message, LPARAM lParam)
{
    HWND parent = GetParent(window);
    if (parent && IsWindow(parent))
        PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        DetachInputMethod(window);
        POINT cursor;
        if (GetCursorPos(&cursor)) LastCursorPos = cursor;
        if (!PreviewMode) HideCursor();
        break;
    }
    case WM_DESTROY:
        RestoreInputMethod(window);
        PostQuitMessage(0);
        break;
    case WM_SETTEXT: return 0; // the title stays the one given at creation
    case WM_PAINT:
        if (CloseApproved) return EndOfChain(window, message, wParam, lParam);
        if (!PreviewMode) HideCursor();
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (!PreviewMode) break;
        ForwardHelpToParent(window, message, lParam);
        return 1;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // On its way out: input no longer reaches the close rules.
        if (CloseApproved) return EndOfChain(window, message, wParam, lParam);
        break;
    case WM_SYSCOMMAND:
        if (PreviewMode) break;
        // The whole wParam is compared: a code with its low bits set is not
        // one of these and goes on to the default processing.
        switch (wParam) {
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
        case SC_SCREENSAVE: return 0; // no switching away, no second saver
        case SC_MONITORPOWER:
            PostCloseRequest(window); // the default processing still powers down
            break;
        }
        break;
    case WM_TIMER:
        if (CloseApproved) return 0; // no more frames once the window is going
        Sleep(0);                    // the rest of the time slice goes to others
        break;
    }
    return SaverProc(window, message, wParam, lParam);
}

BYTE ReadAcLineStatus()
{
    SYSTEM_POWER_STATUS status;
    if (!ReadPowerStatus(&status)) return 255;
    return status.ACLineStatus;
}

// A power-status change closes the saver only when the AC line came or went;
// a failed read counts as "no status", so two failures in a row are no change.
static void ApplyAcLineRule(HWND window)
{
    const BYTE status = ReadAcLineStatus();
    const BYTE previous = LastAcLineStatus;
    LastAcLineStatus = status;
    if (status != previous) PostCloseRequest(window);
}

static void ApplyPowerBroadcastRule(HWND window, WPARAM event, LPARAM lParam)
{
    switch (event) {
    case PBT_APMPOWERSTATUSCHANGE: ApplyAcLineRule(window); return;
    case PBT_APMRESUMECRITICAL:
    case PBT_APMRESUMESUSPEND:
    case PBT_APMRESUMESTANDBY:
    case PBT_APMRESUMEAUTOMATIC:
        // A resume after a failed suspend leaves things as they were.
        if ((lParam & PBTF_APMRESUMEFROMFAILURE) == 0) PostCloseRequest(window);
        return;
    default:
        PostCloseRequest(window); // every other event, known or not
        return;
    }
}

// The cursor position is read afresh; the coordinates in lParam are not used.
// The reference point moves only when the move closes, so slow creeping adds
// up. When the position cannot be read the move counts as none: no close,
// and the reference point stays.
static void ApplyMouseMoveRule(HWND window)
{
    POINT cursor;
    if (!GetCursorPos(&cursor)) return;
    const int64_t dx = static_cast<int64_t>(cursor.x) - LastCursorPos.x;
    const int64_t dy = static_cast<int64_t>(cursor.y) - LastCursorPos.y;
    const uint64_t distance =
        static_cast<uint64_t>(dx < 0 ? -dx : dx) + static_cast<uint64_t>(dy < 0 ? -dy : dy);
    if (distance > MouseMoveThreshold) {
        PostCloseRequest(window);
        LastCursorPos = cursor;
    }
}

// The close rules of a full-screen run. True when the message is settled
// here (WM_SETCURSOR, answered 1); otherwise it goes on to the ending.
static bool ApplyCloseRules(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: PostCloseRequest(window); break;
    case WM_MOUSEMOVE: ApplyMouseMoveRule(window); break;
    case WM_ACTIVATEAPP:
        if (wParam == 0) PostCloseRequest(window); // another application took over
        break;
    case WM_POWER:
        if (wParam == PWR_CRITICALRESUME) PostCloseRequest(window);
        break;
    case WM_POWERBROADCAST: ApplyPowerBroadcastRule(window, wParam, lParam); break;
    case WM_SHOWWINDOW:
        if (wParam != 0) HideCursor();
        break;
    case WM_SETCURSOR: HideCursor(); return true;
    }
    return false;
}

// The AutoPlay question is answered in every mode: a disc inserted under a
// running saver ends it, and the AutoPlay is cancelled only while a password
// guards the screen.
static LRESULT Ending(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (CancelAutoPlayMessage != 0 && message == CancelAutoPlayMessage) {
        PostCloseRequest(window);
        return PasswordVerifier ? 1 : 0;
    }
    return EndOfChain(window, message, wParam, lParam);
}

LRESULT CALLBACK DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (PreviewMode || CloseApproved) return Ending(window, message, wParam, lParam);

    switch (message) {
    case WM_CLOSE:
        if (LegacyPlatform && !VerifyLegacyPassword(window)) {
            // Refused: the mouse must move away from where it is now before
            // it asks again.
            POINT cursor;
            if (GetCursorPos(&cursor)) LastCursorPos = cursor;
            return 0;
        }
        return Ending(window, message, wParam, lParam); // DefWindowProcA destroys the window
    case WM_APP:
        if (!LegacyPlatform) return Ending(window, message, wParam, lParam);
        return PasswordVerifier ? PasswordVerifier(window) : 1;
    }

    if (VerifyingPassword) return Ending(window, message, wParam, lParam);
    if (ApplyCloseRules(window, message, wParam, lParam)) return 1;
    return Ending(window, message, wParam, lParam);
}
