#pragma once
// Runs the Java utility window as a child process and speaks its line
// protocol: the window writes "update" to ask for an update check; the
// launcher writes "shutdown" to close it after a successful update.
#include "childprocess/childprocess.h"
#include "platform/ShortPath.h"

#include <windows.h>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>

// What the window's command line is made of.
struct UtilityWindowPaths {
    std::wstring javaHome;
    std::wstring jarPath;
    std::wstring settingsPath;
    std::wstring cachePath;
    std::wstring version; // the launcher's, shown by the window
    bool admin = false;   // the window edits the administrator's settings too
};

// How a run of the window ended.
struct UtilityWindowResult {
    enum class Status {
        closed,     // it ran and ended; code is its exit code
        noAnsiPath, // a path has no ANSI form and nothing started; code is the conversion's error
        notStarted, // it could not be started; code is the system's error, kNoCode when there is none
        notClosed,  // its output ended but its exit code could not be learnt; code is kNoCode
    };
    static constexpr DWORD kNoCode = 0xFFFFFFFF;

    Status status = Status::closed;
    DWORD code = 0;

    bool failed() const { return status != Status::closed || code != 0; }
};

class UtilityWindowLauncher {
public:
    // onUpdateRequested is called on the thread that runs the window, for
    // each "update" it writes. Paths without an ANSI form are passed in their
    // short forms from shortPaths, which must outlive this object.
    UtilityWindowLauncher(UtilityWindowPaths paths, std::function<void()> onUpdateRequested,
                          const ShortPathSource& shortPaths = systemShortPaths());
    UtilityWindowLauncher(const UtilityWindowLauncher&) = delete;
    UtilityWindowLauncher& operator=(const UtilityWindowLauncher&) = delete;

    // Blocks until the window's output ends; onStarted (when given) is called
    // once the window's process has been created. Failures are logged.
    UtilityWindowResult run(const std::function<void()>& onStarted = nullptr);

    // Safe to call from another thread while run() reads the window's output.
    // Sends only while that output is read. False when nothing was sent or the
    // send failed, which is logged.
    bool sendCommand(const std::string& text);

private:
    void monitorOutput();
    void flushInput();
    UtilityWindowResult closeWindow();

    const UtilityWindowPaths m_paths;
    const std::function<void()> m_onUpdateRequested;
    const ShortPathSource& m_shortPaths;
    childprocess::exec_stream_t m_stream;
    std::atomic<bool> m_monitoring{false};
    // Serialises every use of in(): a send from another thread, the flush
    // before each read on the monitoring thread, and close(). Never held
    // across a blocking read.
    std::mutex m_inLock;
};
