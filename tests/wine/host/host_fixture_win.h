// Shared pieces of the host's in-process tests under Wine: resetting the
// host state between tests, the settings file's path, polling with a
// deadline, and the message log that the saver window's tests compare.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Puts every host value back to its start-up value and the end of the
// message chain back to DefWindowProcA.
void ResetHostState();
// True once ResetHostState has run in this process.
bool HostStateWasReset();

// The settings file as the profile functions find it: the Windows directory.
std::string SettingsFilePath();
void DeleteSettingsFile();
// Replaces the file with exactly these bytes, as a hand edit would.
void WriteSettingsFile(const std::string& content);
// The file's bytes; empty when there is no file.
std::string ReadSettingsFile();

// Dispatches this thread's messages until `done` holds or `milliseconds` pass.
bool PumpUntil(bool (*done)(), DWORD milliseconds);

// Removes one posted WM_CLOSE for `window` from the queue; true if there was one.
bool TakePostedClose(HWND window);
// Removes every posted WM_CLOSE for `window`.
void DropPostedCloses(HWND window);

// What the saver window's log holds, in order: each message as the window
// received it (through a recording subclass in front of HostWindowProc) and
// each message that reached the end of the chain (DefWindowProcA).
enum class Stage { Received, ReachedDefault };
struct LoggedMessage {
    Stage At;
    UINT Message;
    WPARAM WParam;
};

// Recording starts with StartLog and covers only the saver window. While it
// runs, the end of the chain answers the messages that tests send on purpose
// (input, power, system commands, help and the like) with DefaultAnswer
// instead of carrying them out, so that "the result is DefWindowProcA's" is
// visible and no system command is acted on; everything else still goes to
// DefWindowProcA.
constexpr LRESULT DefaultAnswer = 0x5EED;
void StartLog(HWND window);
void StopLog();
const std::vector<LoggedMessage>& Log();
std::string DescribeLog(const std::vector<LoggedMessage>& log);

// A parameterised case's Name as a test name: letters and digits, the rest '_'.
std::string Identifier(std::string text);
struct NameOfCase {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const
    {
        return Identifier(info.param.Name);
    }
};
