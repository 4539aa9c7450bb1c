#pragma once
// Drives the update library: configures and starts it at the beginning of a
// run, asks it for an interactive check when the settings window wants one,
// answers its callbacks, and waits for it to be idle at the end of the run.
#include "utilitywindow/UtilityWindowLauncher.h"

#include <string>

class WinSparkleUpdateTrigger : public UtilityWindowLauncher::Listener {
public:
    void updateRequested() override;
};

extern "C" int __cdecl canShutdown();
extern "C" void __cdecl shutdownRequested();

// appcastOverride replaces the default appcast URL when it is not empty.
void startUpdater(const std::string& appcastOverride);
void finishUpdater();

extern const char* const kDefaultAppcastUrl;
