#pragma once
// Drives the update library: configures and starts it at the beginning of a
// run, asks it for an interactive check on request, answers its callbacks,
// and waits for it to be idle at the end of the run.
#include <functional>
#include <string>

// appcastOverride replaces the default appcast URL when it is not empty.
// onShutdownRequested is called on the library's thread when an installed
// update needs the launcher to end, until finishUpdater() returns; whatever
// it throws is kept from the library.
void startUpdater(const std::string& appcastOverride, std::function<void()> onShutdownRequested);
void finishUpdater();

// Shows the library's own check and its outcome. Does nothing unless the
// library has been started.
void checkForUpdatesWithUi();

// The library's callbacks, as it calls them.
extern "C" int __cdecl canShutdown();
extern "C" void __cdecl shutdownRequested();

extern const char* const kDefaultAppcastUrl;
