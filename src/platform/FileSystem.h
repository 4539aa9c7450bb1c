#pragma once
// File-system helpers over wide Windows paths. Backslash is the only
// separator they recognise. None of them logs; failure is the result only,
// with the platform's last error as the failing call left it.
#include <windows.h>

#include <functional>
#include <string>

// Long form of an existing path (8.3 components expanded); the path itself
// when it does not exist or the long form does not fit in 4,096 characters.
std::wstring getLongPath(const std::wstring& path);

bool isDirectory(const std::wstring& path);

// Text before the last backslash; empty for a bare name, "\a" and "C:\a".
std::wstring findParentDirectory(const std::wstring& path);

// Creates the directory and its missing parents. A directory that exists
// already, or that another process creates meanwhile, counts as created.
// On failure, failed (when given) receives the folder that could not be made.
bool createDirectoryChain(const std::wstring& path, std::wstring* failed = nullptr);

// A file or folder of that name exists.
bool pathExists(const std::wstring& path);

using WaitFunction = std::function<void(DWORD milliseconds)>;
void sleepWait(DWORD milliseconds);

// CreateFileW that waits while another process holds the file: after a
// sharing or lock violation it calls wait(1000) and tries again, 60 opens in
// all. INVALID_HANDLE_VALUE on any other failure or when the time is up,
// with the last error of the final attempt.
HANDLE openFileWaiting(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                       const WaitFunction& wait = sleepWait);

// True when the directory could be renamed to path + "_tmpDD_" and back,
// that is when nothing holds it or anything inside it open.
bool canRenameDirectory(const std::wstring& path);

// Removes the tree. With probeFirst, nothing is touched unless the rename
// probe succeeds. A missing path counts as removed.
bool deleteTree(const std::wstring& path, bool probeFirst);

// Copies source (with its contents) to destination with the shell, silently.
bool copyTree(const std::wstring& source, const std::wstring& destination);
