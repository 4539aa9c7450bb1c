#include "LauncherRun.h"

#include <shlobj.h>
#include <algorithm>

std::wstring packageDirectory() { return CONVOCA_PACKAGE_DIR_WIN; }
std::wstring testBinDirectory() { return CONVOCA_TEST_BIN_DIR_WIN; }

std::wstring supportDirectory() {
    return shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Tavisto\\Tavisto Convoca Launcher";
}

std::wstring roamingSettingsDirectory() {
    return shellFolder(CSIDL_APPDATA) + L"\\Tavisto\\Tavisto Convoca Launcher";
}

LauncherInstall::LauncherInstall(Deployment kind, const std::wstring& name) : m_kind(kind) {
    std::wstring parent = kind == Deployment::perUser
                              ? shellFolder(CSIDL_PROFILE) + L"\\ConvocaTests"
                              : std::wstring(L"C:\\ConvocaTests");
    m_dir = parent + L"\\" + (name.empty() ? uniqueName(L"install") : name);
    removeTree(m_dir);
    EXPECT_TRUE(copyDirectory(packageDirectory(), m_dir)) << utf8(m_dir);
}

LauncherInstall::~LauncherInstall() { removeTree(m_dir); }

bool LauncherInstall::writeAdminSettings(const std::string& text) const {
    return writeFile(path(L"ConvocaLauncherAdmin.properties"), text);
}

std::wstring stripTimestamp(const std::wstring& line) {
    // "YYYY/MM/DD HH:MM:SS.mmm " is 24 characters.
    if (line.size() >= 24 && line[4] == L'/' && line[7] == L'/' && line[13] == L':' &&
        line[19] == L'.' && line[23] == L' ')
        return line.substr(24);
    return line;
}

std::vector<std::wstring> lastRunLog() {
    std::wstring logs = supportDirectory() + L"\\logs";
    // An uncollected current log wins (the run ended without shutdown);
    // otherwise the last run appended to the collector.
    std::vector<std::wstring> names = listFiles(logs);
    std::wstring pick;
    for (const auto& n : names)
        if (n.rfind(L"ConvocaLauncher_", 0) == 0 && n > pick) pick = n;
    std::string bytes = readFile(logs + L"\\" + (pick.empty() ? L"ConvocaLauncher.log" : pick));
    const std::string bom = "\xEF\xBB\xBF";
    size_t at = bytes.rfind(bom);
    if (at != std::string::npos) bytes = bytes.substr(at + bom.size());
    std::vector<std::wstring> lines;
    for (const std::string& line : splitLines(bytes)) lines.push_back(stripTimestamp(fromUtf8(line)));
    return lines;
}

size_t LauncherResult::logFind(const std::wstring& message, size_t from) const {
    for (size_t i = from; i < log.size(); ++i)
        if (log[i] == message) return i;
    return std::wstring::npos;
}

bool LauncherResult::logHas(const std::wstring& message) const {
    return logFind(message) != std::wstring::npos;
}

size_t LauncherResult::logCount(const std::wstring& message) const {
    return static_cast<size_t>(std::count(log.begin(), log.end(), message));
}

void resetLauncherUserState() {
    // A stand-in Java that a test launched may still run from the working
    // copy for a moment; wait until the whole support directory is gone.
    for (int attempt = 0; attempt < 200 && !removeTree(supportDirectory()); ++attempt) Sleep(50);
    removeTree(roamingSettingsDirectory());
    regDeleteTree(HKEY_CURRENT_USER, kLauncherRegistryKey);
}

void LauncherTest::SetUp() { resetLauncherUserState(); }
void LauncherTest::TearDown() { resetLauncherUserState(); }

namespace {

std::wstring quote(const std::wstring& arg) { return L"\"" + arg + L"\""; }

// The launcher's environment block: ours, changed as the options say.
std::wstring environmentBlock(const LaunchOptions& options) {
    std::map<std::wstring, std::wstring, bool (*)(const std::wstring&, const std::wstring&)> vars(
        [](const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) < 0; });
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
        std::wstring entry = p;
        size_t eq = entry.find(L'=', 1);
        if (eq != std::wstring::npos) vars[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    FreeEnvironmentStringsW(block);
    for (const auto& kv : options.environment) vars[kv.first] = kv.second;
    std::wstring result;
    for (const auto& kv : vars) result += kv.first + L"=" + kv.second + L'\0';
    result += L'\0';
    return result;
}

} // namespace

LauncherProcess::LauncherProcess(const LauncherInstall& install,
                                 const std::vector<std::wstring>& args,
                                 const LaunchOptions& options) {
    std::wstring commandLine = options.commandLine;
    if (commandLine.empty()) {
        commandLine = quote(install.exe());
        for (const auto& arg : args) commandLine += L" " + quote(arg);
    }
    std::wstring env = environmentBlock(options);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring directory = options.workingDirectory.empty() ? install.directory()
                                                             : options.workingDirectory;
    if (!CreateProcessW(install.exe().c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, env.data(), directory.c_str(), &si, &pi)) {
        ADD_FAILURE() << "cannot start the launcher: " << GetLastError();
        return;
    }
    CloseHandle(pi.hThread);
    m_process = pi.hProcess;
}

LauncherProcess::~LauncherProcess() {
    if (m_process) {
        if (WaitForSingleObject(m_process, 0) != WAIT_OBJECT_0) kill();
        CloseHandle(m_process);
    }
}

long LauncherProcess::wait(unsigned timeoutMs) {
    if (!m_process) return -999;
    if (WaitForSingleObject(m_process, timeoutMs) != WAIT_OBJECT_0) return -2;
    DWORD code = 0;
    GetExitCodeProcess(m_process, &code);
    return static_cast<long>(code);
}

void LauncherProcess::kill() {
    if (!m_process) return;
    TerminateProcess(m_process, 999);
    WaitForSingleObject(m_process, 5000);
}

LauncherResult LauncherTest::run(const LauncherInstall& install,
                                 const std::vector<std::wstring>& args,
                                 const LaunchOptions& options) {
    removeTree(supportDirectory() + L"\\logs");
    robot.clear();
    LauncherResult result;
    {
        LauncherProcess process(install, args, options);
        result.exitCode = process.wait(options.timeoutMs);
        if (result.exitCode == -2) {
            process.kill();
            result.timedOut = true;
        }
    }
    result.boxes = robot.boxes();
    result.log = lastRunLog();
    return result;
}

bool LauncherTest::writeUserSettings(Deployment kind, const std::string& text) {
    std::wstring dir = roamingSettingsDirectory();
    makeDirs(dir);
    return writeFile(dir + (kind == Deployment::perUser ? L"\\ConvocaLauncher.properties"
                                                        : L"\\ConvocaLauncherUser.properties"),
                     text);
}
