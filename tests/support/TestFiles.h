#pragma once
// File, text and process helpers for tests.
#include "handles/Handles.h"

#include <windows.h>
#include <string>
#include <vector>

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

// Under Wine: the Unix form of a path (through the prefix's dosdevices), and a shell command run on the Unix side,
// which returns its exit status (-1 when it did not finish within a minute).
std::string unixPath(const std::wstring& path);
int runUnixShell(const std::string& command);

std::string utf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);
std::vector<std::string> splitLines(const std::string& text); // on CR LF or LF

// The messages of a log file without their timestamps; of a collector, the last run's only.
std::vector<std::wstring> logMessages(const std::wstring& logFile);

// Starts a process (application may be null); an invalid handle when it cannot start.
handles::Process startProcess(const wchar_t* application, std::wstring commandLine, const std::wstring& directory);
long waitForExit(const handles::Process& process, unsigned timeoutMs); // the exit code, or -2 on timeout
// Runs a command line and waits; the exit code, -2 on timeout, -3 when it cannot start.
long runProcess(const std::wstring& commandLine, unsigned timeoutMs, const std::wstring& directory = L"");
