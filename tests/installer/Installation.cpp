#include "Installation.h"

#include <shellapi.h>
#include <shlobj.h>

const std::string kProgIdKey = "Software\\Classes\\Tavisto.ConvocaSession";
const std::string kVcaKey = "Software\\Classes\\.vca";
const REGSAM kMachineView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
const wchar_t* const kUpdateLibraryRecord = L"WinSparkle.record.txt";

std::wstring perMachineDir() { return shellFolder(CSIDL_PROGRAM_FILES) + L"\\Tavisto Convoca Launcher"; }
std::wstring shortcut(bool allUsers) {
    return shellFolder(allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS) + L"\\Tavisto Convoca Launcher Settings.lnk";
}
std::wstring quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::string machineMarker(REGSAM view) {
    return regString(HKEY_LOCAL_MACHINE, kLauncherRegistryKey, "NeedsEmbeddedUpdate", view);
}

std::vector<RegRow> association(const std::wstring& dir) {
    const std::string d = utf8(dir), progId = "Tavisto.ConvocaSession";
    return {{kVcaKey, "", progId},
            {kVcaKey, "Content Type", "application/x-java-jnlp-file"},
            {kVcaKey + "\\OpenWithProgids", progId, ""},
            {kProgIdKey, "", "Convoca Session"},
            {kProgIdKey + "\\DefaultIcon", "", d + "\\ConvocaSession.ico,0"},
            {kProgIdKey + "\\shell\\open\\command", "", "\"" + d + "\\ConvocaLauncher.exe\" \"%1\""}};
}

void expectInstalledFiles(const std::wstring& dir, std::vector<std::wstring> extra) {
    const std::vector<std::wstring> package = listFiles(packageDirectory());
    ASSERT_FALSE(package.empty());
    extra.insert(extra.end(), package.begin(), package.end());
    std::sort(extra.begin(), extra.end());
    std::vector<std::wstring> installed = listFiles(dir);
    installed.erase(std::remove(installed.begin(), installed.end(), kUpdateLibraryRecord), installed.end());
    EXPECT_EQ(extra, installed);
    for (const std::wstring& file : package)
        EXPECT_TRUE(readFile(packageDirectory() + L"\\" + file) == readFile(dir + L"\\" + file)) << utf8(file);
}

handles::Process shellOpen(const std::wstring& file) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    return handles::Process(ShellExecuteExW(&info) ? info.hProcess : nullptr);
}

long shellOpenAndWait(const std::wstring& file) {
    handles::Process process = shellOpen(file);
    DWORD exit = static_cast<DWORD>(-2);
    if (!process) return -3;
    if (WaitForSingleObject(process.get(), 120000) == WAIT_OBJECT_0) GetExitCodeProcess(process.get(), &exit);
    return static_cast<long>(exit);
}
