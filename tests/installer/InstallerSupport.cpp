#include "InstallerSupport.h"

#include <shellapi.h>
#include <shlobj.h>
#include <algorithm>

const char* const kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tavisto Convoca Launcher";
const char* const kProgId = "Tavisto.ConvocaSession";
const char* const kMarkerValue = "NeedsEmbeddedUpdate";
const REGSAM kMachineView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

std::wstring setupProgram() { return CONVOCA_SETUP_EXE_WIN; }
std::wstring shippedAdminFile() { return CONVOCA_ADMIN_TEMPLATE_WIN; }

std::wstring perUserInstallDirectory() {
    return shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Tavisto Convoca Launcher";
}

std::wstring perMachineInstallDirectory() {
    return shellFolder(CSIDL_PROGRAM_FILES) + L"\\Tavisto Convoca Launcher";
}

std::wstring startMenuShortcut(bool allUsers) {
    return shellFolder(allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS) +
           L"\\Tavisto Convoca Launcher Settings.lnk";
}

long runSetup(const std::wstring& arguments, unsigned timeoutMs) {
    return runProcess(L"\"" + setupProgram() + L"\" " + arguments, timeoutMs);
}

bool waitUntil(const std::function<bool()>& done, unsigned timeoutMs) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(100);
    }
    return true;
}

bool runQuietUninstall(HKEY root, REGSAM view, unsigned timeoutMs) {
    std::string command = regString(root, kUninstallKey, "QuietUninstallString", view);
    if (command.empty()) return false;
    if (runProcess(fromUtf8(command), timeoutMs) != 0) return false;
    return waitUntil([&] { return !regKeyExists(root, kUninstallKey, view); }, timeoutMs);
}

long openWithShell(const std::wstring& path, unsigned timeoutMs) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info) || !info.hProcess) return -3;
    DWORD code = static_cast<DWORD>(-2);
    if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &code);
    else
        TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hProcess);
    return static_cast<long>(code);
}

long runRegisteredOpenCommand(HKEY root, REGSAM view, const std::wstring& path, unsigned timeoutMs) {
    std::string progId = regString(root, "Software\\Classes\\.vca", "", view);
    if (progId.empty()) return -3;
    std::wstring command = fromUtf8(
        regString(root, "Software\\Classes\\" + progId + "\\shell\\open\\command", "", view));
    size_t at = command.find(L"%1");
    if (at == std::wstring::npos) return -3;
    command.replace(at, 2, path);
    return runProcess(command, timeoutMs);
}

bool shellSeesSessionFiles() { return regKeyExists(HKEY_CLASSES_ROOT, ".vca"); }

bool regKeyExists(HKEY root, const std::string& subKey, REGSAM view) {
    HKEY key;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool regGetDword(HKEY root, const std::string& subKey, const std::string& name, DWORD& value,
                 REGSAM view) {
    HKEY key;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = sizeof value;
    LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                               &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD;
}

std::string regString(HKEY root, const std::string& subKey, const std::string& name, REGSAM view) {
    std::string value;
    regGetString(root, subKey, name, value, view);
    return value;
}

std::vector<std::wstring> packageFiles() {
    // The package folder may double as a CMake build folder.
    static const wchar_t* const cmakeFiles[] = {L"CMakeFiles", L"Makefile", L"cmake_install.cmake",
                                                L"CTestTestfile.cmake"};
    std::vector<std::wstring> files;
    for (const std::wstring& file : listFiles(packageDirectory())) {
        std::wstring top = file.substr(0, file.find(L'\\'));
        if (std::none_of(std::begin(cmakeFiles), std::end(cmakeFiles),
                         [&](const wchar_t* name) { return top == name; }))
            files.push_back(file);
    }
    return files;
}

namespace {

void removeRegistration(HKEY root, REGSAM view) {
    regDeleteTree(root, "Software\\Classes\\.vca", view);
    regDeleteTree(root, std::string("Software\\Classes\\") + kProgId, view);
    regDeleteTree(root, kUninstallKey, view);
}

} // namespace

void removeInstallations() {
    // What the uninstaller's copies of themselves leave in the temporary folder.
    WIN32_FIND_DATAW data;
    handles::Find find(FindFirstFileW((tempDirectory() + L"\\~nsu*.tmp").c_str(), &data));
    if (find) {
        do removeTree(tempDirectory() + L"\\" + data.cFileName);
        while (FindNextFileW(find.get(), &data));
    }
    removeTree(perUserInstallDirectory());
    removeTree(perMachineInstallDirectory());
    DeleteFileW(startMenuShortcut(false).c_str());
    DeleteFileW(startMenuShortcut(true).c_str());
    removeRegistration(HKEY_CURRENT_USER, 0);
    removeRegistration(HKEY_LOCAL_MACHINE, kMachineView);
    regDeleteTree(HKEY_LOCAL_MACHINE, kLauncherRegistryKey, kMachineView);
}

RunningProcess::RunningProcess(const std::wstring& commandLine) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = commandLine;
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ADD_FAILURE() << "cannot start " << utf8(commandLine) << ": " << GetLastError();
        return;
    }
    CloseHandle(pi.hThread);
    m_process.reset(pi.hProcess);
}

RunningProcess::~RunningProcess() { kill(); }

bool RunningProcess::running() const {
    return m_process && WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

void RunningProcess::kill() {
    if (running()) {
        TerminateProcess(m_process.get(), 99);
        WaitForSingleObject(m_process.get(), 10000);
    }
}

void InstallerTest::SetUp() {
    LauncherTest::SetUp();
    removeInstallations();
}

void InstallerTest::TearDown() {
    removeInstallations();
    LauncherTest::TearDown();
}
