#include "platform/BaseDirectory.h"

#include <shlobj.h>

#include <vector>

namespace {

constexpr size_t kPathBufferSize = 4096;

// A variable counts when it is set, non-empty and shorter than a path buffer.
std::wstring usableVariable(const BaseDirectorySource& source, const wchar_t* name) {
    std::wstring value = source.environment(name);
    return value.size() < kPathBufferSize ? value : std::wstring();
}

} // namespace

std::wstring findBaseDirectory(const BaseDirectorySource& source) {
    std::wstring base = source.localAppData();
    if (!base.empty()) return base;
    for (const wchar_t* name : {L"HOME", L"USERPROFILE"}) {
        base = usableVariable(source, name);
        if (!base.empty()) return base;
    }
    std::wstring drive = usableVariable(source, L"HOMEDRIVE");
    std::wstring path = usableVariable(source, L"HOMEPATH");
    if (!drive.empty() && !path.empty()) return drive + path;

    base = source.tempPath();
    if (base.empty()) return base;
    std::wstring longForm = source.longPath(base);
    if (!longForm.empty() && longForm.size() <= kPathBufferSize - 2) return longForm;
    return base;
}

std::wstring SystemBaseDirectories::localAppData() const {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) return L"";
    return path;
}

std::wstring SystemBaseDirectories::environment(const wchar_t* name) const {
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return L"";
    std::vector<wchar_t> value(size, L'\0');
    DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    if (length == 0 || length >= size) return L"";
    return std::wstring(value.data(), length);
}

std::wstring SystemBaseDirectories::tempPath() const {
    std::vector<wchar_t> path(kPathBufferSize, L'\0');
    DWORD length = GetTempPathW(static_cast<DWORD>(kPathBufferSize), path.data());
    if (length == 0 || length >= kPathBufferSize) return L"";
    return std::wstring(path.data(), length);
}

std::wstring SystemBaseDirectories::longPath(const std::wstring& path) const {
    std::vector<wchar_t> longForm(kPathBufferSize, L'\0');
    DWORD length = GetLongPathNameW(path.c_str(), longForm.data(), static_cast<DWORD>(kPathBufferSize));
    if (length == 0 || length >= kPathBufferSize) return L"";
    return std::wstring(longForm.data(), length);
}
