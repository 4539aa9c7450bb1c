#include "update/UpdateTrigger.h"

#include "logging/Logger.h"
#include "platform/Names.h"
#include "platform/Text.h"
#include "update/WinSparkleApi.h"

#include <windows.h>

#ifndef CONVOCA_APPCAST_URL
#error "CONVOCA_APPCAST_URL comes from the build configuration"
#endif

const char* const kDefaultAppcastUrl = CONVOCA_APPCAST_URL;

namespace {
const DWORD kBusyPollMs = 250;

// The library's callbacks carry no context: what shutdownRequested() calls,
// set before the library starts and cleared once it is closed.
std::function<void()> shutdownSlot;
} // namespace

void checkForUpdatesWithUi() { win_sparkle_check_update_with_ui(); }

extern "C" int __cdecl canShutdown() { return 1; }

// Called on the library's thread: nothing may escape back into the library,
// not even a failure of the logging itself.
extern "C" void __cdecl shutdownRequested() {
    try {
        tvs::Logger::getInstance().log(L"Notified of successful update. Calling shutdown");
    } catch (...) {}
    try {
        if (shutdownSlot) shutdownSlot();
    } catch (...) {}
}

void startUpdater(const std::string& appcastOverride, std::function<void()> onShutdownRequested) {
    win_sparkle_set_registry_path(names::kRegistryKey);
    const std::string url = appcastOverride.empty() ? std::string(kDefaultAppcastUrl) : appcastOverride;
    tvs::Logger& logger = tvs::Logger::getInstance();
    logger.log(L"Appcast URL = %s", fromAnsi(url).c_str());
    logger.log(L"Performing update check.");
    shutdownSlot = std::move(onShutdownRequested);
    win_sparkle_set_can_shutdown_callback(canShutdown);
    win_sparkle_set_shutdown_request_callback(shutdownRequested);
    win_sparkle_set_appcast_url(url.c_str());
    win_sparkle_init();
}

void finishUpdater() {
    if (tvs_win_sparkle_is_busy()) {
        tvs::Logger& logger = tvs::Logger::getInstance();
        logger.log(L"Waiting for updater to finish.");
        while (tvs_win_sparkle_is_busy()) Sleep(kBusyPollMs);
        logger.log(L"Updater finished.");
    }
    win_sparkle_cleanup();
    shutdownSlot = nullptr;
}
