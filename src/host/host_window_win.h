// The host's two procedures around SaverProc: HostWindowProc (the class
// procedure: input method, cursor, help in a preview, system commands, timer
// messages after approval, title changes) and DefaultSaverProc (the close
// rules, the password gate, the AutoPlay answer). Every message travels
// HostWindowProc -> SaverProc -> DefaultSaverProc -> DefWindowProcA; a stage
// that settles a message returns its own result, which the earlier stages
// hand back unchanged. A close request is always posted, never sent.
#pragma once

#include <windows.h>

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The two platform services whose answers the close rules act on, reached
// through pointers so that tests can see what reaches the end of the chain
// and can make the power status fail or change at will. They are
// DefWindowProcA and GetSystemPowerStatus in the product.
typedef LRESULT(CALLBACK* PlatformWindowProc)(HWND, UINT, WPARAM, LPARAM);
typedef BOOL(WINAPI* PowerStatusProc)(SYSTEM_POWER_STATUS* status);
extern PlatformWindowProc EndOfChain;
extern PowerStatusProc ReadPowerStatus;

// The AC-line status byte of the power status, 255 when it cannot be read.
BYTE ReadAcLineStatus();
