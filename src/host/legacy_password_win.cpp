// The legacy platform's password gate. A password in use means a loaded
// "PASSWORD.CPL" whose "VerifyScreenSavePwd" must accept before a full-screen
// run may end; while it is loaded the system is told that a protected saver
// runs, so that it keeps the user from switching away from it.
#include "host/legacy_password_win.h"

#include "host/host_state_win.h"

// Resolved by the loader, not by code: the image runs no C runtime start-up
// that could fill it in.
TickCountProc ReadTickCount = GetTickCount;

// The loaded "PASSWORD.CPL", held for one full-screen run.
static HMODULE PasswordModule = nullptr;

typedef DWORD(WINAPI* PasswordChangeProc)(const char* provider, HWND parent, DWORD reserved1,
                                          DWORD reserved2);

// GetProcAddress hands back a generic entry; the detour through void (*)()
// tells the compiler that the cast to the entry's real type is meant.
template <typename Entry> static Entry EntryPoint(HMODULE module, const char* name)
{
    return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

void SetSaverRunningFlag(uint32_t on)
{
    if (!LegacyPlatform) return;
    // The last argument 0: the setting is neither stored in the profile nor
    // broadcast; the previous value is not wanted.
    UINT previous = 0;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, on, &previous, 0);
}

void LoadPasswordVerifier()
{
    if (!LegacyPlatform) return;
    if (PasswordModule) UnloadPasswordVerifier();

    HKEY desktop = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &desktop) !=
        ERROR_SUCCESS)
        return;

    // Whatever type the value is stored with, its first 4 bytes decide. A
    // value shorter than 4 bytes fills only the start of the buffer; the
    // bytes it does not reach stay 0, so such a value counts by the bytes it
    // has. A longer one makes the read fail: no password.
    uint8_t data[4] = {0, 0, 0, 0};
    DWORD size = sizeof data;
    LONG read = RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr, data, &size);
    uint32_t usePassword = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                           static_cast<uint32_t>(data[2]) << 16 |
                           static_cast<uint32_t>(data[3]) << 24;
    if (read == ERROR_SUCCESS && usePassword != 0) {
        PasswordModule = LoadLibraryA("PASSWORD.CPL");
        if (PasswordModule) {
            PasswordVerifier =
                EntryPoint<PasswordVerifierProc>(PasswordModule, "VerifyScreenSavePwd");
            if (PasswordVerifier)
                SetSaverRunningFlag(1);
            else
                UnloadPasswordVerifier();
        }
    }
    RegCloseKey(desktop);
}

void UnloadPasswordVerifier()
{
    if (!LegacyPlatform || !PasswordModule) return;
    FreeLibrary(PasswordModule);
    PasswordModule = nullptr;
    if (PasswordVerifier) {
        PasswordVerifier = nullptr;
        SetSaverRunningFlag(0);
    }
}

BOOL VerifyLegacyPassword(HWND window)
{
    // The verifier's own dialog loop re-enters the saver window; a close
    // that arrives meanwhile must neither ask again nor slip through.
    if (VerifyingPassword) return 0;
    if (!PasswordVerifier) {
        CloseApproved = 1;
        return 1;
    }

    // Queued close requests (a move and a click together) would otherwise
    // bring the dialog back at once; the spacing runs from the end of the
    // last verification, in unsigned arithmetic that survives the wrap.
    DWORD now = ReadTickCount();
    if (LastVerifyTick != 0xFFFFFFFFu && static_cast<uint32_t>(now - LastVerifyTick) < 200)
        return 0;

    VerifyingPassword = 1;
    // Frames that piled up before the dialog are dropped, not drawn in a
    // burst; those that come while the dialog waits still animate.
    MSG pending;
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    LRESULT result = SendMessageA(window, WM_APP, 0, 0);
    CloseApproved = static_cast<int32_t>(result);
    VerifyingPassword = 0;
    if (!CloseApproved) SetCursor(nullptr); // the dialog showed it
    LastVerifyTick = ReadTickCount();
    return CloseApproved;
}

void ChangeLegacyPassword(HWND parent)
{
    HMODULE module = LoadLibraryA("MPR.DLL");
    if (!module) return;
    PasswordChangeProc change = EntryPoint<PasswordChangeProc>(module, "PwdChangePasswordA");
    if (change) change("SCRSAVE", parent, 0, 0);
    FreeLibrary(module);
}
