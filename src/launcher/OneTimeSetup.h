#pragma once
// The user's working copy of the bundled Java runtime, refreshed under an
// inter-process lock when it is missing or when the registry marker says the
// master copy changed.
#include <windows.h>
#include <string>

// Exclusive lock on a directory: the file "lock.lck" in it, held open without
// sharing, with its first byte locked. Acquired on construction (up to 60
// one-second attempts while another launcher holds it; a file that no
// process holds is taken over at once), released and deleted on destruction
// or when the holder dies.
class FileSystemLock {
public:
    explicit FileSystemLock(const std::wstring& directory);
    ~FileSystemLock();
    FileSystemLock(const FileSystemLock&) = delete;
    FileSystemLock& operator=(const FileSystemLock&) = delete;

    bool locked() const { return m_locked; }

private:
    bool takeOverStaleLock();

    std::wstring m_directory;
    std::wstring m_lockPath;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    bool m_locked = false;
};

std::string readEmbeddedUpdateValue(HKEY root);
std::string embeddedUpdateExpected();
bool embeddedUpdateNeeded();
void markEmbeddedUpdated();

// The working copy is staged here and renamed into place once complete, so an
// interrupted copy is never taken for a runtime.
extern const wchar_t* const kStagingSuffix; // ".partial"

bool performOneTimeSetup(const std::wstring& executableDirectory,
                         const std::wstring& supportDirectory, std::wstring& embeddedJreHome);
