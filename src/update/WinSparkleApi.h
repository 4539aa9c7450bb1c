#pragma once
// The update library's C interface, plus the one export of the variant that
// ships with the launcher. The launcher finds these in "WinSparkle.dll" at
// run time (WinSparkleLibrary), so it never imports them.
#ifdef WINSPARKLE_BUILDING_DLL
#define WINSPARKLE_API extern "C" __declspec(dllexport)
#else
#define WINSPARKLE_API extern "C" __declspec(dllimport)
#endif

typedef int(__cdecl* win_sparkle_can_shutdown_callback_t)();
typedef void(__cdecl* win_sparkle_shutdown_request_callback_t)();

WINSPARKLE_API void __cdecl win_sparkle_set_registry_path(const char* path);
WINSPARKLE_API void __cdecl win_sparkle_set_appcast_url(const char* url);
WINSPARKLE_API void __cdecl win_sparkle_set_can_shutdown_callback(win_sparkle_can_shutdown_callback_t callback);
WINSPARKLE_API void __cdecl win_sparkle_set_shutdown_request_callback(win_sparkle_shutdown_request_callback_t callback);
WINSPARKLE_API void __cdecl win_sparkle_init();
WINSPARKLE_API void __cdecl win_sparkle_check_update_with_ui();
WINSPARKLE_API void __cdecl win_sparkle_cleanup();
// True while the library still has work in progress.
WINSPARKLE_API bool __cdecl tvs_win_sparkle_is_busy();
