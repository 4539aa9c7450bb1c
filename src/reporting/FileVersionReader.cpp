#include "reporting/FileVersionReader.h"

#include "reporting/ErrorBox.h"

#include <windows.h>

#include <cwchar>
#include <vector>

FileVersionReader::FileVersionReader(std::wstring path) : m_path(std::move(path)) {}

std::wstring FileVersionReader::getFileVersion() {
    if (!m_fileVersion.empty()) return m_fileVersion;

    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(m_path.c_str(), &handle);
    if (size == 0) {
        showErrorBox(L"Executable doesn't have the required VERSIONINFO resource", true);
        return L"";
    }
    std::vector<unsigned char> block(size, 0);
    if (!GetFileVersionInfoW(m_path.c_str(), 0, size, block.data())) {
        showErrorBox(L"Executable doesn't have the required VERSIONINFO resource", true);
        return L"";
    }

    std::wstring query = L"\\StringFileInfo\\" + readTranslation(block.data()) + L"\\FileVersion";
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || !value) {
        showErrorBox(L"Executable doesn't have the required VERSIONINFO FileVersion resource", true);
        return L"";
    }
    const wchar_t* text = static_cast<const wchar_t*>(value);
    m_fileVersion.assign(text, wcsnlen(text, length));
    return m_fileVersion;
}

// "llllcccc" of the first entry of the translation table; empty (after a
// logged box) when there is none.
std::wstring FileVersionReader::readTranslation(const void* block) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block, L"\\VarFileInfo\\Translation", &value, &length) || !value) {
        showErrorBox(L"Executable doesn't have the required VERSIONINFO\\VarFileInfo\\Translation resource", true);
        return L"";
    }
    if (length / 4 == 0) {
        showErrorBox(L"No translations in \\VarFileInfo\\Translation resource", true);
        return L"";
    }
    const WORD* entry = static_cast<const WORD*>(value);
    wchar_t translation[9] = {};
    if (_snwprintf(translation, 9, L"%04x%04x", entry[0], entry[1]) != 8) {
        showErrorBox(L"Invalid translation in \\VarFileInfo\\Translation resource", true);
        return L"";
    }
    return translation;
}
