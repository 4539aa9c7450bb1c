#pragma once
// The user's base folder, below which the launcher keeps its support folder
// and its logs: the first usable of the local application-data folder, HOME,
// USERPROFILE, HOMEDRIVE+HOMEPATH and the temporary directory.
#include <windows.h>

#include <string>

// The places a base directory may come from. The logger asks the system's
// own; tests hand in a fixed one.
class BaseDirectorySource {
public:
    virtual ~BaseDirectorySource() = default;
    // Empty when the shell does not return the folder.
    virtual std::wstring localAppData() const = 0;
    // Empty when the variable is not set.
    virtual std::wstring environment(const wchar_t* name) const = 0;
    // GetTempPathW's result (ends in a backslash).
    virtual std::wstring tempPath() const = 0;
    // GetLongPathNameW's result; empty when the call fails or does not fit.
    virtual std::wstring longPath(const std::wstring& path) const = 0;
};

class SystemBaseDirectories : public BaseDirectorySource {
public:
    std::wstring localAppData() const override;
    std::wstring environment(const wchar_t* name) const override;
    std::wstring tempPath() const override;
    std::wstring longPath(const std::wstring& path) const override;
};

// Empty when no candidate is usable.
std::wstring findBaseDirectory(const BaseDirectorySource& source);
