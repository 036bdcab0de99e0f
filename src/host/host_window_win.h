// The host's two procedures around SaverProc: HostWindowProc (the class
// procedure: input method, cursor, help in a preview, system commands, timer
// messages after approval) and DefaultSaverProc (the close rules and the
// password gate). Every message travels
// HostWindowProc -> SaverProc -> DefaultSaverProc -> DefWindowProcA.
#pragma once

#include <windows.h>

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
