// Process entry and the command line: ProcessEntry cuts the program name off
// and calls SaverMain, whose result is the exit code. SaverMain reads one
// switch inside the fault guard and runs exactly one mode.
#pragma once

#include <windows.h>
#include <cstdint>

// The image's entry point: never returns, ends the process with SaverMain's
// result (-1 gives the exit code 4294967295). Needs no C runtime start-up.
extern "C" void WINAPI ProcessEntry();

int32_t SaverMain(HINSTANCE instance, const char* tail);

// The part of a command line after the program name and the blanks and
// control characters behind it; steps with CharNextA, so a double-byte
// character of the name is stepped over whole.
const char* FindCommandTail(const char* commandLine);

// Decimal digits at `position` as a 32-bit value wrapping modulo 2^32; 0 when
// no digit stands there. Leading blanks are not skipped.
HWND ParseWindowHandle(const char* position);

// What a command-line tail asks for, decided without running anything.
enum class SaverModeKind { Configure, FullScreen, Preview, ChangePassword, Refused };
struct SaverMode {
    SaverModeKind Kind;
    HWND Window; // the dialog's or the password change's parent, or the preview parent
};
SaverMode ReadSwitch(const char* tail);
