// The legacy platform's screen-saver password and saver-running flag. Every
// function but VerifyLegacyPassword and ChangeLegacyPassword does nothing off
// the legacy platform; those two are only called on it.
#pragma once

#include <windows.h>
#include <cstdint>

void SetSaverRunningFlag(uint32_t on);
void LoadPasswordVerifier();
void UnloadPasswordVerifier();
BOOL VerifyLegacyPassword(HWND window);
void ChangeLegacyPassword(HWND parent);
