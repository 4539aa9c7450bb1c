#pragma once
// End-to-end support: lays out an install folder from the build's package,
// runs the real ConvocaLauncher.exe in it as a separate process, and hands
// back the exit code, the boxes shown and the lines of that run's log.
#include "BoxRobot.h"
#include "Registry.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

enum class Deployment { perUser, perMachine };

std::wstring packageDirectory();        // build/x64/package as a Windows path
std::wstring testBinDirectory();        // where the test programs and helpers are
std::wstring supportDirectory();        // %LOCALAPPDATA%\Tavisto\Tavisto Convoca Launcher
std::wstring roamingSettingsDirectory(); // %APPDATA%\Tavisto\Tavisto Convoca Launcher

// A copy of the package. Per user it lies below the user's profile folder;
// per machine below C:\ConvocaTests. Removed again when the object goes.
class LauncherInstall {
public:
    explicit LauncherInstall(Deployment kind, const std::wstring& name = L"");
    ~LauncherInstall();
    LauncherInstall(const LauncherInstall&) = delete;
    LauncherInstall& operator=(const LauncherInstall&) = delete;

    const std::wstring& directory() const { return m_dir; }
    std::wstring exe() const { return m_dir + L"\\ConvocaLauncher.exe"; }
    std::wstring path(const std::wstring& relative) const { return m_dir + L"\\" + relative; }
    Deployment kind() const { return m_kind; }

    // The administrator file beside the exe (per machine).
    bool writeAdminSettings(const std::string& text) const;

private:
    Deployment m_kind;
    std::wstring m_dir;
};

struct LauncherResult {
    long exitCode = 0;
    bool timedOut = false;
    std::vector<Box> boxes;
    std::vector<std::wstring> log;      // this run's log lines, timestamps removed

    bool logHas(const std::wstring& message) const;
    size_t logCount(const std::wstring& message) const;
    // Index of the first line equal to message at or after `from`, or npos.
    size_t logFind(const std::wstring& message, size_t from = 0) const;
};

struct LaunchOptions {
    unsigned timeoutMs = 120000;
    std::wstring commandLine;               // the whole command line, instead of exe + args
    std::wstring workingDirectory;
    std::map<std::wstring, std::wstring> environment; // added to the launcher's environment
};

// A launcher started without waiting for it, for tests that watch or kill it.
class LauncherProcess {
public:
    LauncherProcess(const LauncherInstall& install, const std::vector<std::wstring>& args,
                    const LaunchOptions& options = {});
    ~LauncherProcess();
    LauncherProcess(const LauncherProcess&) = delete;
    LauncherProcess& operator=(const LauncherProcess&) = delete;

    bool started() const { return m_process != nullptr; }
    // The exit code, or -2 when the process did not end in time.
    long wait(unsigned timeoutMs);
    void kill();

private:
    HANDLE m_process = nullptr;
};

// The user state that every launcher run shares: the support directory, the
// roaming settings folder and the HKEY_CURRENT_USER marker. The fixture resets
// it before and after each test.
void resetLauncherUserState();

// Base fixture for tests that run the launcher.
class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs exe with the arguments, each quoted.
    LauncherResult run(const LauncherInstall& install, const std::vector<std::wstring>& args,
                       const LaunchOptions& options = {});
    // Writes the user's roaming settings file for the deployment kind.
    bool writeUserSettings(Deployment kind, const std::string& text);

    BoxRobot robot;
};

// Log lines of the newest run found in the support directory's logs folder.
std::vector<std::wstring> lastRunLog();
std::wstring stripTimestamp(const std::wstring& line);
