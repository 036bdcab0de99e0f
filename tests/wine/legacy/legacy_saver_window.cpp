// A saver window for the in-process tests, run by the host's own procedures.
#include "legacy_fixture.h"

#include <gtest/gtest.h>

#include "host/host_window_win.h"

static const char* const TestClassName = "KorumixLegacyTestSaver";

HWND MakeSaverWindow()
{
    static ATOM registered = 0;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
        windowClass.lpfnWndProc = HostWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = TestClassName;
        registered = RegisterClassA(&windowClass);
    }
    HWND window =
        CreateWindowExA(0, TestClassName, "Screen Saver test", WS_POPUP | WS_VISIBLE, 0, 0, 320,
                        240, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    return window;
}

void PumpUntilIdle(HWND window, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds && IsWindow(window)) {
        MSG message;
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return;
        if (message.message == WM_QUIT) return;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool MessageWaiting(UINT message)
{
    MSG found;
    return PeekMessageA(&found, nullptr, message, message, PM_NOREMOVE) != 0;
}

void DropSaverWindow(HWND window)
{
    if (IsWindow(window)) DestroyWindow(window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}
