#pragma once
// Runs the Java settings window as a child process and speaks its line
// protocol: the window writes "update" to ask for an update check; the
// launcher writes "shutdown" to close it after a successful update.
#include "platform/ShortPath.h"

#include <windows.h>
#include <string>

class UtilityWindowLauncher {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void updateRequested() = 0;
    };

    static void setPaths(const std::wstring& javaHome, const std::wstring& jarPath);

    // Returned when the window's streams could not be closed or its exit
    // code not learnt (it kept running after its output ended).
    static constexpr DWORD kWindowFailed = 0xFFFFFFFF;

    // Blocks until the window's output ends. Returns the window's exit code,
    // kWindowFailed, or the error code of a path that has no ANSI form
    // (nothing started). Throws childprocess::exec_stream_t::error_t when the window
    // cannot be started.
    // Paths without an ANSI form are passed in their short forms from
    // shortPaths.
    static DWORD run(const std::wstring& settingsPath, const std::wstring& cachePath, const std::wstring& version,
                     Listener* listener, bool perMachine, const ShortPathSource& shortPaths = systemShortPaths());

    // Safe to call from another thread while run() reads the window's output.
    static void sendCommand(const std::string& text);

    // True while the output monitor runs.
    static bool isMonitoring();

private:
    static void monitorOutput();
};
