#include "update/WinSparkleLibrary.h"

#include "platform/FileSystem.h"
#include "platform/Procedure.h"

#include <cstring>
#include <type_traits>

namespace {

std::wstring loadFailure(const std::wstring& path, DWORD error) {
    const std::wstring code = L" (error " + std::to_wstring(error) + L")";
    if (!pathExists(path)) return L"The update library " + path + L" is missing" + code;
    if (error == ERROR_BAD_EXE_FORMAT)
        return L"The update library " + path + L" is damaged or built for another architecture" + code;
    return L"The update library " + path + L" cannot be loaded" + code;
}

} // namespace

WinSparkleLibrary::WinSparkleLibrary(const std::wstring& path) {
    // A damaged DLL must not make the system ask the user anything.
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    m_module.reset(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    const DWORD error = GetLastError();
    SetThreadErrorMode(previousMode, nullptr);
    if (!m_module) {
        m_failure = loadFailure(path, error);
        return;
    }
    bool complete = true;
    const auto find = [&](auto& function, const char* name) {
        if (!complete) return;
        function = findProcedure<std::remove_reference_t<decltype(function)>>(m_module.get(), name);
        if (function) return;
        complete = false;
        m_failure = L"The update library " + path + L" lacks the function " + std::wstring(name, name + strlen(name));
    };
    UpdateFunctions& f = m_functions;
    find(f.setRegistryPath, "win_sparkle_set_registry_path");
    find(f.setCanShutdownCallback, "win_sparkle_set_can_shutdown_callback");
    find(f.setShutdownRequestCallback, "win_sparkle_set_shutdown_request_callback");
    find(f.setAppcastUrl, "win_sparkle_set_appcast_url");
    find(f.init, "win_sparkle_init");
    find(f.checkUpdateWithUi, "win_sparkle_check_update_with_ui");
    find(f.cleanup, "win_sparkle_cleanup");
    find(f.isBusy, "tvs_win_sparkle_is_busy");
    if (complete) return;
    m_functions = UpdateFunctions();
    m_module.reset();
}
