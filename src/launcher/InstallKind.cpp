#include "launcher/InstallKind.h"

#include "logging/Logger.h"
#include "platform/FileSystem.h"

#include <windows.h>
#include <shlobj.h>

InstallKind detectInstallKind() {
    wchar_t module[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (length == 0 || length == MAX_PATH) return InstallKind::perUser;
    std::wstring executable = getLongPath(module);

    wchar_t profile[MAX_PATH] = {};
    HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, profile);
    if (FAILED(hr)) {
        tvs::Logger::getInstance().log(
            L"Cannot determine the type of deployment hr=0x%08x. The default - per-user is supposed.",
            static_cast<unsigned>(hr));
        return InstallKind::perUser;
    }
    std::wstring prefix = getLongPath(profile);
    if (prefix.empty() || prefix.back() != L'\\') prefix += L'\\';
    return _wcsnicmp(executable.c_str(), prefix.c_str(), prefix.size()) == 0 ? InstallKind::perUser
                                                                             : InstallKind::perMachine;
}
