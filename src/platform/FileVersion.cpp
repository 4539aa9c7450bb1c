#include "platform/FileVersion.h"

#include "platform/BoxTexts.h"

#include <windows.h>

#include <cwchar>

namespace {

// "llllcccc" of the first entry of the translation table; empty, with the
// problem added, when there is none.
std::wstring readTranslation(const void* block, FileVersion& result) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block, L"\\VarFileInfo\\Translation", &value, &length) || !value) {
        result.problems.push_back(boxtexts::kNoVersionInfo + std::wstring(L"\\VarFileInfo\\Translation resource"));
        return L"";
    }
    if (length / 4 == 0) {
        result.problems.push_back(boxtexts::kNoTranslations + std::wstring(L"\\Translation resource"));
        return L"";
    }
    const WORD* entry = static_cast<const WORD*>(value);
    wchar_t translation[9] = {};
    if (_snwprintf(translation, 9, L"%04x%04x", entry[0], entry[1]) != 8) {
        result.problems.push_back(boxtexts::kInvalidTranslation + std::wstring(L"\\Translation resource"));
        return L"";
    }
    return translation;
}

} // namespace

FileVersion readFileVersion(const std::wstring& path) {
    FileVersion result;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    std::vector<unsigned char> block(size, 0);
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, block.data())) {
        result.problems.push_back(boxtexts::kNoVersionInfo + std::wstring(L" resource"));
        return result;
    }

    const std::wstring query = L"\\StringFileInfo\\" + readTranslation(block.data(), result) + L"\\FileVersion";
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || !value) {
        result.problems.push_back(boxtexts::kNoVersionInfo + std::wstring(L" FileVersion resource"));
        return result;
    }
    const wchar_t* text = static_cast<const wchar_t*>(value);
    result.version.assign(text, wcsnlen(text, length));
    return result;
}
