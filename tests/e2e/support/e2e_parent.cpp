// e2e_parent.exe: a visible top-level window to hand to a preview (/p <hwnd>)
// or to a dialog as its parent, and a witness of what is sent to it.
//
//   e2e_parent.exe [x y client-width client-height [rrggbb]]
//
// Defaults: 100 100 320 240, client area filled with 204080 (hex RGB). The
// window has a caption and a frame; the given size is that of its client
// area, so a child covering the client area has exactly that size.
// Output, one short line each (written whole, not through the CRT):
//   hwnd <unsigned decimal>          once the window is shown
//   help <wParam> <lParam>           a WM_HELP arrived
//   contextmenu <wParam> <lParam>    a WM_CONTEXTMENU arrived
//   child created|destroyed <hwnd>   WM_PARENTNOTIFY for a child window
//   key <virtual key>                a WM_KEYDOWN reached the parent itself
//   button l|r|m <x> <y>             a button went down on its client area
//   closed                           the window has been destroyed
//   focus <hwnd>                     answer to "focus": who has the focus now
// Commands on stdin, one line each:
//   focus <hwnd>   SetFocus(hwnd) on the parent's thread: a child window of
//                  another process shares its input state, so this hands the
//                  keyboard to, say, a preview
//   close          destroys the window (so does the end of stdin, so that it
//                  never outlives the driver that started it)
// A WM_CLOSE from anyone destroys it too.
#include <windows.h>
#include <windowsx.h>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "input_lines_win.h"

static HWND ParentWindow;
static const UINT FocusMessage = WM_APP + 1;

static void WriteLine(const char* text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(strlen(text)), &written,
              nullptr);
}

static void Report(const char* format, ...)
{
    char line[128];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    WriteLine(line);
}

static unsigned long long Unsigned(ULONG_PTR value)
{
    return static_cast<unsigned long long>(value);
}

static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HELP:
        Report("help %llu %lld\n", Unsigned(wParam), static_cast<long long>(lParam));
        return 1;
    case WM_CONTEXTMENU:
        Report("contextmenu %llu %lld\n", Unsigned(wParam), static_cast<long long>(lParam));
        return 0;
    case WM_PARENTNOTIFY:
        // The child's handle travels in lParam for these two events only.
        if (LOWORD(wParam) == WM_CREATE)
            Report("child created %llu\n", Unsigned(static_cast<ULONG_PTR>(lParam)));
        else if (LOWORD(wParam) == WM_DESTROY)
            Report("child destroyed %llu\n", Unsigned(static_cast<ULONG_PTR>(lParam)));
        return 0;
    case WM_KEYDOWN: Report("key %llu\n", Unsigned(wParam)); return 0;
    case WM_LBUTTONDOWN:
        Report("button l %d %d\n", GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        Report("button r %d %d\n", GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MBUTTONDOWN:
        Report("button m %d %d\n", GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case FocusMessage:
        SetFocus(reinterpret_cast<HWND>(lParam));
        Report("focus %llu\n", Unsigned(reinterpret_cast<ULONG_PTR>(GetFocus())));
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static DWORD WINAPI WatchInput(void*)
{
    ForEachInputLine([](const std::string& line) {
        if (line.compare(0, 6, "focus ") == 0) {
            ULONG_PTR target = strtoull(line.c_str() + 6, nullptr, 10);
            PostMessageW(ParentWindow, FocusMessage, 0, static_cast<LPARAM>(target));
        } else if (line.compare(0, 5, "close") == 0) {
            PostMessageW(ParentWindow, WM_CLOSE, 0, 0);
        }
    });
    PostMessageW(ParentWindow, WM_CLOSE, 0, 0);
    return 0;
}

int wmain(int argc, wchar_t** argv)
{
    int x = 100, y = 100, width = 320, height = 240;
    unsigned long colour = 0x204080;
    if (argc >= 5) {
        x = _wtoi(argv[1]);
        y = _wtoi(argv[2]);
        width = _wtoi(argv[3]);
        height = _wtoi(argv[4]);
    }
    if (argc >= 6) colour = wcstoul(argv[5], nullptr, 16);

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground =
        CreateSolidBrush(RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
    windowClass.lpszClassName = L"KorumixE2EParent";
    RegisterClassW(&windowClass);

    // Children must not be painted over when the parent repaints.
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE;
    RECT outer = {0, 0, width, height};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    ParentWindow =
        CreateWindowExW(0, L"KorumixE2EParent", L"KORUMIX e2e parent", style, x + outer.left,
                        y + outer.top, outer.right - outer.left, outer.bottom - outer.top, nullptr,
                        nullptr, windowClass.hInstance, nullptr);
    if (!ParentWindow) return 2;
    UpdateWindow(ParentWindow);

    Report("hwnd %llu\n", Unsigned(reinterpret_cast<ULONG_PTR>(ParentWindow)));
    CreateThread(nullptr, 0, WatchInput, nullptr, 0, nullptr);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    WriteLine("closed\n");
    return 0;
}
