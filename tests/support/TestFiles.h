#pragma once
// File helpers for tests: private temporary folders, whole-file reads and
// writes, UTF-8 conversion and child processes.
#include <windows.h>
#include <string>
#include <vector>

// A fresh folder below %TEMP%, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

std::wstring uniqueName(const wchar_t* prefix);
std::wstring shellFolder(int csidl);
std::wstring tempDirectory(); // without a trailing backslash

bool writeFile(const std::wstring& path, const std::string& bytes);
std::string readFile(const std::wstring& path); // empty when unreadable
bool fileExists(const std::wstring& path);
bool dirExists(const std::wstring& path);
bool makeDirs(const std::wstring& path);
bool removeTree(const std::wstring& path); // also read-only files
// Relative paths of every file below root, sorted, with "\" separators.
std::vector<std::wstring> listFiles(const std::wstring& root);
bool copyDirectory(const std::wstring& from, const std::wstring& to);

std::string utf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);
std::vector<std::string> splitLines(const std::string& text); // on CR LF or LF

// The messages of a log file, each without its timestamp; of a collector
// holding several runs, the last run's only.
std::vector<std::wstring> logMessages(const std::wstring& logFile);

// Runs a command line and waits; the exit code, -2 on timeout, -3 when it cannot start.
long runProcess(const std::wstring& commandLine, unsigned timeoutMs, const std::wstring& directory = L"");
