#include "LauncherRun.h"

#include <shlobj.h>

std::wstring supportDirectory() { return shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Tavisto\\Tavisto Convoca Launcher"; }
std::wstring roamingSettingsDirectory() { return shellFolder(CSIDL_APPDATA) + L"\\Tavisto\\Tavisto Convoca Launcher"; }

LauncherInstall::LauncherInstall(Deployment kind, const std::wstring& name, UpdateLibrary library)
    : m_dir((kind == Deployment::perUser ? shellFolder(CSIDL_PROFILE) : std::wstring(L"C:")) + L"\\ConvocaTests\\" +
            (name.empty() ? uniqueName(L"install") : name)) {
    removeTree(m_dir);
    EXPECT_TRUE(copyDirectory(packageDirectory(), m_dir)) << utf8(m_dir);
    EXPECT_TRUE(library == UpdateLibrary::real ||
                CopyFileW(CONVOCA_STANDIN_SPARKLE_WIN, path(L"WinSparkle.dll").c_str(), FALSE));
}

size_t LauncherResult::logFind(const std::wstring& start) const {
    for (size_t i = 0; i < log.size(); ++i)
        if (log[i].rfind(start, 0) == 0) return i;
    return std::wstring::npos;
}

size_t LauncherResult::logCount(const std::wstring& start) const {
    return std::count_if(log.begin(), log.end(), [&](const std::wstring& line) { return line.rfind(start, 0) == 0; });
}

LauncherProcess::LauncherProcess(const LauncherInstall& install, const std::vector<std::wstring>& args,
                                 const LaunchOptions& options) {
    std::wstring commandLine = options.commandLine.empty() ? L"\"" + install.exe() + L"\"" : options.commandLine;
    for (const auto& arg : args) commandLine += L" \"" + arg + L"\"";
    // The launcher inherits this process's environment, changed for the start only.
    for (const auto& kv : options.environment) SetEnvironmentVariableW(kv.first.c_str(), kv.second.c_str());
    m_process = startProcess(install.exe().c_str(), commandLine, install.directory());
    for (const auto& kv : options.environment) SetEnvironmentVariableW(kv.first.c_str(), nullptr);
    if (!m_process) ADD_FAILURE() << "cannot start the launcher: " << GetLastError();
}

void LauncherProcess::kill() {
    if (m_process && WaitForSingleObject(m_process.get(), 0) != WAIT_OBJECT_0) {
        TerminateProcess(m_process.get(), 999);
        WaitForSingleObject(m_process.get(), 5000);
    }
}

void resetLauncherUserState() {
    // A stand-in Java may still run from the working copy for a moment.
    for (int attempt = 0; attempt < 200 && !removeTree(supportDirectory()); ++attempt) Sleep(50);
    removeTree(roamingSettingsDirectory());
    regDeleteTree(HKEY_CURRENT_USER, kLauncherRegistryKey);
}

std::vector<std::wstring> lastRunLog() {
    // An uncollected current log (a run ended without shutdown) wins over the collector's last run.
    const std::wstring logs = supportDirectory() + L"\\logs";
    std::wstring pick = L"ConvocaLauncher.log";
    for (const auto& name : listFiles(logs))
        if (name.rfind(L"ConvocaLauncher_", 0) == 0) pick = name;
    return logMessages(logs + L"\\" + pick);
}

LauncherResult LauncherTest::run(const LauncherInstall& install, const std::vector<std::wstring>& args,
                                 const LaunchOptions& options) {
    removeTree(supportDirectory() + L"\\logs");
    robot.clear();
    LauncherResult result;
    result.exitCode = LauncherProcess(install, args, options).wait(120000);
    result.boxes = robot.boxes();
    result.log = lastRunLog();
    return result;
}

bool LauncherTest::writeUserSettings(Deployment kind, const std::string& text) {
    makeDirs(roamingSettingsDirectory());
    return writeFile(roamingSettingsDirectory() + (kind == Deployment::perUser ? L"\\ConvocaLauncher.properties"
                                                                               : L"\\ConvocaLauncherUser.properties"),
                     text);
}
