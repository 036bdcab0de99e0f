// What the stand-ins for the legacy platform's password modules share with
// the tests: one named block of memory that lives while any process of the
// Wine session holds it open. The tests (and the end-to-end helper) set the
// verifier's behaviour there and read what the stand-ins saw; the stand-ins
// keep nothing of their own, so their records outlive every FreeLibrary.
// Whoever makes the block first gets it zeroed: a stand-in loaded with
// nobody holding the block refuses every password.
#pragma once

#include <windows.h>
#include <cstdint>

#define LEGACY_DOUBLES_MAPPING "KorumixLegacyDoubles"

struct PostedInput {
    UINT message; // 0 ends the list
    uint32_t wParam;
    uint32_t lParam;
};

struct LegacyDoublesState {
    // The verifier ("VerifyScreenSavePwd" of the PASSWORD.CPL stand-in).
    LONG answer;                    // what it returns
    DWORD pumpMilliseconds;         // runs a message loop this long, as its dialog would
    PostedInput postWhileAsking[4]; // posted to the saver window before that loop
    DWORD clockAdvance;             // added to clock while it asks: a slow user
    LONG showCursor;                // shows the arrow, as its dialog would
    LONG faultWhileAsking;          // writes through a null pointer instead of answering

    LONG calls;
    uint64_t lastWindow;
    LONG flagWhileAsking;     // the saver-running flag when it was last called
    LONG timerMessagesPumped; // WM_TIMER its loop dispatched to the window
    LONG closesPumped;        // WM_CLOSE its loop dispatched to the window
    LONG attaches;            // loads and unloads of either PASSWORD.CPL stand-in,
    LONG detaches;            // with the saver-running flag seen at each
    LONG flagAtAttach;
    LONG flagAtDetach;

    // The tests' tick count (ReadTickCount points at a reader of it).
    DWORD clock;

    // "PwdChangePasswordA" of the MPR.DLL stand-in.
    LONG changeCalls;
    char changeProvider[16];
    uint64_t changeParent;
    uint32_t changeReserved1;
    uint32_t changeReserved2;
};

// Opens (or makes, zeroed) the shared block; null when that fails. The
// handle stays open for the life of the caller's module.
inline LegacyDoublesState* OpenLegacyDoubles(HANDLE* mapping, bool* created)
{
    *mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  sizeof(LegacyDoublesState), LEGACY_DOUBLES_MAPPING);
    if (!*mapping) return nullptr;
    *created = GetLastError() != ERROR_ALREADY_EXISTS;
    return static_cast<LegacyDoublesState*>(
        MapViewOfFile(*mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(LegacyDoublesState)));
}

inline LONG ReadSaverRunningFlag()
{
    BOOL running = 0;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running;
}
