// e2e_window.exe: looks at and pokes the windows of other Wine processes.
//
//   e2e_window.exe <command> <argument>...   runs one command and exits
//   e2e_window.exe                           serves commands from stdin, one
//                                            line each, fields split by tabs
//
// Text in and out is UTF-8; handles are unsigned decimal; numbers given may
// be decimal, 0x-hex or negative. Every answer is one line of tab-separated
// key=value fields; the window lists end with a line "end".
//
//   find <class> <title> [parent]  hwnd=H (0: none); an empty field matches any;
//                                   with a parent, among its direct children
//   wait <class> <title> <ms> [parent]
//                                   polls find until found or ms passed:
//                                   hwnd=H ms=T (H 0 when the time ran out)
//   gone <hwnd> <ms>                polls IsWindow until the window is gone:
//                                   gone=1|0 ms=T
//   info <hwnd>                     one window line (below), or hwnd=H window=0
//   list [pid]                      window lines of the top-level windows
//   children <hwnd>                 window lines of its child windows
//   post <hwnd> <msg> <wp> <lp>     PostMessageW: ok=1|0
//   send <hwnd> <msg> <wp> <lp>     SendMessageTimeoutW (5 s): result=R|timeout
//   register <name>                 RegisterWindowMessageW: message=N
//   item <hwnd> <id>                GetDlgItem: hwnd=H
//   text <hwnd>                     WM_GETTEXT: text=...
//   cbtext <hwnd> <index>           CB_GETLBTEXT: text=... (ok=0 on error)
//   focus <hwnd>                    GetGUIThreadInfo of its thread:
//                                   active=H focus=H capture=H
//   foreground                      hwnd=H
//   cursor                          GetCursorPos: x=X y=Y
//   screen                          virtual screen: x= y= width= height=
//   watch                           starts recording windows as they are made
//   created                         window lines of the top-level windows made
//                                   since watch (as seen then), clears them
//   exit <code>                     ExitProcess(code)
//   cmdline <file> [...]            writes this process's own GetCommandLineW
//                                   to file (UTF-8): shows what a launch passed
//   quit                            ends the tool (so does the end of stdin)
//
// A window line: hwnd pid tid parent owner visible style exstyle
// rect=L,T,R,B (screen) client=L,T,R,B (client area, screen coordinates)
// class title.
#include <windows.h>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "input_lines_win.h"

static const int MaxFields = 8;
static const UINT CommandMessage = WM_APP + 1;

struct Fields {
    int count;
    std::wstring field[MaxFields];
};

struct CreatedWindow {
    HWND window;
    DWORD pid;
    std::string line;
};

static std::vector<CreatedWindow> Created;
static HWINEVENTHOOK CreationHook;

static void WriteText(const std::string& text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

static std::string Utf8(const wchar_t* text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], size, nullptr, nullptr);
    return out;
}

static std::wstring Wide(const char* text, int length)
{
    int size = MultiByteToWideChar(CP_UTF8, 0, text, length, nullptr, 0);
    std::wstring out(size, L'\0');
    if (size > 0) MultiByteToWideChar(CP_UTF8, 0, text, length, &out[0], size);
    return out;
}

static unsigned long long Handle(HWND window)
{
    return static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window));
}

static long long Number(const std::wstring& text)
{
    if (!text.empty() && text[0] == L'-')
        return -static_cast<long long>(wcstoull(text.c_str() + 1, nullptr, 0));
    return static_cast<long long>(wcstoull(text.c_str(), nullptr, 0));
}

static HWND WindowArg(const std::wstring& text)
{
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(Number(text)));
}

static std::string Format(const char* format, ...)
{
    char buffer[512];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return buffer;
}

// Milliseconds on the performance counter, for the wait commands' timings.
static double NowMs()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

// The real parent (not the owner GetParent gives for a popup); 0 at the top.
static HWND ParentOf(HWND window)
{
    HWND parent = GetAncestor(window, GA_PARENT);
    return parent == GetDesktopWindow() ? nullptr : parent;
}

static std::string WindowLine(HWND window)
{
    if (!IsWindow(window)) return Format("hwnd=%llu\twindow=0", Handle(window));
    DWORD pid = 0;
    DWORD tid = GetWindowThreadProcessId(window, &pid);
    RECT rect = {}, client = {};
    GetWindowRect(window, &rect);
    GetClientRect(window, &client);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    wchar_t className[256] = L"", title[512] = L"";
    GetClassNameW(window, className, 256);
    GetWindowTextW(window, title, 512);
    std::string line =
        Format("hwnd=%llu\twindow=1\tpid=%lu\ttid=%lu\tparent=%llu\towner=%llu\tvisible=%d\t"
               "style=0x%08lx\texstyle=0x%08lx\trect=%ld,%ld,%ld,%ld\tclient=%ld,%ld,%ld,%ld",
               Handle(window), pid, tid, Handle(ParentOf(window)),
               Handle(GetWindow(window, GW_OWNER)), IsWindowVisible(window) ? 1 : 0,
               static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
               static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)), rect.left, rect.top,
               rect.right, rect.bottom, client.left, client.top, client.right, client.bottom);
    return line + "\tclass=" + Utf8(className) + "\ttitle=" + Utf8(title);
}

