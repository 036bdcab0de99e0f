// The entry of legacy9x_tests: the tests must run in a process that Wine
// shows the legacy platform family to. Wine does that for an executable
// named under HKCU\Software\Wine\AppDefaults with Version = win98, read when
// the process starts; so a run that finds itself on the NT family writes that
// value for its own name, runs itself again and hands back the child's result.
#include <gtest/gtest.h>

#include <windows.h>
#include <string>

static bool OnLegacyFamily()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

static std::string AppDefaultsKey()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, length);
    name.erase(0, name.find_last_of("\\/") + 1);
    return "Software\\Wine\\AppDefaults\\" + name;
}

static int RunOnLegacyFamily()
{
    const std::string keyName = AppDefaultsKey();
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        fprintf(stderr, "cannot write HKCU\\%s\n", keyName.c_str());
        return 1;
    }
    static const char version[] = "win98";
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   sizeof version);
    RegCloseKey(key);

    std::string commandLine = GetCommandLineA();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    DWORD code = 1;
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &child)) {
        WaitForSingleObject(child.hProcess, INFINITE);
        GetExitCodeProcess(child.hProcess, &code);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    } else {
        fprintf(stderr, "cannot start the legacy-family run: %lu\n", GetLastError());
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, keyName.c_str());
    return static_cast<int>(code);
}

int main(int argc, char** argv)
{
    if (!OnLegacyFamily()) {
        // A child that still sees the NT family would start itself again.
        if (GetEnvironmentVariableA("KORUMIX_LEGACY9X_CHILD", nullptr, 0) != 0) {
            fprintf(stderr, "Wine did not imitate the legacy platform family\n");
            return 1;
        }
        SetEnvironmentVariableA("KORUMIX_LEGACY9X_CHILD", "1");
        return RunOnLegacyFamily();
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
