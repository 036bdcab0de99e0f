// Stand-in for "MPR.DLL": its "PwdChangePasswordA" records how it was called.
#include "legacy_doubles.h"

#include <cstring>

static HANDLE Mapping = nullptr;
static LegacyDoublesState* State = nullptr;

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(const char* provider, HWND parent, UINT reserved1, UINT reserved2)
{
    if (!State) return ERROR_NOT_SUPPORTED;
    State->changeCalls++;
    strncpy(State->changeProvider, provider ? provider : "(null)",
            sizeof State->changeProvider - 1);
    State->changeParent = reinterpret_cast<uintptr_t>(parent);
    State->changeReserved1 = reserved1;
    State->changeReserved2 = reserved2;
    return ERROR_SUCCESS;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        bool created = false;
        State = OpenLegacyDoubles(&Mapping, &created);
        return State != nullptr;
    }
    if (reason == DLL_PROCESS_DETACH && State) {
        UnmapViewOfFile(State);
        CloseHandle(Mapping);
        State = nullptr;
    }
    return TRUE;
}
