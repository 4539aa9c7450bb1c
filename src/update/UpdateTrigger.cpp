#include "update/UpdateTrigger.h"

#include "logging/Logger.h"
#include "platform/Names.h"
#include "platform/Text.h"

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

void checkForUpdatesWithUi(const WinSparkleLibrary& library) {
    if (library.loaded()) library.functions().checkUpdateWithUi();
}

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

void startUpdater(const WinSparkleLibrary& library, const std::string& appcastOverride,
                  std::function<void()> onShutdownRequested) {
    if (!library.loaded()) return;
    const UpdateFunctions& f = library.functions();
    f.setRegistryPath(names::kRegistryKey);
    const std::string url = appcastOverride.empty() ? std::string(kDefaultAppcastUrl) : appcastOverride;
    tvs::Logger& logger = tvs::Logger::getInstance();
    logger.log(L"Appcast URL = %s", fromAnsi(url).c_str());
    logger.log(L"Performing update check.");
    shutdownSlot = std::move(onShutdownRequested);
    f.setCanShutdownCallback(canShutdown);
    f.setShutdownRequestCallback(shutdownRequested);
    f.setAppcastUrl(url.c_str());
    f.init();
}

void finishUpdater(const WinSparkleLibrary& library) {
    if (!library.loaded()) return;
    const UpdateFunctions& f = library.functions();
    if (f.isBusy()) {
        tvs::Logger& logger = tvs::Logger::getInstance();
        logger.log(L"Waiting for updater to finish.");
        while (f.isBusy()) Sleep(kBusyPollMs);
        logger.log(L"Updater finished.");
    }
    f.cleanup();
    shutdownSlot = nullptr;
}
