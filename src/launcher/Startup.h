#pragma once
// The launcher's whole run: what wWinMain does. Returns the exit status.
int launcherMain();
