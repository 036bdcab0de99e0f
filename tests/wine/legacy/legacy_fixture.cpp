#include "legacy_fixture.h"

#include <gtest/gtest.h>
#include <vector>

static const char* const DesktopKey = "Control Panel\\Desktop";
static const char* const UsePasswordName = "ScreenSaveUsePassword";

LegacyDoublesState* Doubles()
{
    static HANDLE mapping = nullptr;
    static LegacyDoublesState* state = nullptr;
    if (!state) {
        bool created = false;
        state = OpenLegacyDoubles(&mapping, &created);
        if (!state) ADD_FAILURE() << "cannot open the stand-ins' shared block";
    }
    return state;
}

void ResetDoubles()
{
    ZeroMemory(Doubles(), sizeof(LegacyDoublesState));
}

// The value as it stood before the first test touched it.
struct SavedValue {
    bool taken;
    bool present;
    DWORD type;
    std::vector<BYTE> data;
};
static SavedValue Saved = {false, false, 0, {}};

static HKEY OpenDesktop()
{
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, DesktopKey, 0, nullptr, 0,
                                  KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
    EXPECT_EQ(result, ERROR_SUCCESS) << "cannot open HKCU\\" << DesktopKey;
    return key;
}

static void SaveUsePassword()
{
    if (Saved.taken) return;
    Saved.taken = true;
    HKEY key = OpenDesktop();
    DWORD size = 0;
    if (RegQueryValueExA(key, UsePasswordName, nullptr, &Saved.type, nullptr, &size) ==
        ERROR_SUCCESS) {
        Saved.data.resize(size);
        Saved.present = RegQueryValueExA(key, UsePasswordName, nullptr, &Saved.type,
                                         Saved.data.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
}

void SetUsePassword(DWORD type, const void* data, DWORD size)
{
    SaveUsePassword();
    HKEY key = OpenDesktop();
    EXPECT_EQ(RegSetValueExA(key, UsePasswordName, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void SetUsePassword(DWORD value)
{
    SetUsePassword(REG_DWORD, &value, sizeof value);
}

void RemoveUsePassword()
{
    SaveUsePassword();
    HKEY key = OpenDesktop();
    RegDeleteValueA(key, UsePasswordName);
    RegCloseKey(key);
}

void RestoreUsePassword()
{
    if (!Saved.taken) return;
    if (Saved.present)
        SetUsePassword(Saved.type, Saved.data.data(), static_cast<DWORD>(Saved.data.size()));
    else
        RemoveUsePassword();
}

std::string DoublesDirectory(const char* directory)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string here(path, length);
    here.erase(here.find_last_of("\\/") + 1);
    return here + "legacy-doubles\\" + directory;
}

void UseDoubles(const char* directory)
{
    EXPECT_TRUE(SetDllDirectoryA(DoublesDirectory(directory).c_str()));
}

DWORD WINAPI TestTickCount()
{
    return Doubles()->clock;
}

void ForceSaverRunningFlag(uint32_t on)
{
    UINT previous = 0;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, on, &previous, 0);
}

void BeginProtectedRun()
{
    ResetDoubles();
    ForceSaverRunningFlag(0);
    UseDoubles("verify");
    SetUsePassword(1);
}

void EndProtectedRun()
{
    ForceSaverRunningFlag(0);
    RestoreUsePassword();
    SetDllDirectoryA(nullptr);
}
