// SaverProc: the program's own procedure for the saver window, between
// HostWindowProc and DefaultSaverProc. Sets the animation up on WM_CREATE,
// runs a frame per WM_TIMER, paints the background black when Erase is 1,
// tears down on WM_DESTROY.
#pragma once

#include <windows.h>
#include <cstdint>

extern HDC DrawingSurface;    // the window's own device context (drawing_gdi_win.cpp)
extern UINT_PTR FrameTimerId; // 0 when SetTimer failed

LRESULT CALLBACK SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The timer period for a Speed: Speed x 10 ms, kept within what SetTimer
// accepts whatever a hand-edited file holds.
UINT FramePeriod(int32_t speed);
