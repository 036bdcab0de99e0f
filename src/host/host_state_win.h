// The host's shared state: process-global values that the start-up, the
// saver window, the close rules and the legacy password share. Touched only
// by the one GUI thread; nothing here is locked, reset or freed.
#pragma once

#include <windows.h>
#include <cstdint>

typedef BOOL(WINAPI* PasswordVerifierProc)(HWND window);

extern HINSTANCE ModuleInstance;
extern HWND SaverWindow;
extern int32_t PreviewMode;
extern int32_t LegacyPlatform;
extern int32_t CloseApproved;
extern int32_t VerifyingPassword;
extern PasswordVerifierProc PasswordVerifier;
extern uint32_t CancelAutoPlayMessage;
extern POINT LastCursorPos;
extern uint32_t MouseMoveThreshold; // 4
extern uint8_t LastAcLineStatus;    // 255: no status read yet
extern uint32_t LastVerifyTick;     // 0xFFFFFFFF: no verification yet
