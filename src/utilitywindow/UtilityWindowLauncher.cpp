#include "utilitywindow/UtilityWindowLauncher.h"

#include "childprocess/childprocess.h"
#include "logging/Logger.h"
#include "logging/AnsiPathLog.h"
#include "platform/ShortPath.h"
#include "platform/Text.h"

#include <atomic>
#include <mutex>
#include <vector>

using childprocess::exec_stream_t;

namespace {

// The process-wide state of the settings window's run.
struct State {
    std::wstring javaHome;
    std::wstring jarPath;
    exec_stream_t stream;
    UtilityWindowLauncher::Listener* listener = nullptr;
    std::atomic<bool> monitoring{false};
    // Serialises every use of in(): a send from the update library's thread,
    // the flush before each read on the monitoring thread, and close().
    // Never held across a blocking read.
    std::mutex inLock;
};

State& state() {
    static State instance;
    return instance;
}

const DWORD kOutputWaitMs = 0x7FFFFFFF;

tvs::Logger& logger() { return tvs::Logger::getInstance(); }

// What the tie between the streams would do, under the lock. A window that
// no longer reads its input must not stop the launcher reading its output.
void flushInput(State& s) {
    std::lock_guard<std::mutex> lock(s.inLock);
    std::ostream& in = s.stream.in();
    if (!in.good()) return;
    try {
        in.flush();
    } catch (const std::exception& e) {
        logger().log(L"Failed to send to UtilityWindow: %hs", e.what());
    }
}

bool readLine(State& s, std::string& line) {
    flushInput(s);
    return static_cast<bool>(std::getline(s.stream.out(), line, '\n'));
}

// The window's exit code once its streams are closed; a failure to close
// them or to learn the code is logged and counts as a failed window.
DWORD closeWindow(State& s) {
    try {
        std::lock_guard<std::mutex> lock(s.inLock);
        s.stream.close();
    } catch (const std::exception& e) {
        // The child is reaped even then: its exit code still counts.
        logger().log(L"Failed to close UtilityWindow: %hs", e.what());
    }
    try {
        return s.stream.exit_code();
    } catch (const std::exception& e) {
        logger().log(L"Failed to read the exit code of UtilityWindow: %hs", e.what());
        return UtilityWindowLauncher::kWindowFailed;
    }
}

// The window's paths in the ANSI code page, short forms where need be. The
// settings file and its folder may not exist yet: their nearest existing
// folder gives the short form.
bool ansiPath(const std::wstring& path, const ShortPathSource& shortPaths, std::string& text) {
    return toLoggedAnsiPath(path, shortPaths, L"the UtilityWindow is", text);
}

} // namespace

void UtilityWindowLauncher::setPaths(const std::wstring& javaHome, const std::wstring& jarPath) {
    state().javaHome = javaHome;
    state().jarPath = jarPath;
}

bool UtilityWindowLauncher::isMonitoring() { return state().monitoring.load(); }

DWORD UtilityWindowLauncher::run(const std::wstring& settingsPath, const std::wstring& cachePath,
                                 const std::wstring& version, Listener* listener, bool perMachine,
                                 const ShortPathSource& shortPaths) {
    State& s = state();
    s.listener = listener;
    std::string program;
    std::vector<std::string> arguments{
        "-classpath", "", "com.tavisto.launcher.utility.Main", "-settings", "", "-cache", "", "-version", ""};
    if (!ansiPath(s.javaHome + L"\\bin\\java.exe", shortPaths, program) ||
        !ansiPath(s.jarPath, shortPaths, arguments[1]) || !ansiPath(settingsPath, shortPaths, arguments[4]) ||
        !ansiPath(cachePath, shortPaths, arguments[6]) || !toAnsi(version, arguments[8]))
        return GetLastError();
    if (perMachine) arguments.push_back("-admin");

    s.stream.set_wait_timeout(exec_stream_t::kind_out | exec_stream_t::kind_err, kOutputWaitMs);
    logger().log(L"Starting UtilityWindow");
    s.stream.start(program, arguments.begin(), arguments.end());
    s.stream.out().tie(nullptr);
    s.monitoring = true;
    monitorOutput();
    return closeWindow(s);
}

void UtilityWindowLauncher::monitorOutput() {
    State& s = state();
    try {
        std::string line;
        while (s.stream.out().good()) {
            if (!readLine(s, line) || line.empty()) continue;
            logger().log(L"Received from UtilityWindow: '%hs'", line.c_str());
            if (line == "update") {
                if (s.listener) s.listener->updateRequested();
            } else {
                logger().log(L"Unrecognized command: '%hs'", line.c_str());
            }
        }
        s.monitoring = false;
    } catch (const std::exception& e) {
        s.monitoring = false;
        logger().log(L"Exception monitoring UtilityWindow output: %hs", e.what());
    } catch (...) {
        s.monitoring = false;
        logger().log(L"Caught unknown throw");
    }
}

void UtilityWindowLauncher::sendCommand(const std::string& text) {
    State& s = state();
    logger().log(L"Sending to UtilityWindow: '%hs'", text.c_str());
    std::lock_guard<std::mutex> lock(s.inLock);
    s.stream.in() << text << std::endl << std::flush;
}
