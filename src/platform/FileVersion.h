#pragma once
#include <string>
#include <vector>

// The FileVersion string of a file's version resource, or what is missing.
struct FileVersion {
    std::wstring version; // empty when it could not be read
    // What the user is told, in order. A missing translation table also
    // makes the FileVersion query fail, so it gives two.
    std::vector<std::wstring> problems;
    explicit operator bool() const { return problems.empty(); }
};

// Reads the FileVersion string through the first entry of the resource's
// translation table.
FileVersion readFileVersion(const std::wstring& path);
