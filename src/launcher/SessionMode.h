#pragma once
#include "deployment/LauncherSettings.h"
#include "launcher/LauncherPaths.h"
#include "launcher/OneTimeSetup.h"
#include "platform/FileSystem.h"
#include "platform/ShortPath.h"

#include <functional>
#include <string>

struct SessionOutcome {
    int status = 0;
    // Set when a path had no ANSI form: the status is then the conversion's
    // error code and the run ends at once, without the exit sequence.
    bool bypassExitSequence = false;
};

// Starts Java Web Start on the first ".vca" argument, with the run's settings
// readers. setupLock, which keeps other starts from replacing the working
// copy, is released once Java has been created, before any box, and on
// every way out. afterJava is called right after Java has been created, or
// where that would have been when the launch stopped short, but not on the
// way out that bypasses the exit sequence. Paths without an ANSI form reach
// Java in their short forms from shortPaths.
SessionOutcome runSessionMode(const LauncherPaths& paths, const StartupSwitches& switches, SettingsFiles& settings,
                              HeldLock& setupLock, const std::function<void()>& afterJava = nullptr,
                              const ShortPathSource& shortPaths = systemShortPaths());

// Copies the runtime's security directory into the support directory once;
// a copy that differs from the master is removed and counts as failed.
bool copySecurityDirectory(const std::wstring& executableDirectory, const std::wstring& supportDirectory,
                           const TreeCalls& calls = systemTreeCalls());
