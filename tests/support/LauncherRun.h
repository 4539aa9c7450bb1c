#pragma once
// Runs the real ConvocaLauncher.exe from a copy of the build's package and hands back its exit code, boxes and log.
#include "BoxRobot.h"
#include "Registry.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <map>

enum class Deployment { perUser, perMachine };
// The package ships the real update library; most tests run a copy with the recording stand-in in its place.
enum class UpdateLibrary { standIn, real };

inline std::string sessionXml(const std::string& codebase = "https://meet.convoca.com/client/") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<jnlp codebase=\"" + codebase +
           "\">\n  <information><title>Convoca</title></information>\n</jnlp>\n";
}

inline std::wstring packageDirectory() { return CONVOCA_PACKAGE_DIR_WIN; }
inline std::wstring testBinDirectory() { return CONVOCA_TEST_BIN_DIR_WIN; }
std::wstring supportDirectory();         // %LOCALAPPDATA%\Tavisto\Tavisto Convoca Launcher
std::wstring roamingSettingsDirectory(); // %APPDATA%\Tavisto\Tavisto Convoca Launcher

// A copy of the package below the profile folder (per user) or C:\ConvocaTests (per machine); removed with the object.
class LauncherInstall {
public:
    explicit LauncherInstall(Deployment kind, const std::wstring& name = L"",
                             UpdateLibrary library = UpdateLibrary::standIn);
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
    size_t logCount(const std::wstring& start) const; // of the messages that start with `start`
    // Index of the first message at or after `from` that starts with `start`, or npos.
    size_t logFind(const std::wstring& start) const;
};

struct LaunchOptions {
    std::wstring commandLine;                         // instead of the exe's full path; run in the install's folder
    std::map<std::wstring, std::wstring> environment; // added to the launcher's environment
};

// A launcher started without waiting for it; killed if it still runs when the object goes.
class LauncherProcess {
public:
    LauncherProcess(const LauncherInstall& install, const std::vector<std::wstring>& args,
                    const LaunchOptions& options = {});
    ~LauncherProcess() { kill(); }
    long wait(unsigned timeoutMs) { return waitForExit(m_process, timeoutMs); }
    void kill();

private:
    handles::Process m_process;
};

// Clears what all launcher runs share: the support and roaming folders and the HKCU marker.
void resetLauncherUserState();
// Log messages of the newest run in the support directory's logs folder.
std::vector<std::wstring> lastRunLog();

// Runs the launcher with the user state reset before and after each test.
class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override { resetLauncherUserState(); }
    void TearDown() override { resetLauncherUserState(); }

    LauncherResult run(const LauncherInstall& install, const std::vector<std::wstring>& args,
                       const LaunchOptions& options = {});
    // Writes the user's roaming settings file for the deployment kind.
    bool writeUserSettings(Deployment kind, const std::string& text);
    // A session file in the test's own folder.
    std::wstring session(const std::wstring& name = L"s.vca", const std::string& xml = sessionXml()) {
        EXPECT_TRUE(writeFile(files / name, xml));
        return files / name;
    }

    BoxRobot robot;
    TempDir files;
};
