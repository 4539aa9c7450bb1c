#pragma once
#include <string>

// Reads the FileVersion string of a file's version resource, through the
// first entry of its translation table. Failures are reported with the
// logged error box and give an empty result; a success is cached.
class FileVersionReader {
public:
    explicit FileVersionReader(std::wstring path);
    std::wstring getFileVersion();

private:
    std::wstring readTranslation(const void* block);

    std::wstring m_path;
    std::wstring m_fileVersion;
};
