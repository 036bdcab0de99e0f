// The legacy platform's screen-saver password and saver-running flag. Every
// function but VerifyLegacyPassword and ChangeLegacyPassword does nothing off
// the legacy platform; those two are only called on it.
//
// The password, its dialogs and its storage belong to the platform's modules
// "PASSWORD.CPL" and "MPR.DLL"; nothing here holds a password.
#pragma once

#include <windows.h>
#include <cstdint>

void SetSaverRunningFlag(uint32_t on);
void LoadPasswordVerifier();
void UnloadPasswordVerifier();
BOOL VerifyLegacyPassword(HWND window);
void ChangeLegacyPassword(HWND parent);

// The millisecond clock of the 200 ms spacing between verifications. It is
// GetTickCount; tests point it at a clock they set, to reach the tick-count
// wrap and long verifications without waiting for them.
typedef DWORD(WINAPI* TickCountProc)();
extern TickCountProc ReadTickCount;
