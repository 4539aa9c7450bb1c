#pragma once
// Whether the launcher is installed for the current user only (below the
// user's profile folder) or for every user of the machine.
enum class InstallKind { perUser, perMachine };

// Found from the running program's path; per user when that cannot be told.
InstallKind detectInstallKind();
