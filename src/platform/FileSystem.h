#pragma once
// File-system helpers over wide Windows paths. Backslash is the only
// separator they recognise. None of them logs; failure is the result only,
// with the platform's last error as the failing call left it.
#include <string>

// Long form of an existing path (8.3 components expanded); the path itself
// when it does not exist or the long form does not fit in 4,096 characters.
std::wstring getLongPath(const std::wstring& path);

bool isDirectory(const std::wstring& path);

// Text before the last backslash; empty for a bare name, "\a" and "C:\a".
std::wstring findParentDirectory(const std::wstring& path);

// Creates the directory and its missing parents. False when the directory
// itself could not be created, which includes it existing already.
bool createDirectoryChain(const std::wstring& path);

// True when the directory could be renamed to path + "_tmpDD_" and back,
// that is when nothing holds it or anything inside it open.
bool canRenameDirectory(const std::wstring& path);

// Removes the tree. With probeFirst, nothing is touched unless the rename
// probe succeeds. A missing path counts as removed.
bool deleteTree(const std::wstring& path, bool probeFirst);

// Copies source (with its contents) to destination with the shell, silently.
bool copyTree(const std::wstring& source, const std::wstring& destination);
