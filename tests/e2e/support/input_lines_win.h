// Standard input of the e2e helper programs, line by line. The programs read
// it on a thread of its own, so that their main thread goes on pumping
// messages while the driver has nothing to say.
#pragma once

#include <windows.h>
#include <string>

// Hands every line of standard input, without its "\n" or "\r\n", to
// `onLine`, and returns at the end of the input (the driver closed it).
template <typename OnLine> void ForEachInputLine(OnLine onLine)
{
    std::string pending;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &got, nullptr) && got) {
        pending.append(buffer, got);
        size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            onLine(line);
        }
    }
}
