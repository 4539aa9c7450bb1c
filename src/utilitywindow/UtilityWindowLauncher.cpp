#include "utilitywindow/UtilityWindowLauncher.h"

#include "logging/Logger.h"
#include "logging/AnsiPathLog.h"
#include "platform/Text.h"

#include <vector>

using childprocess::exec_stream_t;

namespace {

const DWORD kOutputWaitMs = 0x7FFFFFFF;

tvs::Logger& logger() { return tvs::Logger::getInstance(); }

// The window's paths in the ANSI code page, short forms where need be. The
// settings file and its folder may not exist yet: their nearest existing
// folder gives the short form.
Win32Result ansiPath(const std::wstring& path, const ShortPathSource& shortPaths, std::string& text) {
    return toLoggedAnsiPath(path, shortPaths, L"the UtilityWindow is", text);
}

} // namespace

UtilityWindowLauncher::UtilityWindowLauncher(UtilityWindowPaths paths, std::function<void()> onUpdateRequested,
                                             const ShortPathSource& shortPaths)
    : m_paths(std::move(paths)), m_onUpdateRequested(std::move(onUpdateRequested)), m_shortPaths(shortPaths) {}

UtilityWindowResult UtilityWindowLauncher::run(const std::function<void()>& onStarted) {
    using Status = UtilityWindowResult::Status;
    std::string program;
    std::vector<std::string> arguments{
        "-classpath", "", "com.tavisto.launcher.utility.Main", "-settings", "", "-cache", "", "-version", ""};
    Win32Result converted;
    if (!(converted = ansiPath(m_paths.javaHome + L"\\bin\\java.exe", m_shortPaths, program)) ||
        !(converted = ansiPath(m_paths.jarPath, m_shortPaths, arguments[1])) ||
        !(converted = ansiPath(m_paths.settingsPath, m_shortPaths, arguments[4])) ||
        !(converted = ansiPath(m_paths.cachePath, m_shortPaths, arguments[6])) ||
        !(converted = toAnsi(m_paths.version, arguments[8])))
        return {Status::noAnsiPath, converted.error()};
    if (m_paths.admin) arguments.push_back("-admin");

    logger().log(L"Starting UtilityWindow");
    try {
        m_stream.set_wait_timeout(exec_stream_t::kind_out | exec_stream_t::kind_err, kOutputWaitMs);
        m_stream.start(program, arguments.begin(), arguments.end());
    } catch (const exec_stream_t::error_t& e) {
        logger().log(L"Failed to start UtilityWindow: %hs", e.what());
        return {Status::notStarted, e.code()};
    }
    if (onStarted) onStarted();
    m_stream.out().tie(nullptr);
    m_monitoring = true;
    monitorOutput();
    return closeWindow();
}

// What the tie between the streams would do, under the lock. A window that
// no longer reads its input must not stop the launcher reading its output.
void UtilityWindowLauncher::flushInput() {
    std::lock_guard<std::mutex> lock(m_inLock);
    std::ostream& in = m_stream.in();
    if (!in.good()) return;
    try {
        in.flush();
    } catch (const std::exception& e) {
        logger().log(L"Failed to send to UtilityWindow: %hs", e.what());
    }
}

void UtilityWindowLauncher::monitorOutput() {
    try {
        std::string line;
        while (m_stream.out().good()) {
            flushInput();
            if (!std::getline(m_stream.out(), line, '\n') || line.empty()) continue;
            logger().log(L"Received from UtilityWindow: '%hs'", line.c_str());
            if (line == "update") {
                if (m_onUpdateRequested) m_onUpdateRequested();
            } else {
                logger().log(L"Unrecognized command: '%hs'", line.c_str());
            }
        }
    } catch (const std::exception& e) {
        logger().log(L"Exception monitoring UtilityWindow output: %hs", e.what());
    } catch (...) {
        logger().log(L"Caught unknown throw");
    }
    m_monitoring = false;
}

// The window's exit code once its streams are closed; a failure to close
// them or to learn the code is logged, and only the latter fails the run.
UtilityWindowResult UtilityWindowLauncher::closeWindow() {
    try {
        std::lock_guard<std::mutex> lock(m_inLock);
        m_stream.close();
    } catch (const std::exception& e) {
        // The child is reaped even then: its exit code still counts.
        logger().log(L"Failed to close UtilityWindow: %hs", e.what());
    }
    try {
        return {UtilityWindowResult::Status::closed, m_stream.exit_code()};
    } catch (const std::exception& e) {
        logger().log(L"Failed to read the exit code of UtilityWindow: %hs", e.what());
        return {UtilityWindowResult::Status::notClosed, UtilityWindowResult::kNoCode};
    }
}

bool UtilityWindowLauncher::sendCommand(const std::string& text) {
    if (!m_monitoring) return false;
    logger().log(L"Sending to UtilityWindow: '%hs'", text.c_str());
    try {
        std::lock_guard<std::mutex> lock(m_inLock);
        m_stream.in() << text << std::endl << std::flush;
        return true;
    } catch (const std::exception& e) {
        logger().log(L"Failed to send %hs to UtilityWindow: %hs", text.c_str(), e.what());
        return false;
    }
}
