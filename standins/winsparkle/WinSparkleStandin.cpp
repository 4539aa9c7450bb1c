// Stand-in for the update library. Every call is appended as one line to
// "WinSparkle.record.txt" beside the DLL. Its behaviour is set through the
// environment that the launcher passes on:
//   CONVOCA_STANDIN_SPARKLE_BUSY_MS   busy for this long after init and after
//                                     each interactive check (default 0)
//   CONVOCA_STANDIN_SPARKLE_SHUTDOWN  "check": ask for shutdown after an
//                                     interactive check; "init": after init
// Built with STANDIN_WITHOUT_BUSY_FLAG, it lacks the launcher's own export,
// as the library's unpatched build does.
#include "Record.h"
#include "update/WinSparkleApi.h"

#include <atomic>
#include <cstdlib>
#include <string>

namespace {

HMODULE self = nullptr;
win_sparkle_can_shutdown_callback_t canShutdownCallback = nullptr;
win_sparkle_shutdown_request_callback_t shutdownCallback = nullptr;
std::atomic<ULONGLONG> busyUntil{0};
std::atomic<int> workers{0};

void record(const std::string& line) {
    standin::appendRecord(standin::moduleDirectory(self) + L"\\WinSparkle.record.txt", line + "\r\n");
}

DWORD busyMs() { return static_cast<DWORD>(_wtoi(standin::environment(L"CONVOCA_STANDIN_SPARKLE_BUSY_MS").c_str())); }

void stayBusy() { busyUntil = GetTickCount64() + busyMs(); }

DWORD WINAPI requestShutdown(void*) {
    Sleep(300);
    if (canShutdownCallback) record("can_shutdown callback returned " + std::to_string(canShutdownCallback()));
    if (shutdownCallback) {
        record("shutdown_request callback");
        shutdownCallback();
        record("shutdown_request callback returned");
    }
    --workers;
    return 0;
}

void maybeRequestShutdown(const char* when) {
    if (standin::environment(L"CONVOCA_STANDIN_SPARKLE_SHUTDOWN") != std::wstring(when, when + strlen(when))) return;
    ++workers;
    if (!handles::Thread(CreateThread(nullptr, 0, requestShutdown, nullptr, 0, nullptr))) --workers;
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

// The launcher's first call: its time tells what came before it.
WINSPARKLE_API void __cdecl win_sparkle_set_registry_path(const char* path) {
    record("time " + standin::currentTime());
    record(std::string("win_sparkle_set_registry_path(") + path + ")");
}

WINSPARKLE_API void __cdecl win_sparkle_set_appcast_url(const char* url) {
    record(std::string("win_sparkle_set_appcast_url(") + url + ")");
}

WINSPARKLE_API void __cdecl win_sparkle_set_can_shutdown_callback(win_sparkle_can_shutdown_callback_t callback) {
    canShutdownCallback = callback;
    record("win_sparkle_set_can_shutdown_callback");
}

WINSPARKLE_API void __cdecl win_sparkle_set_shutdown_request_callback(
    win_sparkle_shutdown_request_callback_t callback) {
    shutdownCallback = callback;
    record("win_sparkle_set_shutdown_request_callback");
}

WINSPARKLE_API void __cdecl win_sparkle_init() {
    record("win_sparkle_init");
    stayBusy();
    maybeRequestShutdown("init");
}

WINSPARKLE_API void __cdecl win_sparkle_check_update_with_ui() {
    record("win_sparkle_check_update_with_ui");
    stayBusy();
    maybeRequestShutdown("check");
}

#ifndef STANDIN_WITHOUT_BUSY_FLAG
WINSPARKLE_API bool __cdecl tvs_win_sparkle_is_busy() {
    bool busy = GetTickCount64() < busyUntil || workers > 0;
    record(busy ? "tvs_win_sparkle_is_busy = true" : "tvs_win_sparkle_is_busy = false");
    return busy;
}
#endif

WINSPARKLE_API void __cdecl win_sparkle_cleanup() { record("win_sparkle_cleanup"); }
