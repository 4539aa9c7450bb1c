#include "launcher/OneTimeSetup.h"

#include "launcher/LauncherPaths.h"
#include "launcher/ProgressWindow.h"
#include "logging/Logger.h"
#include "platform/BoxTexts.h"
#include "platform/FileSystem.h"
#include "handles/Handles.h"

#include <functional>

#include <optional>

namespace {

// A start waits about ten minutes for another one's first copy.
const int kLockAttempts = 600;
const DWORD kLockRetryMs = 1000;
const DWORD kMarkerBufferSize = 512;
// The working copy is staged here and renamed into place once complete, so an
// interrupted copy is never taken for a runtime.
const wchar_t* const kStagingSuffix = L".partial";
// A replaced copy is moved aside under this suffix and removed afterwards.
const wchar_t* const kOldCopySuffix = L".old";

// The system deletes the file when its last handle closes, also when the
// holder dies, so a lock never outlives its launcher.
HANDLE openLockFile(const std::wstring& path, DWORD disposition) {
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

} // namespace

FileSystemLock::FileSystemLock(const std::wstring& directory, const WaitFunction& wait)
    : m_lockPath(directory + L"\\lock.lck") {
    int attempts = kLockAttempts;
    while (!m_handle && attempts > 0) {
        --attempts;
        m_handle.reset(openLockFile(m_lockPath, CREATE_NEW));
        if (m_handle) break;
        if (GetLastError() != ERROR_FILE_EXISTS) break;
        if (takeOverStaleLock()) break;
        // Gone meanwhile: its holder has just released it.
        if (GetLastError() != ERROR_FILE_NOT_FOUND) wait(kLockRetryMs);
    }
    if (!m_handle) return;
    while (!m_locked && attempts > 0) {
        --attempts;
        m_locked = LockFile(m_handle.get(), 0, 0, 1, 0) != FALSE;
        if (!m_locked) wait(kLockRetryMs);
    }
}

// A running launcher holds its lock file open without sharing, so an open
// that succeeds finds a file that nobody holds: one left by a power cut or
// by a launcher that did not have the system delete it.
bool FileSystemLock::takeOverStaleLock() {
    m_handle.reset(openLockFile(m_lockPath, OPEN_EXISTING));
    if (!m_handle) return false;
    tvs::Logger::getInstance().log(L"Taking over lock.lck, which no running launcher holds.");
    return true;
}

FileSystemLock::~FileSystemLock() { release(); }

void FileSystemLock::release() {
    if (m_released) return;
    m_released = true;
    if (m_locked) UnlockFile(m_handle.get(), 0, 0, 1, 0);
    m_locked = false;
    m_handle.reset();
    // Also when this object never created it: a file that another process
    // still holds is not deleted.
    DeleteFileW(m_lockPath.c_str());
}

namespace {

std::string readEmbeddedUpdateValue(HKEY root) {
    handles::RegKey key;
    if (RegOpenKeyExA(root, names::kRegistryKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return "";
    char buffer[kMarkerBufferSize] = {};
    DWORD size = kMarkerBufferSize, type = 0;
    LONG rc = RegQueryValueExA(key.get(), names::kMarkerValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (rc != ERROR_SUCCESS || type != REG_SZ || size >= kMarkerBufferSize) return "";
    buffer[size] = '\0';
    return buffer;
}

std::string embeddedUpdateExpected(InstallKind kind) {
    return kind == InstallKind::perMachine ? readEmbeddedUpdateValue(HKEY_LOCAL_MACHINE) : "0";
}

bool embeddedUpdateNeeded(InstallKind kind) {
    std::string current = readEmbeddedUpdateValue(HKEY_CURRENT_USER);
    return current != embeddedUpdateExpected(kind);
}

void markEmbeddedUpdated(InstallKind kind) {
    std::string marker = embeddedUpdateExpected(kind);
    handles::RegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, names::kRegistryKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS &&
        RegCreateKeyExA(HKEY_CURRENT_USER, names::kRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key.get(), names::kMarkerValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(marker.c_str()),
                   static_cast<DWORD>(marker.size() + 1));
}

// The copy makes its destination, so the staging folder must be gone before
// anything is copied.
bool clearStaging(const std::wstring& target) {
    const std::wstring staging = target + kStagingSuffix;
    const Win32Result deleted = deleteTree(staging, false);
    if (deleted && !isDirectory(staging)) return true;
    tvs::Logger::getInstance().log(
        L"Cannot remove the leftover %ls (error %u); keeping the current working copy until a later start.",
        staging.c_str(), static_cast<unsigned>(deleted ? GetLastError() : deleted.error()));
    return false;
}

// A first name target + ".old", ".old2", ... that nothing uses: an old copy
// that could not be removed never stands in the way of the next one.
std::wstring freeOldCopyName(const std::wstring& target) {
    std::wstring name = target + kOldCopySuffix;
    for (int n = 2; pathExists(name); ++n) name = target + kOldCopySuffix + std::to_wstring(n);
    return name;
}

bool keepInUse(const std::wstring& target) {
    tvs::Logger::getInstance().log(L"The working copy %ls is in use; keeping it until a later start.", target.c_str());
    return false;
}

// Calls visit with the path and entry of each target + ".old*".
void forEachOldCopy(const std::wstring& target,
                    const std::function<void(const std::wstring&, const WIN32_FIND_DATAW&)>& visit) {
    WIN32_FIND_DATAW entry;
    handles::Find find(FindFirstFileW((target + kOldCopySuffix + L"*").c_str(), &entry));
    for (bool more = find.valid(); more; more = FindNextFileW(find.get(), &entry))
        visit(findParentDirectory(target) + L"\\" + entry.cFileName, entry);
}

// The copy that a swap moved aside last: of the old copies, the folder made
// most recently. Empty when there is none.
std::wstring newestOldCopy(const std::wstring& target) {
    std::wstring newest;
    FILETIME newestTime{};
    forEachOldCopy(target, [&](const std::wstring& path, const WIN32_FIND_DATAW& entry) {
        const bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                            !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        if (!folder || (!newest.empty() && CompareFileTime(&entry.ftCreationTime, &newestTime) <= 0)) return;
        newest = path;
        newestTime = entry.ftCreationTime;
    });
    return newest;
}

// A start that stopped between the two moves of a swap left no working copy
// but a complete previous one beside it. That one goes back first; its
// marker was never changed, so the refresh is tried again as usual.
void restoreInterruptedSwap(const std::wstring& target, const TreeCalls& calls) {
    if (pathExists(target)) return;
    const std::wstring old = newestOldCopy(target);
    if (old.empty()) return;
    tvs::Logger::getInstance().log(L"Moving %ls back into place: an earlier start stopped while replacing it.",
                                   old.c_str());
    if (!calls.move(old, target))
        tvs::Logger::getInstance().log(L"Cannot move %ls back into place (error %u).", old.c_str(),
                                       static_cast<unsigned>(GetLastError()));
}

// Only once the working copy exists: until then an old copy may be all that
// is left of it.
void removeOldCopies(const std::wstring& target) {
    if (!isDirectory(target)) return;
    forEachOldCopy(target, [](const std::wstring& old, const WIN32_FIND_DATAW&) {
        const Win32Result deleted = deleteTree(old, false);
        if (deleted) return;
        tvs::Logger::getInstance().log(L"Cannot remove the old working copy %ls (error %u); a later start tries again.",
                                       old.c_str(), static_cast<unsigned>(deleted.error()));
    });
}

// A copy that takes long shows its progress until it ends, whatever the outcome.
bool copyShowingProgress(const std::wstring& source, const std::wstring& staging, const TreeCalls& calls) {
    ProgressWindow window(L"Preparing Convoca for its first start\u2026", ProgressWindow::Bar::bytes);
    return copyVerified(source, staging, calls, [&window](unsigned long long done, unsigned long long total) {
        window.setProgress(done, total);
    });
}

// The current copy stays whole, and in place, until a complete new copy is
// ready to take its place. A copy in use is kept without copying anything:
// a running session must not cost a full copy at every start.
bool replaceWorkingCopy(const std::wstring& source, const std::wstring& target, const TreeCalls& calls) {
    // Nothing behind a link is the launcher's to move aside.
    if (isLink(target)) deleteTree(target, false);
    if (isLink(target) || (pathExists(target) && !calls.canRename(target))) return keepInUse(target);
    tvs::Logger::getInstance().log(L"Performing one time copy of Resources to Embedded.");
    const std::wstring staging = target + kStagingSuffix;
    if (!copyShowingProgress(source, staging, calls)) return false;
    const std::wstring old = freeOldCopyName(target);
    const bool present = pathExists(target);
    if (present && !calls.move(target, old)) {
        deleteTree(staging, false);
        return keepInUse(target);
    }
    if (!calls.move(staging, target)) {
        tvs::Logger::getInstance().log(L"Cannot move %ls into place (error %u); keeping the current working copy.",
                                       staging.c_str(), static_cast<unsigned>(GetLastError()));
        if (present) calls.move(old, target);
        deleteTree(staging, false);
        return false;
    }
    return true;
}

} // namespace

bool copyVerified(const std::wstring& source, const std::wstring& destination, const TreeCalls& calls,
                  const CopyProgress& progress) {
    if (calls.copy(source, destination, progress)) {
        const std::wstring difference = treeDifference(source, destination);
        if (difference.empty()) return true;
        tvs::Logger::getInstance().log(L"The copy %ls differs from %ls (%ls); removing it.", destination.c_str(),
                                       source.c_str(), difference.c_str());
    }
    deleteTree(destination, false);
    return false;
}

OneTimeSetupResult performOneTimeSetup(const std::wstring& executableDirectory, const std::wstring& supportDirectory,
                                       InstallKind kind, const TreeCalls& calls, const WaitFunction& wait) {
    const std::wstring source = getLongPath(executableDirectory) + L"\\" + names::kResources;
    const std::wstring target = getLongPath(supportDirectory) + L"\\" + names::kEmbedded;

    std::optional<ProgressWindow> waiting;
    const WaitFunction waitInSight = [&](DWORD milliseconds) {
        // Another start holds the lock: the user sees that this one waits for it.
        if (!waiting)
            waiting.emplace(L"Another start of Convoca is preparing Java\u2026", ProgressWindow::Bar::marquee);
        wait(milliseconds);
    };
    auto lock = std::make_unique<FileSystemLock>(getLongPath(supportDirectory), waitInSight);
    waiting.reset();
    if (!lock->locked()) {
        lock.reset();
        tvs::Logger::getInstance().log(L"File system lock failed. lock.lck already exists and / or was "
                                       L"locked. The lock has been cleared.");
        OneTimeSetupResult result;
        result.ok = false;
        result.failure =
            boxtexts::kOneTimeSetupUnlocked +
            std::wstring(L" If a session is currently launching, "
                         L"please try again in a minute or two.If no other session is launching, you may try "
                         L"again immediately.");
        return result;
    }

    restoreInterruptedSwap(target, calls);
    if ((embeddedUpdateNeeded(kind) || !isDirectory(target)) && clearStaging(target) &&
        replaceWorkingCopy(source, target, calls))
        markEmbeddedUpdated(kind);
    removeOldCopies(target);

    OneTimeSetupResult result;
    result.embeddedJreHome = target + L"\\" + names::kJreSubdirectory;
    result.lock = std::move(lock);
    return result;
}
