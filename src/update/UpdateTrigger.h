#pragma once
// Drives the update library: configures and starts it, asks it for an
// interactive check on request, answers its callbacks, and waits for it to
// be idle at the end of the run. Each call does nothing when the library
// is not loaded.
#include "update/WinSparkleLibrary.h"

#include <functional>
#include <string>

// appcastOverride replaces the default appcast URL when it is not empty.
// onShutdownRequested is called on the library's thread when an installed
// update needs the launcher to end, until finishUpdater() returns; whatever
// it throws is kept from the library.
void startUpdater(const WinSparkleLibrary& library, const std::string& appcastOverride,
                  std::function<void()> onShutdownRequested);
void finishUpdater(const WinSparkleLibrary& library);

// Shows the library's own check and its outcome.
void checkForUpdatesWithUi(const WinSparkleLibrary& library);

// The library's callbacks, as it calls them.
extern "C" int __cdecl canShutdown();
extern "C" void __cdecl shutdownRequested();

extern const char* const kDefaultAppcastUrl;
