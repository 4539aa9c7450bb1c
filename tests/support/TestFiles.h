#pragma once
// File, text and process helpers for tests.
#include "handles/Handles.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

#include <windows.h>
#include <shlobj.h>
#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

inline std::wstring uniqueName(const wchar_t* prefix) {
    static std::atomic<unsigned> counter{0};
    return prefix + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(GetTickCount()) + L"_" +
           std::to_wstring(counter++);
}

inline std::wstring shellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, path)) ? path : L"";
}

// Without a trailing backslash.
inline std::wstring tempDirectory() {
    wchar_t path[MAX_PATH + 1] = {};
    std::wstring result(path, GetTempPathW(MAX_PATH + 1, path));
    while (!result.empty() && result.back() == L'\\') result.pop_back();
    return result;
}

inline bool writeFile(const std::wstring& path, const std::string& bytes) {
    handles::File h(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return h && WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// Empty when unreadable.
inline std::string readFile(const std::wstring& path) {
    std::string bytes;
    handles::File h(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    char buffer[65536];
    DWORD got = 0;
    while (h && ReadFile(h.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

// The checks read the attributes themselves: they judge the platform code that the set-up helpers use.
inline bool fileExists(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}
inline bool dirExists(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}
inline bool makeDirs(const std::wstring& path) { return static_cast<bool>(createDirectoryChain(path)); }

// Also read-only files.
inline bool removeTree(const std::wstring& path) {
    if (isDirectory(path)) return static_cast<bool>(deleteTree(path, false));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(path.c_str()) || !pathExists(path);
}

// Relative paths of every file below root, sorted, with "\" separators.
inline std::vector<std::wstring> listFiles(const std::wstring& root, const std::wstring& rel = L"") {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW d;
    handles::Find find(FindFirstFileW((root + (rel.empty() ? L"" : L"\\" + rel) + L"\\*").c_str(), &d));
    for (bool more = find.valid(); more; more = FindNextFileW(find.get(), &d)) {
        const std::wstring child = rel.empty() ? d.cFileName : rel + L"\\" + d.cFileName;
        if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(child);
        if ((d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && wcscmp(d.cFileName, L".") &&
            wcscmp(d.cFileName, L"..")) {
            const std::vector<std::wstring> below = listFiles(root, child);
            files.insert(files.end(), below.begin(), below.end());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A fresh folder below %TEMP%, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir() : m_path(tempDirectory() + L"\\" + uniqueName(L"cvt")) { makeDirs(m_path); }
    ~TempDir() { removeTree(m_path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

inline std::string utf8(const std::wstring& text) {
    std::string out;
    wideToMultiByte(text, CP_UTF8, out, Inexact::replace);
    return out;
}

inline std::wstring fromUtf8(const std::string& text) { return multiByteToWide(text, CP_UTF8); }

// On CR LF or LF.
inline std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, (end > start && text[end - 1] == '\r' ? end - 1 : end) - start));
    }
    return lines;
}

// The messages of a log file without their timestamps; of a collector, the last run's only.
inline std::vector<std::wstring> logMessages(const std::wstring& logFile) {
    const std::string bytes = readFile(logFile), bom = "\xEF\xBB\xBF";
    const size_t at = bytes.rfind(bom);
    std::vector<std::wstring> lines;
    for (const std::string& line : splitLines(at == std::string::npos ? bytes : bytes.substr(at + bom.size()))) {
        // "YYYY/MM/DD HH:MM:SS.mmm " is 24 characters.
        const bool stamped =
            line.size() >= 24 && line[4] == '/' && line[13] == ':' && line[19] == '.' && line[23] == ' ';
        lines.push_back(fromUtf8(stamped ? line.substr(24) : line));
    }
    return lines;
}

// Starts a process (application may be null); an invalid handle when it cannot start.
inline handles::Process startProcess(const wchar_t* application, std::wstring commandLine,
                                     const std::wstring& directory) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(application, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &si, &pi))
        return handles::Process();
    handles::Thread thread(pi.hThread);
    return handles::Process(pi.hProcess);
}

// The exit code, or -2 on timeout.
inline long waitForExit(const handles::Process& process, unsigned timeoutMs) {
    DWORD code = static_cast<DWORD>(-2);
    if (process && WaitForSingleObject(process.get(), timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.get(), &code);
    return static_cast<long>(code);
}

// Runs a command line and waits; the exit code, -2 on timeout, -3 when it cannot start.
inline long runProcess(const std::wstring& commandLine, unsigned timeoutMs, const std::wstring& directory = L"") {
    const handles::Process process = startProcess(nullptr, commandLine, directory);
    const long code = process ? waitForExit(process, timeoutMs) : -3;
    if (code == -2) TerminateProcess(process.get(), 99);
    return code;
}

// Under Wine: the Unix form of a path (through the prefix's dosdevices), and a shell command run on the Unix side,
// which returns its exit status (-1 when it did not finish within a minute).
inline std::string unixPath(const std::wstring& path) {
    std::string relative = utf8(path);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    relative[0] = static_cast<char>(tolower(relative[0]));
    return std::string(getenv("WINEPREFIX") ? getenv("WINEPREFIX") : "") + "/dosdevices/" + relative;
}

// Wine starts a Unix program without a process handle: the script leaves its status in a file.
inline int runUnixShell(const std::string& command) {
    TempDir dir;
    writeFile(dir / L"run.sh", "cd \"$(dirname \"$0\")\"\n(" + command + ")\necho $? > part\nmv part status\n");
    startProcess(L"Z:\\bin\\sh", L"/bin/sh \"" + fromUtf8(unixPath(dir / L"run.sh")) + L"\"", L"");
    for (DWORD end = GetTickCount() + 60000; GetTickCount() < end && !fileExists(dir / L"status");) Sleep(20);
    return fileExists(dir / L"status") ? std::stoi(readFile(dir / L"status")) : -1;
}
