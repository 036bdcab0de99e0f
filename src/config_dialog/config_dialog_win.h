// ConfigureDialogProc: the procedure of dialog 2003. Loads the settings when
// the dialog opens, edits Settings in place, writes it and ends with 1 on OK;
// ends with 0 and writes nothing on cancel.
#pragma once

#include <windows.h>
#include <cstdint>

extern int32_t EditedFigure;

INT_PTR CALLBACK ConfigureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
