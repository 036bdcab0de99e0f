// legacy_probe.exe: the end-to-end tests' hand on the legacy platform's
// state, beside a running korumix.scr.
//
//   legacy_probe.exe                   serves commands from stdin, one line
//                                      each, fields split by tabs
//   legacy_probe.exe <command> <arg>   runs one command and exits
//
// Every answer is one line of key=value fields.
//
//   hold                      opens the stand-ins' shared block (made zeroed
//                             if nobody has it) and keeps it for the life of
//                             the probe: ok=1 created=0|1
//   reset                     zeroes the block: ok=1
//   answer <n>                the verifier's answer from now on: ok=1
//   fault <0|1>               the verifier faults instead of answering: ok=1
//   state                     calls= attaches= detaches= flagwhile= window=
//                             changecalls= provider= parent= reserved1= reserved2=
//   flag                      the saver-running flag (SPI_GETSCREENSAVERRUNNING): flag=N;
//                             a Wine process reads the system's parameters once and
//                             keeps them, so ask this of a probe started for it alone
//   setflag <0|1>             sets it (SPI_SCREENSAVERRUNNING): ok=1
//   usepassword <n>|absent    HKCU\Control Panel\Desktop ScreenSaveUsePassword
//                             as a 4-byte value, or removed: ok=1|0
//   appdefaults <exe> <version>|-
//                             HKCU\Software\Wine\AppDefaults\<exe> Version, or the
//                             key removed: ok=1|0
//   quit                      ends the probe (so does the end of stdin)
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "legacy_doubles.h"

static HANDLE Mapping = nullptr;
static LegacyDoublesState* State = nullptr;

static void Answer(const std::string& line)
{
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

static std::string Field(const char* key, unsigned long long value)
{
    return std::string(key) + "=" + std::to_string(value);
}

static bool ReadLine(std::string* line)
{
    line->clear();
    for (;;) {
        char c;
        DWORD got = 0;
        if (!ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &got, nullptr) || got == 0)
            return !line->empty();
        if (c == '\n') return true;
        if (c != '\r') line->push_back(c);
    }
}

static std::vector<std::string> Split(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

static std::string Hold()
{
    if (State) return "ok=1\tcreated=0";
    bool created = false;
    State = OpenLegacyDoubles(&Mapping, &created);
    if (!State) return "ok=0";
    return std::string("ok=1\tcreated=") + (created ? "1" : "0");
}

static std::string DescribeState()
{
    if (!State) return "error=not held";
    return Field("calls", State->calls) + "\t" + Field("attaches", State->attaches) + "\t" +
           Field("detaches", State->detaches) + "\t" + Field("flagwhile", State->flagWhileAsking) +
           "\t" + Field("window", State->lastWindow) + "\t" +
           Field("changecalls", State->changeCalls) +
           "\tprovider=" + std::string(State->changeProvider) + "\t" +
           Field("parent", State->changeParent) + "\t" +
           Field("reserved1", State->changeReserved1) + "\t" +
           Field("reserved2", State->changeReserved2);
}

static bool SetUsePassword(const std::string& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result;
    if (value == "absent") {
        result = RegDeleteValueA(key, "ScreenSaveUsePassword");
        if (result == ERROR_FILE_NOT_FOUND) result = ERROR_SUCCESS;
    } else {
        DWORD data = strtoul(value.c_str(), nullptr, 0);
        result = RegSetValueExA(key, "ScreenSaveUsePassword", 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&data), sizeof data);
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

static bool SetAppDefaults(const std::string& exe, const std::string& version)
{
    const std::string keyName = "Software\\Wine\\AppDefaults\\" + exe;
    if (version == "-") {
        LONG result = RegDeleteKeyA(HKEY_CURRENT_USER, keyName.c_str());
        return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result =
        RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                       static_cast<DWORD>(version.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

static std::string Run(const std::vector<std::string>& f)
{
    const std::string& command = f[0];
    const size_t count = f.size();
    if (command == "hold") return Hold();
    if (command == "reset" && State) {
        ZeroMemory(State, sizeof *State);
        return "ok=1";
    }
    if (command == "answer" && State && count == 2) {
        State->answer = strtol(f[1].c_str(), nullptr, 0);
        return "ok=1";
    }
    if (command == "fault" && State && count == 2) {
        State->faultWhileAsking = strtol(f[1].c_str(), nullptr, 0);
        return "ok=1";
    }
    if (command == "state") return DescribeState();
    if (command == "flag")
        return Field("flag", static_cast<unsigned long long>(ReadSaverRunningFlag()));
    if (command == "setflag" && count == 2) {
        UINT previous = 0;
        SystemParametersInfoA(SPI_SCREENSAVERRUNNING, strtoul(f[1].c_str(), nullptr, 0), &previous,
                              0);
        return "ok=1";
    }
    if (command == "usepassword" && count == 2) return SetUsePassword(f[1]) ? "ok=1" : "ok=0";
    if (command == "appdefaults" && count == 3) return SetAppDefaults(f[1], f[2]) ? "ok=1" : "ok=0";
    return "error=unknown command or block not held: " + command;
}

int main(int argc, char** argv)
{
    if (argc > 1) {
        std::vector<std::string> fields(argv + 1, argv + argc);
        Answer(Run(fields));
        return 0;
    }
    std::string line;
    while (ReadLine(&line)) {
        if (line.empty()) continue;
        std::vector<std::string> fields = Split(line);
        if (fields[0] == "quit") break;
        Answer(Run(fields));
    }
    return 0;
}
