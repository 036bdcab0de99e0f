// RunSaverWindow: registers the saver window class, makes the window over
// the virtual screen (no parent) or over a preview parent's client area, and
// pumps its messages until the quit message. Returns the quit code, or 0 when
// another full-screen saver runs or no window could be made.
#pragma once

#include <windows.h>

int RunSaverWindow(HWND parent);

// The class "WindowsScreenSaverClass" with HostWindowProc as its procedure;
// RunSaverWindow registers it once per process. The class atom, 0 on failure.
ATOM RegisterSaverWindowClass();
