// Shared by the in-process tests of the legacy password: the registry switch,
// the choice of stand-in modules, the tests' clock and a saver window driven
// by the host's real procedures.
#pragma once

#include <windows.h>
#include <cstdint>
#include <string>

#include "legacy_doubles.h"

// The block the stand-ins share with the tests; opened once per process.
LegacyDoublesState* Doubles();
void ResetDoubles();

// "ScreenSaveUsePassword" under HKCU\Control Panel\Desktop. The value found
// when the process started is put back by RestoreUsePassword.
void SetUsePassword(DWORD type, const void* data, DWORD size);
void SetUsePassword(DWORD value);
void RemoveUsePassword();
void RestoreUsePassword();

// Where LoadLibraryA finds the stand-ins: "verify", "noentry", "none", "mpr"
// (subdirectories of legacy-doubles beside the test executable).
void UseDoubles(const char* directory);
std::string DoublesDirectory(const char* directory);

// The tests' tick count: ReadTickCount pointed here reads Doubles()->clock.
DWORD WINAPI TestTickCount();

// Sets the system's saver-running flag directly, around the code under test.
void ForceSaverRunningFlag(uint32_t on);

// How every test of a protected run starts: the stand-ins reset and the
// verifying one findable, a password in use, the saver-running flag off.
// EndProtectedRun puts the flag, the registry value and the search path back.
void BeginProtectedRun();
void EndProtectedRun();

// A small full-screen-mode saver window (PreviewMode clear) of a class whose
// procedure is HostWindowProc, so every message travels the real chain.
HWND MakeSaverWindow();
// Destroys the window if it still exists and drops the quit message that its
// destruction posts.
void DropSaverWindow(HWND window);
// Dispatches the thread's messages until none is left, the window is gone or
// the time is up.
void PumpUntilIdle(HWND window, DWORD milliseconds);
// Whether a message of this id waits in the thread's queue (left in place).
bool MessageWaiting(UINT message);
