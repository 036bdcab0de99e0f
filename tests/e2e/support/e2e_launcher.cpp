// e2e_launcher.exe: starts one Windows command line and reports the child's
// full 32-bit exit code, which Linux cannot see (it keeps only the low 8 bits).
//
//   e2e_launcher.exe [-k] "<command line>"
//
// The command line is handed to CreateProcessW exactly as given, so a test
// controls every byte the child's GetCommandLine returns (quotes, blanks).
// Output, one short line each (written whole, not through the CRT):
//   pid <windows pid>        once the child runs
//   exit <unsigned code>     when it has ended
//   error <GetLastError>     when it could not be started (exit code 2)
// With -k the launcher also watches its stdin: any input, or its end (the
// driver closed the pipe or died), terminates the child, so nothing started
// by a test outlives it. The child also sits in a job that is killed when the
// launcher's last handle to it goes, which covers a launcher killed outright.
#include <windows.h>
#include <cstdio>
#include <cwchar>

static HANDLE Child;

static void WriteLine(const char* text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(strlen(text)), &written,
              nullptr);
}

static DWORD WINAPI WatchInput(void*)
{
    char buffer[64];
    DWORD got = 0;
    ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &got, nullptr);
    TerminateProcess(Child, 1);
    return 0;
}

int wmain(int argc, wchar_t** argv)
{
    int next = 1;
    bool watchInput = false;
    if (next < argc && wcscmp(argv[next], L"-k") == 0) {
        watchInput = true;
        ++next;
    }
    if (next + 1 != argc) {
        WriteLine("usage: e2e_launcher.exe [-k] \"<command line>\"\n");
        return 2;
    }

    // CreateProcessW may write into the command line, so it gets a copy.
    static wchar_t commandLine[32768];
    wcsncpy(commandLine, argv[next], 32767);

    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job)
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &process)) {
        char line[64];
        snprintf(line, sizeof line, "error %lu\n", GetLastError());
        WriteLine(line);
        return 2;
    }
    if (job) AssignProcessToJobObject(job, process.hProcess);
    Child = process.hProcess;
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);

    char line[64];
    snprintf(line, sizeof line, "pid %lu\n", process.dwProcessId);
    WriteLine(line);
    if (watchInput) CreateThread(nullptr, 0, WatchInput, nullptr, 0, nullptr);

    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    snprintf(line, sizeof line, "exit %lu\n", code);
    WriteLine(line);
    return 0;
}
