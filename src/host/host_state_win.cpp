// The host's shared values with their start-up values. Only the three that do
// not start at zero carry an initialiser; they are constant-initialised, so
// nothing here needs the C runtime's start-up to run.
#include "host/host_state_win.h"

HINSTANCE ModuleInstance = nullptr;
HWND SaverWindow = nullptr;
int32_t PreviewMode = 0;
int32_t LegacyPlatform = 0;
int32_t CloseApproved = 0;
int32_t VerifyingPassword = 0;
PasswordVerifierProc PasswordVerifier = nullptr;
uint32_t CancelAutoPlayMessage = 0;
POINT LastCursorPos = {0, 0};
uint32_t MouseMoveThreshold = 4;
uint8_t LastAcLineStatus = 255;
uint32_t LastVerifyTick = 0xFFFFFFFFu;
