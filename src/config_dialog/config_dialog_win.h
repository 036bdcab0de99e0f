// ConfigureDialogProc: the procedure of dialog 2003. Loads the settings when
// the dialog opens, edits Settings in place, writes it and ends with 1 on OK;
// ends with 0 and writes nothing on cancel.
#pragma once

#include <windows.h>
#include <cstdint>

extern int32_t EditedFigure;

INT_PTR CALLBACK ConfigureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows dialog 2003 modally over `parent` (null: no parent) and returns its
// result; RegisterConfigControls is the hook that runs first (false stops it).
INT_PTR RunConfigureDialog(HWND parent);
BOOL RegisterConfigControls(HINSTANCE instance);
