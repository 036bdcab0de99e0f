// RunSaverWindow: one saver window per process, full screen over the whole
// virtual screen or as a child filling a preview window, and its message
// loop. Everything the window's first messages read (PreviewMode, the AC-line
// status, the password verifier, the AutoPlay message) is in place before the
// window is created.
#include "host/saver_window_win.h"

#include "host/host_state_win.h"
#include "host/host_window_win.h"
#include "host/legacy_password_win.h"

static const char SaverClassName[] = "WindowsScreenSaverClass";
static const char FullScreenTitle[] = "Screen Saver";
static const char PreviewTitle[] = "Preview";

struct WindowPlacement {
    int X, Y, Width, Height;
    DWORD Style, ExtendedStyle;
    const char* Title;
};

static WindowPlacement PreviewPlacement(HWND parent)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(parent, &client);
    return {0, 0,           client.right, client.bottom, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
            0, PreviewTitle};
}

// Every monitor, its origin possibly negative; a platform without the
// virtual-screen metrics reports 0 for them, and the screen's clip box
// stands in.
static WindowPlacement FullScreenPlacement()
{
    WindowPlacement placement = {GetSystemMetrics(SM_XVIRTUALSCREEN),
                                 GetSystemMetrics(SM_YVIRTUALSCREEN),
                                 GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                 GetSystemMetrics(SM_CYVIRTUALSCREEN),
                                 WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                 WS_EX_TOPMOST,
                                 FullScreenTitle};
    if (placement.Width == 0 || placement.Height == 0) {
        RECT box = {0, 0, 0, 0};
        HDC screen = GetDC(nullptr);
        GetClipBox(screen, &box);
        ReleaseDC(nullptr, screen);
        placement.X = box.left;
        placement.Y = box.top;
        placement.Width = box.right - box.left;
        placement.Height = box.bottom - box.top;
    }
    return placement;
}

// A second full-screen start only brings the running saver to the front.
static bool RaiseRunningSaver()
{
    HWND running = FindWindowA(SaverClassName, FullScreenTitle);
    if (!running || !IsWindow(running)) return false;
    SetForegroundWindow(running);
    return true;
}

static int PumpMessages()
{
    MSG message = {};
    // GetMessageA answers -1 only for arguments it cannot use; leaving the
    // loop then is safer than dispatching a message that was never filled,
    // and the run ends with 0 rather than with a stale message's wParam.
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 0;
}

// No icon and no cursor: the one icon serves the configuration dialog, and
// the cursor is hidden over the saver anyway. The window owns its device
// context, which SaverProc takes once and draws every frame on.
ATOM RegisterSaverWindowClass()
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = ModuleInstance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = SaverClassName;
    return RegisterClassA(&windowClass);
}

int RunSaverWindow(HWND parent)
{
    WindowPlacement placement;
    if (parent) {
        placement = PreviewPlacement(parent);
        PreviewMode = 1;
    } else {
        placement = FullScreenPlacement();
        if (RaiseRunningSaver()) return 0;
        LastAcLineStatus = ReadAcLineStatus();
        LoadPasswordVerifier();
    }

    CancelAutoPlayMessage = LegacyPlatform ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

    if (RegisterSaverWindowClass()) {
        SaverWindow = CreateWindowExA(placement.ExtendedStyle, SaverClassName, placement.Title,
                                      placement.Style, placement.X, placement.Y, placement.Width,
                                      placement.Height, parent, nullptr, ModuleInstance, nullptr);
    }

    int result = 0;
    if (SaverWindow) {
        if (!PreviewMode) SetForegroundWindow(SaverWindow);
        result = PumpMessages();
    }
    UnloadPasswordVerifier();
    return result;
}
