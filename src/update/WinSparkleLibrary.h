#pragma once
// The update library, loaded at run time from a full path and used through
// the eight functions the launcher needs. A library that is missing, not a
// DLL, of the other architecture or short of one of the functions is not
// used: the launcher runs without an update check, and failure tells why.
#include "handles/Handles.h"
#include "update/WinSparkleApi.h"

#include <string>

struct UpdateFunctions {
    decltype(&win_sparkle_set_registry_path) setRegistryPath = nullptr;
    decltype(&win_sparkle_set_can_shutdown_callback) setCanShutdownCallback = nullptr;
    decltype(&win_sparkle_set_shutdown_request_callback) setShutdownRequestCallback = nullptr;
    decltype(&win_sparkle_set_appcast_url) setAppcastUrl = nullptr;
    decltype(&win_sparkle_init) init = nullptr;
    decltype(&win_sparkle_check_update_with_ui) checkUpdateWithUi = nullptr;
    decltype(&tvs_win_sparkle_is_busy) isBusy = nullptr;
    decltype(&win_sparkle_cleanup) cleanup = nullptr;
};

class WinSparkleLibrary {
public:
    // Not loaded: every function null, and no failure.
    WinSparkleLibrary() = default;
    // Loads the DLL at path without any box from the system.
    explicit WinSparkleLibrary(const std::wstring& path);

    bool loaded() const { return m_module.valid(); }
    // Why the library at the path is not used, for the log; empty when it is.
    const std::wstring& failure() const { return m_failure; }
    // All set when loaded.
    const UpdateFunctions& functions() const { return m_functions; }

private:
    handles::Library m_module;
    UpdateFunctions m_functions;
    std::wstring m_failure;
};
