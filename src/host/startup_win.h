// Process entry and the command line: ProcessEntry cuts the program name off
// and calls SaverMain, whose result is the exit code. SaverMain reads one
// switch inside the fault guard and runs exactly one mode.
#pragma once

#include <windows.h>
#include <cstdint>

extern "C" void WINAPI ProcessEntry();
int32_t SaverMain(HINSTANCE instance, const char* tail);
const char* FindCommandTail(const char* commandLine);
HWND ParseWindowHandle(const char* position);
