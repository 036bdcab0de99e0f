// Drives the real settings dialog from inside its own modal loop. A thread
// timer runs the steps of a script, one per tick, against the dialog that is
// active on this thread: the settings dialog itself or, while it is open, the
// colour picker on top of it. The steps use the controls the way a user's
// input does (clicks on buttons and spin arrows, keys on the slider,
// selections with their notifications) and look at what the controls show.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A step gets the active dialog; SettingsDialog() is the settings dialog.
using DialogStep = std::function<void(HWND active)>;

// Runs RunConfigureDialog over `parent` while the steps are played, and
// returns its result. A dialog that is still open 5 s after the last step
// fails the test and is cancelled, as is any colour picker above it.
INT_PTR RunDialogScript(const std::vector<DialogStep>& steps, HWND parent = nullptr);
HWND SettingsDialog();

// What a user does.
void ClickButton(HWND dialog, int id);            // press and release over the button
void PostClick(HWND dialog, int id);              // the same, once the step has returned
void ClickSpin(HWND dialog, int spinId, bool up); // press and release over one arrow
void PressSliderKey(HWND dialog, UINT key);       // a key on the slider (VK_HOME, VK_END...)
void ChooseEntry(HWND dialog, int index);         // select an entry, with CBN_SELCHANGE
void PostKey(HWND window, UINT key);              // key down and up through the modal loop

// What the dialog shows.
UINT EditValue(HWND dialog, int editId);
std::vector<UINT> FigureEdits(HWND dialog); // Polygon, Round, Move, Angle, Size, Locus
bool IsChecked(HWND dialog, int id);
int CheckedAxis(HWND dialog); // 0, 1, 2 for the one ticked axis button, -1 for none or several
std::vector<std::wstring> SelectorEntries(HWND dialog);
int SelectedEntry(HWND dialog);
int SliderPosition(HWND dialog);
std::wstring WindowText(HWND window);

// KORUMIX.ini in the Windows directory.
std::string IniPath();
void DeleteIni();
void WriteIni(const std::string& bytes);
bool IniExists();
std::string ReadIni(); // the file's bytes, empty when it does not exist
