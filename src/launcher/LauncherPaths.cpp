#include "launcher/LauncherPaths.h"

#include "logging/Logger.h"
#include "platform/FileSystem.h"
#include "handles/Handles.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace {
const DWORD kPathBuffer = 4096;
}

std::wstring readEnvironmentVariable(const std::wstring& name) {
    std::wstring value(kPathBuffer, L'\0');
    DWORD length = GetEnvironmentVariableW(name.c_str(), value.data(), kPathBuffer);
    value.resize(length >= 1 && length < kPathBuffer ? length : 0);
    tvs::Logger::getInstance().log(L"Environment variable %ls: %ls", name.c_str(), value.c_str());
    return value;
}

std::wstring findSupportDirectory() {
    std::wstring base;
    wchar_t folder[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        base = folder;
    if (base.empty()) base = readEnvironmentVariable(L"HOME");
    if (base.empty()) base = readEnvironmentVariable(L"USERPROFILE");
    if (base.empty()) {
        std::wstring drive = readEnvironmentVariable(L"HOMEDRIVE");
        std::wstring path = readEnvironmentVariable(L"HOMEPATH");
        if (!drive.empty() && !path.empty()) base = drive + path;
    }
    if (base.empty()) {
        std::wstring temp(kPathBuffer, L'\0');
        DWORD length = GetTempPathW(kPathBuffer, temp.data());
        if (length != 0) {
            temp.resize(wcslen(temp.c_str()));
            std::wstring longForm(kPathBuffer, L'\0');
            DWORD longLength = GetLongPathNameW(temp.c_str(), longForm.data(), kPathBuffer);
            base = (longLength >= 1 && longLength <= 4094) ? longForm.substr(0, longLength) : temp;
        }
    }
    if (base.empty()) return L"";
    return getLongPath(base) + L"\\" + names::supportSubdirectory;
}

std::vector<std::wstring> parseCommandLine() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv) return {};
    handles::LocalMemory owner(reinterpret_cast<HLOCAL>(argv));
    return std::vector<std::wstring>(argv, argv + count);
}

std::wstring directoryOf(const std::wstring& path) {
    std::wstring buffer = path;
    buffer.push_back(L'\0');
    if (!PathRemoveFileSpecW(buffer.data())) return L"";
    std::wstring directory = buffer.c_str();
    return directory.empty() ? directory : getLongPath(directory);
}