struct ListRequest {
    DWORD pid; // 0: every process
    std::string out;
};

static BOOL CALLBACK ListOne(HWND window, LPARAM context)
{
    ListRequest* request = reinterpret_cast<ListRequest*>(context);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (request->pid == 0 || request->pid == pid) request->out += WindowLine(window) + "\n";
    return TRUE;
}

static void CALLBACK OnWindowCreated(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child,
                                     DWORD, DWORD)
{
    if (object != OBJID_WINDOW || child != CHILDID_SELF || !window) return;
    if (ParentOf(window)) return;
    CreatedWindow entry = {window, 0, WindowLine(window)};
    GetWindowThreadProcessId(window, &entry.pid);
    Created.push_back(entry);
}

// Lets the creation events sent to this thread arrive before they are read:
// a peek handles pending sent messages and leaves the posted commands queued.
static void PumpPending()
{
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
}

// FindWindowW sees only top-level windows; a preview is a child window.
static HWND FindAmong(HWND parent, const std::wstring& className, const std::wstring& title)
{
    const wchar_t* classArg = className.empty() ? nullptr : className.c_str();
    const wchar_t* titleArg = title.empty() ? nullptr : title.c_str();
    return parent ? FindWindowExW(parent, nullptr, classArg, titleArg)
                  : FindWindowW(classArg, titleArg);
}

