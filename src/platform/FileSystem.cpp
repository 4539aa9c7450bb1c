#include "platform/FileSystem.h"

#include "platform/Handles.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace {

constexpr DWORD kPathBufferSize = 4096;
const wchar_t kProbeSuffix[] = L"_tmpDD_";

bool clearAttributesAndDelete(const std::wstring& file) {
    return SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL) &&
           DeleteFileW(file.c_str());
}

bool removeEmptiedDirectory(const std::wstring& path) {
    return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) &&
           RemoveDirectoryW(path.c_str());
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

bool createDirectoryChain(const std::wstring& path) {
    std::wstring parent = findParentDirectory(path);
    if (!parent.empty() && !isDirectory(parent) && !createDirectoryChain(parent)) return false;
    return CreateDirectoryW(path.c_str(), nullptr) != FALSE;
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
        // Every dotted name is passed over, not only "." and "..": a tree
        // holding one is left in place and the deletion reports failure.
        if (entry.cFileName[0] == L'.') continue;
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
