#include "host_fixture_win.h"

#include <cstdio>

#include "animation/saver_proc_win.h"
#include "host/host_state_win.h"
#include "host/host_window_win.h"

static bool WasReset = false;

bool HostStateWasReset()
{
    return WasReset;
}

void ResetHostState()
{
    WasReset = true;
    ModuleInstance = GetModuleHandleA(nullptr);
    SaverWindow = nullptr;
    PreviewMode = 0;
    LegacyPlatform = 0;
    CloseApproved = 0;
    VerifyingPassword = 0;
    PasswordVerifier = nullptr;
    CancelAutoPlayMessage = 0;
    LastCursorPos = {0, 0};
    MouseMoveThreshold = 4;
    LastAcLineStatus = 255;
    LastVerifyTick = 0xFFFFFFFFu;
    EndOfChain = DefWindowProcA;
    ReadPowerStatus = GetSystemPowerStatus;
}

std::string SettingsFilePath()
{
    char directory[MAX_PATH] = {};
    GetWindowsDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\KORUMIX.ini";
}

void DeleteSettingsFile()
{
    // The profile functions may hold the file's content in a cache; an empty
    // write for a null file name flushes it.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "KORUMIX.ini");
    DeleteFileA(SettingsFilePath().c_str());
}

void WriteSettingsFile(const std::string& content)
{
    DeleteSettingsFile();
    HANDLE file = CreateFileA(SettingsFilePath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadSettingsFile()
{
    HANDLE file = CreateFileA(SettingsFilePath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string content;
    char buffer[1024];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        content.append(buffer, got);
    CloseHandle(file);
    return content;
}

bool PumpUntil(bool (*done)(), DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done()) return true;
        if (GetTickCount() - start > milliseconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

bool TakePostedClose(HWND window)
{
    MSG message;
    return PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
}

void DropPostedCloses(HWND window)
{
    while (TakePostedClose(window)) {
    }
}

static HWND LoggedWindow = nullptr;
static WNDPROC LoggedWindowProc = nullptr;
static std::vector<LoggedMessage> Entries;

static bool AnsweredWithoutDefault(UINT message)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_ACTIVATEAPP:
    case WM_POWER:
    case WM_POWERBROADCAST:
    case WM_SYSCOMMAND:
    case WM_HELP:
    case WM_CONTEXTMENU:
    case WM_SETCURSOR:
    case WM_SHOWWINDOW:
    case WM_TIMER:
    case WM_APP:
    case WM_NULL: return true;
    }
    return message >= 0xC000 && message <= 0xFFFF; // registered messages
}

static LRESULT CALLBACK RecordingDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window == LoggedWindow) {
        Entries.push_back({Stage::ReachedDefault, message, wParam});
        if (AnsweredWithoutDefault(message)) return DefaultAnswer;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static LRESULT CALLBACK RecordingSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window == LoggedWindow) Entries.push_back({Stage::Received, message, wParam});
    return CallWindowProcA(LoggedWindowProc, window, message, wParam, lParam);
}

void StartLog(HWND window)
{
    Entries.clear();
    LoggedWindow = window;
    if (!LoggedWindowProc) {
        LoggedWindowProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingSubclass)));
    }
    EndOfChain = RecordingDefault;
}

void StopLog()
{
    if (LoggedWindowProc && IsWindow(LoggedWindow)) {
        SetWindowLongPtrA(LoggedWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LoggedWindowProc));
    }
    LoggedWindowProc = nullptr;
    LoggedWindow = nullptr;
    EndOfChain = DefWindowProcA;
}

const std::vector<LoggedMessage>& Log()
{
    return Entries;
}

std::string DescribeLog(const std::vector<LoggedMessage>& log)
{
    std::string text;
    for (const LoggedMessage& entry : log) {
        char line[80];
        std::snprintf(line, sizeof line, "  %s 0x%04x wParam 0x%llx\n",
                      entry.At == Stage::Received ? "received" : "default ", entry.Message,
                      static_cast<unsigned long long>(entry.WParam));
        text += line;
    }
    return text.empty() ? "  (nothing)\n" : text;
}

std::string Identifier(std::string text)
{
    for (char& ch : text)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return text;
}