static std::string Run(const Fields& in)
{
    const std::wstring& command = in.field[0];
    const int count = in.count;
    if (command == L"find" && (count == 3 || count == 4)) {
        HWND parent = count == 4 ? WindowArg(in.field[3]) : nullptr;
        return Format("hwnd=%llu\n", Handle(FindAmong(parent, in.field[1], in.field[2])));
    }
    if (command == L"wait" && (count == 4 || count == 5)) {
        HWND parent = count == 5 ? WindowArg(in.field[4]) : nullptr;
        const double start = NowMs(), limit = static_cast<double>(Number(in.field[3]));
        HWND found = nullptr;
        while (!(found = FindAmong(parent, in.field[1], in.field[2])) && NowMs() - start < limit)
            Sleep(1);
        return Format("hwnd=%llu\tms=%.1f\n", Handle(found), NowMs() - start);
    }
    if (command == L"gone" && count == 3) {
        HWND window = WindowArg(in.field[1]);
        const double start = NowMs(), limit = static_cast<double>(Number(in.field[2]));
        bool gone = false;
        while (!(gone = !IsWindow(window)) && NowMs() - start < limit)
            Sleep(1);
        return Format("gone=%d\tms=%.1f\n", gone ? 1 : 0, NowMs() - start);
    }
    if (command == L"info" && count == 2) return WindowLine(WindowArg(in.field[1])) + "\n";
    if (command == L"list" && count <= 2) {
        ListRequest request = {count == 2 ? static_cast<DWORD>(Number(in.field[1])) : 0, ""};
        EnumWindows(ListOne, reinterpret_cast<LPARAM>(&request));
        return request.out + "end\n";
    }
    if (command == L"children" && count == 2) {
        ListRequest request = {0, ""};
        EnumChildWindows(WindowArg(in.field[1]), ListOne, reinterpret_cast<LPARAM>(&request));
        return request.out + "end\n";
    }
    if ((command == L"post" || command == L"send") && count == 5) {
        HWND window = WindowArg(in.field[1]);
        UINT message = static_cast<UINT>(Number(in.field[2]));
        WPARAM wParam = static_cast<WPARAM>(Number(in.field[3]));
        LPARAM lParam = static_cast<LPARAM>(Number(in.field[4]));
        if (command == L"post")
            return Format("ok=%d\n", PostMessageW(window, message, wParam, lParam) ? 1 : 0);
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result))
            return "result=timeout\n";
        return Format("result=%lld\n", static_cast<long long>(static_cast<LONG_PTR>(result)));
    }
    if (command == L"register" && count == 2)
        return Format("message=%u\n", RegisterWindowMessageW(in.field[1].c_str()));
    if (command == L"item" && count == 3)
        return Format("hwnd=%llu\n", Handle(GetDlgItem(WindowArg(in.field[1]),
                                                       static_cast<int>(Number(in.field[2])))));
    if (command == L"text" && count == 2) {
        static wchar_t text[4096];
        text[0] = 0;
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutW(WindowArg(in.field[1]), WM_GETTEXT, 4096,
                                 reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length))
            return "ok=0\n";
        return "text=" + Utf8(text) + "\n";
    }
    if (command == L"cbtext" && count == 3) {
        HWND combo = WindowArg(in.field[1]);
        WPARAM index = static_cast<WPARAM>(Number(in.field[2]));
        LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
        if (length == CB_ERR || length < 0 || length > 4000) return "ok=0\n";
        static wchar_t text[4096];
        text[0] = 0;
        if (SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text)) == CB_ERR)
            return "ok=0\n";
        return "text=" + Utf8(text) + "\n";
    }
    if (command == L"focus" && count == 2) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        DWORD tid = GetWindowThreadProcessId(WindowArg(in.field[1]), nullptr);
        if (!tid || !GetGUIThreadInfo(tid, &info)) return "ok=0\n";
        return Format("active=%llu\tfocus=%llu\tcapture=%llu\n", Handle(info.hwndActive),
                      Handle(info.hwndFocus), Handle(info.hwndCapture));
    }
    if (command == L"foreground" && count == 1)
        return Format("hwnd=%llu\n", Handle(GetForegroundWindow()));
    if (command == L"cursor" && count == 1) {
        POINT point = {};
        if (!GetCursorPos(&point)) return "ok=0\n";
        return Format("x=%ld\ty=%ld\n", point.x, point.y);
    }
    if (command == L"screen" && count == 1)
        return Format("x=%d\ty=%d\twidth=%d\theight=%d\n", GetSystemMetrics(SM_XVIRTUALSCREEN),
                      GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      GetSystemMetrics(SM_CYVIRTUALSCREEN));
    if (command == L"watch" && count == 1) {
        Created.clear();
        if (!CreationHook)
            CreationHook =
                SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, OnWindowCreated,
                                0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
        return Format("ok=%d\n", CreationHook ? 1 : 0);
    }
    if (command == L"created" && count == 1) {
        PumpPending();
        std::string out;
        for (const CreatedWindow& entry : Created)
            out += entry.line + "\n";
        Created.clear();
        return out + "end\n";
    }
    if (command == L"exit" && count == 2) ExitProcess(static_cast<UINT>(Number(in.field[1])));
    if (command == L"cmdline" && count >= 2) {
        std::string text = Utf8(GetCommandLineW());
        HANDLE file = CreateFileW(in.field[1].c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        bool ok = file != INVALID_HANDLE_VALUE &&
                  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        return Format("ok=%d\n", ok ? 1 : 0);
    }
    return "error=unknown command or wrong number of fields\n";
}

static Fields Split(const std::wstring& line)
{
    Fields out = {};
    size_t start = 0;
    while (out.count < MaxFields) {
        size_t tab = line.find(L'\t', start);
        out.field[out.count++] = line.substr(start, tab == std::wstring::npos ? tab : tab - start);
        if (tab == std::wstring::npos) break;
        start = tab + 1;
    }
    return out;
}

// Reads stdin on its own thread so that the main thread can pump messages
// (the creation hook's events arrive as messages) while it waits for input.
static DWORD WINAPI ReadCommands(void* mainThread)
{
    const DWORD target = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(mainThread));
    ForEachInputLine([target](const std::string& line) {
        std::wstring* wide = new std::wstring(Wide(line.data(), static_cast<int>(line.size())));
        PostThreadMessageW(target, CommandMessage, 0, reinterpret_cast<LPARAM>(wide));
    });
    PostThreadMessageW(target, WM_QUIT, 0, 0);
    return 0;
}

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1) {
        Fields in = {};
        for (int i = 1; i < argc && in.count < MaxFields; ++i)
            in.field[in.count++] = argv[i];
        WriteText(Run(in));
        return 0;
    }

    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue must exist first
    CreateThread(nullptr, 0, ReadCommands,
                 reinterpret_cast<void*>(static_cast<ULONG_PTR>(GetCurrentThreadId())), 0, nullptr);
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == CommandMessage && !message.hwnd) {
            std::wstring* line = reinterpret_cast<std::wstring*>(message.lParam);
            Fields in = Split(*line);
            delete line;
            if (in.field[0] == L"quit") break;
            WriteText(Run(in));
            continue;
        }
        DispatchMessageW(&message);
    }
    return 0;
}
