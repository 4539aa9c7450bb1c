#include "platform/FileSystem.h"

#include "handles/Handles.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace {

constexpr DWORD kPathBufferSize = 4096;
const wchar_t kProbeSuffix[] = L"_tmpDD_";
// A file that another process holds is waited for, about a minute.
constexpr int kHeldFileAttempts = 60;
constexpr DWORD kHeldFileDelayMs = 1000;

bool isSelfOrParent(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

bool clearAttributesAndDelete(const std::wstring& file) {
    return SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL) && DeleteFileW(file.c_str());
}

bool removeEmptiedDirectory(const std::wstring& path) {
    return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) && RemoveDirectoryW(path.c_str());
}

// A path as the shell's file operation wants it: a list ended by an extra NUL.
std::vector<wchar_t> doubleTerminated(const std::wstring& path) {
    std::vector<wchar_t> list(path.begin(), path.end());
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

} // namespace

std::wstring getLongPath(const std::wstring& path) {
    std::vector<wchar_t> buffer(kPathBufferSize, L'\0');
    DWORD length = GetLongPathNameW(path.c_str(), buffer.data(), kPathBufferSize);
    if (length >= 1 && length < kPathBufferSize) return std::wstring(buffer.data(), length);
    return path;
}

bool isDirectory(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring findParentDirectory(const std::wstring& path) {
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos || slash == 0) return L"";
    if (slash == 2 && path[1] == L':') return L""; // drive root
    return path.substr(0, slash);
}

bool createDirectoryChain(const std::wstring& path, std::wstring* failed) {
    std::wstring parent = findParentDirectory(path);
    if (!parent.empty() && !isDirectory(parent) && !createDirectoryChain(parent, failed)) return false;
    if (CreateDirectoryW(path.c_str(), nullptr)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS && isDirectory(path)) return true;
    if (failed) *failed = path;
    SetLastError(error);
    return false;
}

bool pathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void sleepWait(DWORD milliseconds) { Sleep(milliseconds); }

HANDLE openFileWaiting(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                       const WaitFunction& wait) {
    for (int attempt = 1; attempt <= kHeldFileAttempts; ++attempt) {
        HANDLE file = CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) break;
        wait(kHeldFileDelayMs);
        SetLastError(error);
    }
    return INVALID_HANDLE_VALUE;
}

bool canRenameDirectory(const std::wstring& path) {
    std::wstring probe = path + kProbeSuffix;
    deleteTree(probe, false); // leftover of an interrupted probe
    if (!MoveFileW(path.c_str(), probe.c_str())) return false;
    MoveFileW(probe.c_str(), path.c_str());
    return true;
}

bool deleteTree(const std::wstring& path, bool probeFirst) {
    if (probeFirst && !canRenameDirectory(path)) return false;

    WIN32_FIND_DATAW entry;
    handles::Find find(FindFirstFileW((path + L"\\*").c_str(), &entry));
    if (!find) return true; // nothing there to delete

    do {
        if (isSelfOrParent(entry.cFileName)) continue;
        std::wstring child = path + L"\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!deleteTree(child, false)) return false;
        } else if (!clearAttributesAndDelete(child)) {
            return false;
        }
    } while (FindNextFileW(find.get(), &entry));

    if (GetLastError() != ERROR_NO_MORE_FILES) return false;
    find.reset();
    return removeEmptiedDirectory(path);
}

bool copyTree(const std::wstring& source, const std::wstring& destination) {
    std::vector<wchar_t> from = doubleTerminated(getLongPath(source));
    std::vector<wchar_t> to = doubleTerminated(getLongPath(destination));

    SHFILEOPSTRUCTW operation = {};
    operation.hwnd = nullptr;
    operation.wFunc = FO_COPY;
    operation.pFrom = from.data();
    operation.pTo = to.data();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}
