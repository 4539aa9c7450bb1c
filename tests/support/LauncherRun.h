#pragma once
// Runs the real ConvocaLauncher.exe from a copy of the build's package and hands back its exit code, boxes and log.
#include "BoxRobot.h"
#include "Registry.h"
#include "TestFiles.h"
#include "launcher/InstallKind.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <map>

// The package ships the real update library; most tests run a copy with the recording stand-in in its place.
enum class UpdateLibrary { standIn, real };

inline std::string sessionXml(const std::string& codebase = "https://meet.convoca.com/client/") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<jnlp codebase=\"" + codebase +
           "\">\n  <information><title>Convoca</title></information>\n</jnlp>\n";
}

inline std::wstring packageDirectory() { return CONVOCA_PACKAGE_DIR_WIN; }
inline std::wstring supportDirectory() {
    return shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Tavisto\\Tavisto Convoca Launcher";
}
inline std::wstring roamingSettingsDirectory() {
    return shellFolder(CSIDL_APPDATA) + L"\\Tavisto\\Tavisto Convoca Launcher";
}

// A copy of the package below the profile folder (per user) or C:\ConvocaTests (per machine); removed with the object.
class LauncherInstall {
public:
    explicit LauncherInstall(InstallKind kind, const std::wstring& name = L"",
                             UpdateLibrary library = UpdateLibrary::standIn)
        : m_dir((kind == InstallKind::perUser ? shellFolder(CSIDL_PROFILE) : std::wstring(L"C:")) +
                L"\\ConvocaTests\\" + (name.empty() ? uniqueName(L"install") : name)) {
        removeTree(m_dir);
        EXPECT_TRUE(copyTree(packageDirectory(), m_dir)) << utf8(m_dir);
        EXPECT_TRUE(library == UpdateLibrary::real ||
                    CopyFileW(CONVOCA_STANDIN_SPARKLE_WIN, path(L"WinSparkle.dll").c_str(), FALSE));
    }
    ~LauncherInstall() { removeTree(m_dir); }
    LauncherInstall(const LauncherInstall&) = delete;
    LauncherInstall& operator=(const LauncherInstall&) = delete;

    const std::wstring& directory() const { return m_dir; }
    std::wstring exe() const { return path(L"ConvocaLauncher.exe"); }
    std::wstring path(const std::wstring& relative) const { return m_dir + L"\\" + relative; }

private:
    std::wstring m_dir;
};

struct LauncherResult {
    long exitCode = 0;
    std::vector<Box> boxes;
    std::vector<std::wstring> log; // this run's log messages

    bool logHas(const std::wstring& message) const { return std::count(log.begin(), log.end(), message) > 0; }
    // Of the messages that start with `start`.
    size_t logCount(const std::wstring& start) const {
        return std::count_if(log.begin(), log.end(),
                             [&](const std::wstring& line) { return line.rfind(start, 0) == 0; });
    }
    // Index of the first message that starts with `start`, or npos.
    size_t logFind(const std::wstring& start) const {
        for (size_t i = 0; i < log.size(); ++i)
            if (log[i].rfind(start, 0) == 0) return i;
        return std::wstring::npos;
    }
};

struct LaunchOptions {
    std::wstring commandLine;                         // instead of the exe's full path; run in the install's folder
    std::map<std::wstring, std::wstring> environment; // added to the launcher's environment
    unsigned timeoutMs = 120000;                      // for run(), after which the launcher is killed
};

// A launcher started without waiting for it; killed if it still runs when the object goes.
class LauncherProcess {
public:
    LauncherProcess(const LauncherInstall& install, const std::vector<std::wstring>& args,
                    const LaunchOptions& options = {}) {
        std::wstring commandLine = options.commandLine.empty() ? L"\"" + install.exe() + L"\"" : options.commandLine;
        for (const auto& arg : args) commandLine += L" \"" + arg + L"\"";
        // The launcher inherits this process's environment, changed for the start only.
        for (const auto& kv : options.environment) SetEnvironmentVariableW(kv.first.c_str(), kv.second.c_str());
        m_process = startProcess(install.exe().c_str(), commandLine, install.directory());
        for (const auto& kv : options.environment) SetEnvironmentVariableW(kv.first.c_str(), nullptr);
        if (!m_process) ADD_FAILURE() << "cannot start the launcher: " << GetLastError();
    }
    ~LauncherProcess() {
        if (m_process && WaitForSingleObject(m_process.get(), 0) != WAIT_OBJECT_0) {
            TerminateProcess(m_process.get(), 999);
            WaitForSingleObject(m_process.get(), 5000);
        }
    }
    long wait(unsigned timeoutMs) { return waitForExit(m_process, timeoutMs); }

private:
    handles::Process m_process;
};

// Clears what all launcher runs share: the support and roaming folders and the HKCU marker.
inline void resetLauncherUserState() {
    // A stand-in Java may still run from the working copy for a moment.
    for (int attempt = 0; attempt < 200 && !removeTree(supportDirectory()); ++attempt) Sleep(50);
    removeTree(roamingSettingsDirectory());
    regDeleteTree(HKEY_CURRENT_USER, kLauncherRegistryKey);
}

// Log messages of the newest run in the support directory's logs folder.
inline std::vector<std::wstring> lastRunLog() {
    // An uncollected current log (a run ended without shutdown) wins over the collector's last run.
    const std::wstring logs = supportDirectory() + L"\\logs";
    std::wstring pick = L"ConvocaLauncher.log";
    for (const auto& name : listFiles(logs))
        if (name.rfind(L"ConvocaLauncher_", 0) == 0) pick = name;
    return logMessages(logs + L"\\" + pick);
}

// Runs the launcher with the user state reset before and after each test.
class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override { resetLauncherUserState(); }
    void TearDown() override { resetLauncherUserState(); }

    LauncherResult run(const LauncherInstall& install, const std::vector<std::wstring>& args,
                       const LaunchOptions& options = {}) {
        removeTree(supportDirectory() + L"\\logs");
        robot.clear();
        LauncherResult result;
        result.exitCode = LauncherProcess(install, args, options).wait(options.timeoutMs);
        result.boxes = robot.boxes();
        result.log = lastRunLog();
        return result;
    }
    bool writeUserSettings(InstallKind kind, const std::string& text) {
        makeDirs(roamingSettingsDirectory());
        return writeFile(roamingSettingsDirectory() + (kind == InstallKind::perUser
                                                           ? L"\\ConvocaLauncher.properties"
                                                           : L"\\ConvocaLauncherUser.properties"),
                         text);
    }
    // A session file in the test's own folder.
    std::wstring session(const std::wstring& name = L"s.vca", const std::string& xml = sessionXml()) {
        EXPECT_TRUE(writeFile(files / name, xml));
        return files / name;
    }

    BoxRobot robot;
    TempDir files;
};
