#include "TestFiles.h"
#include "handles/Handles.h"

#include <shlobj.h>
#include <algorithm>
#include <atomic>
#include <functional>

std::wstring uniqueName(const wchar_t* prefix) {
    static std::atomic<unsigned> counter{0};
    wchar_t name[128];
    swprintf(name, 128, L"%ls%lu_%lu_%u", prefix, GetCurrentProcessId(), GetTickCount(),
             static_cast<unsigned>(counter++));
    return name;
}

std::wstring shellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, path))) return L"";
    return path;
}

std::wstring tempDirectory() {
    wchar_t path[MAX_PATH + 1] = {};
    DWORD n = GetTempPathW(MAX_PATH + 1, path);
    std::wstring result(path, n);
    while (!result.empty() && result.back() == L'\\') result.pop_back();
    return result;
}

TempDir::TempDir() : TempDir(tempDirectory()) {}

TempDir::TempDir(const std::wstring& parent) {
    m_path = parent + L"\\" + uniqueName(L"cvt");
    makeDirs(m_path);
}

TempDir::~TempDir() { removeTree(m_path); }

bool writeFile(const std::wstring& path, const std::string& bytes) {
    handles::File h(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return h && (bytes.empty() || WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                            &written, nullptr)) &&
           written == bytes.size();
}

std::string readFile(const std::wstring& path) {
    std::string bytes;
    handles::File h(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    char buffer[65536];
    DWORD got = 0;
    while (h && ReadFile(h.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

bool fileExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool dirExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool makeDirs(const std::wstring& path) {
    if (path.empty() || dirExists(path)) return true;
    size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 2) makeDirs(path.substr(0, slash));
    return CreateDirectoryW(path.c_str(), nullptr) || dirExists(path);
}

namespace {
void forEachEntry(const std::wstring& dir, const std::function<void(const WIN32_FIND_DATAW&)>& f) {
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (wcscmp(data.cFileName, L".") && wcscmp(data.cFileName, L"..")) f(data);
    } while (FindNextFileW(h, &data));
    FindClose(h);
}
} // namespace

bool removeTree(const std::wstring& path) {
    if (!dirExists(path)) {
        if (!fileExists(path)) return true;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        return DeleteFileW(path.c_str());
    }
    forEachEntry(path, [&](const WIN32_FIND_DATAW& d) { removeTree(path + L"\\" + d.cFileName); });
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryW(path.c_str());
}

namespace {
void listInto(const std::wstring& root, const std::wstring& rel, std::vector<std::wstring>& out) {
    forEachEntry(root + (rel.empty() ? L"" : L"\\" + rel), [&](const WIN32_FIND_DATAW& d) {
        std::wstring child = rel.empty() ? d.cFileName : rel + L"\\" + d.cFileName;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) listInto(root, child, out);
        else out.push_back(child);
    });
}
} // namespace

std::vector<std::wstring> listFiles(const std::wstring& root) {
    std::vector<std::wstring> files;
    listInto(root, L"", files);
    std::sort(files.begin(), files.end());
    return files;
}

bool copyDirectory(const std::wstring& from, const std::wstring& to) {
    if (!makeDirs(to)) return false;
    bool ok = true;
    forEachEntry(from, [&](const WIN32_FIND_DATAW& d) {
        std::wstring src = from + L"\\" + d.cFileName, dst = to + L"\\" + d.cFileName;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ok = copyDirectory(src, dst) && ok;
        else ok = CopyFileW(src.c_str(), dst.c_str(), FALSE) && ok;
    });
    return ok;
}

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::wstring fromUtf8(const std::string& text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        size_t stop = (end > start && text[end - 1] == '\r') ? end - 1 : end;
        lines.push_back(text.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

long runProcess(const std::wstring& commandLine, unsigned timeoutMs, const std::wstring& directory) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = commandLine;
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &si, &pi))
        return -3;
    CloseHandle(pi.hThread);
    DWORD wait = WaitForSingleObject(pi.hProcess, timeoutMs);
    DWORD code = static_cast<DWORD>(-2);
    if (wait == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    else TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hProcess);
    return static_cast<long>(code);
}
