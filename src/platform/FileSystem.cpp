#include "platform/FileSystem.h"

#include "handles/Handles.h"

#include <windows.h>

#include <map>
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

Win32Result outcome(BOOL succeeded) { return succeeded ? Win32Result() : Win32Result::lastError(); }

Win32Result clearAttributesAndDelete(const std::wstring& file) {
    return outcome(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL) && DeleteFileW(file.c_str()));
}

Win32Result removeEmptiedDirectory(const std::wstring& path) {
    return outcome(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) && RemoveDirectoryW(path.c_str()));
}

bool hasLinkAttribute(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Both calls act on the link itself, never on its target.
Win32Result removeLink(const std::wstring& path, DWORD attributes) {
    return outcome((attributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveDirectoryW(path.c_str())
                                                           : DeleteFileW(path.c_str()));
}

constexpr long long kFolderSize = -1;
struct TreeEntry {
    long long size; // kFolderSize for a folder
    DWORD attributes;
};
using TreeEntries = std::map<std::wstring, TreeEntry>; // by relative path: a folder before what it holds

// On failure returns the error, and failed receives the folder that could not be listed.
DWORD listTree(const std::wstring& root, const std::wstring& relative, TreeEntries& entries, std::wstring& failed) {
    const std::wstring folder = relative.empty() ? root : root + L"\\" + relative;
    WIN32_FIND_DATAW entry;
    handles::Find find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    for (bool more = find.valid(); more; more = FindNextFileW(find.get(), &entry)) {
        if (isSelfOrParent(entry.cFileName)) continue;
        const std::wstring name = relative.empty() ? entry.cFileName : relative + L"\\" + entry.cFileName;
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            entries[name] = {(static_cast<long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow,
                             entry.dwFileAttributes};
        } else {
            entries[name] = {kFolderSize, entry.dwFileAttributes};
            const DWORD error = listTree(root, name, entries, failed);
            if (error != ERROR_SUCCESS) return error;
        }
    }
    const DWORD error = GetLastError();
    if (error == ERROR_NO_MORE_FILES) return ERROR_SUCCESS;
    failed = folder;
    return error;
}

std::wstring describeSize(long long size) {
    return size == kFolderSize ? L"a folder" : std::to_wstring(size) + L" bytes";
}

// What a folder may be given: the directory flag and the flags of its
// contents are the system's.
constexpr DWORD kFolderAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

struct CopyCounter {
    const CopyProgress& progress;
    unsigned long long total;
    unsigned long long done = 0; // of the files copied whole

    void report(unsigned long long copied) const {
        if (progress) progress(copied, total);
    }
};

DWORD CALLBACK reportFileProgress(LARGE_INTEGER, LARGE_INTEGER transferred, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD,
                                  HANDLE, HANDLE, LPVOID data) {
    const auto* counter = static_cast<const CopyCounter*>(data);
    counter->report(counter->done + static_cast<unsigned long long>(transferred.QuadPart));
    return PROGRESS_CONTINUE;
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

Win32Result createDirectoryChain(const std::wstring& path, std::wstring* failed) {
    std::wstring parent = findParentDirectory(path);
    if (!parent.empty() && !isDirectory(parent)) {
        const Win32Result created = createDirectoryChain(parent, failed);
        if (!created) return created;
    }
    if (CreateDirectoryW(path.c_str(), nullptr)) return {};
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS && isDirectory(path)) return {};
    if (failed) *failed = path;
    return Win32Result::failure(error);
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

bool isLink(const std::wstring& path) { return hasLinkAttribute(GetFileAttributesW(path.c_str())); }

Win32Result canRenameDirectory(const std::wstring& path) {
    std::wstring probe = path + kProbeSuffix;
    deleteTree(probe, false); // leftover of an interrupted probe
    if (!MoveFileW(path.c_str(), probe.c_str())) return Win32Result::lastError();
    MoveFileW(probe.c_str(), path.c_str());
    return {};
}

Win32Result deleteTree(const std::wstring& path, bool probeFirst) {
    // A link goes without the probe: its name is all that is removed, and
    // some file systems rename the target instead of the link.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (hasLinkAttribute(attributes)) return removeLink(path, attributes);
    if (probeFirst) {
        const Win32Result probed = canRenameDirectory(path);
        if (!probed) return probed;
    }

    WIN32_FIND_DATAW entry;
    handles::Find find(FindFirstFileW((path + L"\\*").c_str(), &entry));
    if (!find) return {}; // nothing there to delete

    do {
        if (isSelfOrParent(entry.cFileName)) continue;
        std::wstring child = path + L"\\" + entry.cFileName;
        Win32Result removed;
        if (hasLinkAttribute(entry.dwFileAttributes))
            removed = removeLink(child, entry.dwFileAttributes);
        else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            removed = deleteTree(child, false);
        else
            removed = clearAttributesAndDelete(child);
        if (!removed) return removed;
    } while (FindNextFileW(find.get(), &entry));

    const DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) return Win32Result::failure(error);
    find.reset();
    return removeEmptiedDirectory(path);
}

Win32Result copyTree(const std::wstring& source, const std::wstring& destination, const CopyProgress& progress) {
    TreeEntries entries;
    std::wstring failedFolder;
    const DWORD listed = listTree(source, L"", entries, failedFolder);
    if (listed != ERROR_SUCCESS) return Win32Result::failure(listed);
    const DWORD rootAttributes = GetFileAttributesW(source.c_str());
    if (rootAttributes == INVALID_FILE_ATTRIBUTES) return Win32Result::lastError();
    CopyCounter counter{progress, 0};
    for (const auto& [name, entry] : entries)
        if (entry.size != kFolderSize) counter.total += static_cast<unsigned long long>(entry.size);

    const std::wstring parent = findParentDirectory(destination);
    const Win32Result made = parent.empty() ? Win32Result() : createDirectoryChain(parent);
    if (!made) return made;
    if (!CreateDirectoryW(destination.c_str(), nullptr)) return Win32Result::lastError();
    counter.report(0);
    for (const auto& [name, entry] : entries) {
        const std::wstring target = destination + L"\\" + name;
        if (entry.size == kFolderSize) {
            if (!CreateDirectoryW(target.c_str(), nullptr)) return Win32Result::lastError();
            continue;
        }
        if (!CopyFileExW((source + L"\\" + name).c_str(), target.c_str(), reportFileProgress, &counter, nullptr,
                         COPY_FILE_FAIL_IF_EXISTS))
            return Win32Result::lastError();
        counter.done += static_cast<unsigned long long>(entry.size);
        counter.report(counter.done);
    }
    // Folders get their attributes once everything is in them, the deepest first.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (it->second.size == kFolderSize &&
            !SetFileAttributesW((destination + L"\\" + it->first).c_str(), it->second.attributes & kFolderAttributes))
            return Win32Result::lastError();
    return outcome(SetFileAttributesW(destination.c_str(), rootAttributes & kFolderAttributes));
}

std::wstring treeDifference(const std::wstring& master, const std::wstring& copy) {
    TreeEntries inMaster, inCopy;
    std::wstring failed;
    DWORD error = listTree(master, L"", inMaster, failed);
    if (error == ERROR_SUCCESS) error = listTree(copy, L"", inCopy, failed);
    if (error != ERROR_SUCCESS) return failed + L": cannot be listed (error " + std::to_wstring(error) + L")";
    auto m = inMaster.begin();
    auto c = inCopy.begin();
    for (; m != inMaster.end() || c != inCopy.end(); ++m, ++c) {
        if (c == inCopy.end() || (m != inMaster.end() && m->first < c->first)) return m->first + L": missing";
        if (m == inMaster.end() || c->first < m->first) return c->first + L": not in the master";
        if (m->second.size != c->second.size)
            return m->first + L": " + describeSize(c->second.size) + L" instead of " + describeSize(m->second.size);
    }
    return L"";
}

const TreeCalls& systemTreeCalls() {
    static const TreeCalls calls;
    return calls;
}
