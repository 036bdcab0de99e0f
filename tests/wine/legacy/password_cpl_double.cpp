// Stand-in for the legacy platform's "PASSWORD.CPL". Built twice: with its
// "VerifyScreenSavePwd", which answers and behaves as the shared block says,
// and without it (KORUMIX_WITHOUT_VERIFIER), a module the saver must free
// again at once.
#include "legacy_doubles.h"

static HANDLE Mapping = nullptr;
static LegacyDoublesState* State = nullptr;

#ifndef KORUMIX_WITHOUT_VERIFIER
// Dispatches what reaches the thread, as a modal dialog's loop would, until
// the time is up (or at once when no time is given and the queue is empty).
static void PumpMessages(HWND window, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam)); // for the saver's own loop
                return;
            }
            if (message.hwnd == window && message.message == WM_TIMER)
                InterlockedIncrement(&State->timerMessagesPumped);
            if (message.hwnd == window && message.message == WM_CLOSE)
                InterlockedIncrement(&State->closesPumped);
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window)
{
    if (!State) return 0;
    InterlockedIncrement(&State->calls);
    State->lastWindow = reinterpret_cast<uintptr_t>(window);
    State->flagWhileAsking = ReadSaverRunningFlag();
    if (State->faultWhileAsking) *static_cast<volatile LONG*>(nullptr) = 1;
    if (State->showCursor) SetCursor(LoadCursor(nullptr, IDC_ARROW));
    for (const PostedInput& input : State->postWhileAsking) {
        if (!input.message) break;
        PostMessageA(window, input.message, input.wParam, input.lParam);
    }
    PumpMessages(window, State->pumpMilliseconds);
    State->clock += State->clockAdvance;
    return State->answer;
}
#endif

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        bool created = false;
        State = OpenLegacyDoubles(&Mapping, &created);
        if (!State) return FALSE;
        State->flagAtAttach = ReadSaverRunningFlag();
        InterlockedIncrement(&State->attaches);
    } else if (reason == DLL_PROCESS_DETACH && State) {
        State->flagAtDetach = ReadSaverRunningFlag();
        InterlockedIncrement(&State->detaches);
        UnmapViewOfFile(State);
        CloseHandle(Mapping);
        State = nullptr;
    }
    return TRUE;
}
