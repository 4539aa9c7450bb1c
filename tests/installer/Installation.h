#pragma once
// Shared by the tests of the setup program and of the Windows Installer package: where an installation lies, what
// it registers, and how the shell opens a file.
#include "SessionFixture.h"

#include <shellapi.h>
#include <shlobj.h>

inline const std::string kProgIdKey = "Software\\Classes\\Tavisto.ConvocaSession";
inline const std::string kVcaKey = "Software\\Classes\\.vca";
// The registry view the launcher reads.
inline const REGSAM kMachineView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
// The other architecture's, where its installation for all users registers.
inline const REGSAM kOtherView = kMachineView ^ (KEY_WOW64_64KEY | KEY_WOW64_32KEY);
inline const std::wstring kOtherArch = sizeof(void*) == 8 ? L"x86" : L"x64";
// The stand-in update library's record, beside itself.
inline const wchar_t* const kUpdateLibraryRecord = L"WinSparkle.record.txt";

inline std::wstring perMachineDir() { return shellFolder(CSIDL_PROGRAM_FILES) + L"\\Tavisto Convoca Launcher"; }
inline std::wstring shortcut(bool allUsers) {
    return shellFolder(allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS) + L"\\Tavisto Convoca Launcher Settings.lnk";
}
inline std::wstring quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

inline std::string machineMarker(REGSAM view = kMachineView) {
    return regString(HKEY_LOCAL_MACHINE, kLauncherRegistryKey, "NeedsEmbeddedUpdate", view);
}

struct RegRow {
    std::string subKey, name, value;
};
// The .vca association of an installation in dir.
inline std::vector<RegRow> association(const std::wstring& dir) {
    const std::string d = utf8(dir), progId = "Tavisto.ConvocaSession";
    return {{kVcaKey, "", progId},
            {kVcaKey, "Content Type", "application/x-java-jnlp-file"},
            {kVcaKey + "\\OpenWithProgids", progId, ""},
            {kProgIdKey, "", "Convoca Session"},
            {kProgIdKey + "\\DefaultIcon", "", d + "\\ConvocaSession.ico,0"},
            {kProgIdKey + "\\shell\\open\\command", "", "\"" + d + "\\ConvocaLauncher.exe\" \"%1\""}};
}

// The package's files with the package's content, and the extra files of an installation.
inline void expectInstalledFiles(const std::wstring& dir, std::vector<std::wstring> extra) {
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

// Starts a file as the shell does with the "open" verb: a session file through its association, a program directly.
inline handles::Process shellOpen(const std::wstring& file) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    return handles::Process(ShellExecuteExW(&info) ? info.hProcess : nullptr);
}

// Opens the file so and waits for the program: its exit code, -2 on timeout, -3 when nothing started.
inline long shellOpenAndWait(const std::wstring& file) {
    const handles::Process process = shellOpen(file);
    return process ? waitForExit(process, 120000) : -3;
}
