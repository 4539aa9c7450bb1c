#pragma once
// File-system helpers over wide Windows paths. Backslash is the only
// separator they recognise. None of them logs; failure is the result only.
#include "platform/Win32Result.h"

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
Win32Result createDirectoryChain(const std::wstring& path, std::wstring* failed = nullptr);

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

// The path is a junction, a symbolic link or another reparse point.
bool isLink(const std::wstring& path);

// Succeeds when the directory could be renamed to path + "_tmpDD_" and back,
// that is when nothing holds it or anything inside it open.
Win32Result canRenameDirectory(const std::wstring& path);

// Removes the tree. With probeFirst, nothing is touched unless the rename
// probe succeeds. A missing path counts as removed. A link, the path itself
// or any entry below it, is removed as a link: what it points to is never
// entered, and no attribute of it or behind it is changed.
Win32Result deleteTree(const std::wstring& path, bool probeFirst);

// Bytes of a tree copy done so far, out of the source's total. Called on the
// copying thread while the copy waits, so it must return at once.
using CopyProgress = std::function<void(unsigned long long copied, unsigned long long total)>;

// Copies source with everything in it to destination, which must not exist
// (its missing parents are made): every folder and file with its attributes,
// read-only, hidden and system included. The first failure ends the copy and
// leaves what was copied.
Win32Result copyTree(const std::wstring& source, const std::wstring& destination,
                     const CopyProgress& progress = nullptr);

// Empty when copy holds the relative paths of master, each file with the
// master's size. Otherwise the first difference in the order of the relative
// paths: the path, a colon and what differs ("missing", "not in the master",
// "12 bytes instead of 40 bytes", "a folder instead of 3 bytes"), or a folder
// that cannot be listed, with the error.
std::wstring treeDifference(const std::wstring& master, const std::wstring& copy);

// The tree calls of the runtime copies. Tests pass their own to make a copy
// fall short, a folder stay in use or a move fail. A failed move leaves the
// reason in GetLastError().
class TreeCalls {
public:
    virtual ~TreeCalls() = default;
    virtual bool canRename(const std::wstring& directory) const {
        return static_cast<bool>(canRenameDirectory(directory));
    }
    virtual bool copy(const std::wstring& source, const std::wstring& destination, const CopyProgress& progress) const {
        return static_cast<bool>(copyTree(source, destination, progress));
    }
    virtual bool move(const std::wstring& from, const std::wstring& to) const {
        return MoveFileW(from.c_str(), to.c_str()) != FALSE;
    }
};

const TreeCalls& systemTreeCalls();
