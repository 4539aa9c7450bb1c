#pragma once
// The user's working copy of the bundled Java runtime, refreshed under an
// inter-process lock when it is missing or when the registry marker says the
// master copy changed.
#include "handles/Handles.h"
#include "launcher/InstallKind.h"
#include "platform/FileSystem.h"

#include <memory>
#include <string>

// A lock that its holder may give up before it goes: once what it protects
// is safe, or before a box that waits for the user. Releasing twice is harmless.
class HeldLock {
public:
    virtual ~HeldLock() = default;
    virtual void release() = 0;
};

// Exclusive lock on a directory: the file "lock.lck" in it, held open without
// sharing, with its first byte locked. Acquired on construction (up to 600
// one-second attempts while another launcher holds it; a file that no
// process holds is taken over at once), released and deleted by release(),
// on destruction, or when the holder dies. wait is called for each
// one-second pause.
class FileSystemLock : public HeldLock {
public:
    explicit FileSystemLock(const std::wstring& directory, const WaitFunction& wait = sleepWait);
    ~FileSystemLock() override;
    FileSystemLock(const FileSystemLock&) = delete;
    FileSystemLock& operator=(const FileSystemLock&) = delete;

    bool locked() const { return m_locked; }
    void release() override;

private:
    bool takeOverStaleLock();

    std::wstring m_lockPath;
    handles::File m_handle;
    bool m_locked = false;
    bool m_released = false;
};

// Copies source to destination, which must not exist, and compares the copy
// with its source. A copy that failed or differs (a disk that filled up) is
// logged with its first difference and removed. progress follows the copy.
bool copyVerified(const std::wstring& source, const std::wstring& destination,
                  const TreeCalls& calls = systemTreeCalls(), const CopyProgress& progress = nullptr);

// What the one-time setup did: the runtime in the working copy (whether
// that exists is for the caller to test) and the lock, still held, so that
// no other start refreshes the copy before this start's Java runs from it;
// or, when the lock could not be taken, what the user is told.
struct OneTimeSetupResult {
    bool ok = true;
    std::wstring embeddedJreHome;
    std::unique_ptr<FileSystemLock> lock;
    std::wstring failure;
    explicit operator bool() const { return ok; }
};

// Refreshes the working copy when it is missing or stale, by a complete
// copy that takes the current one's place. A copy that an interrupted swap
// left aside is first put back. wait is called for each pause while another
// launcher holds the lock.
OneTimeSetupResult performOneTimeSetup(const std::wstring& executableDirectory, const std::wstring& supportDirectory,
                                       InstallKind kind, const TreeCalls& calls = systemTreeCalls(),
                                       const WaitFunction& wait = sleepWait);
