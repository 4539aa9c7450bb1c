#pragma once
// Resource numbers shared by the launcher's resource script and its code.

// A manifest that asks for the common controls of version 6, under a number
// that the system's loader never reads (it reads 1 to 16), so the launcher
// starts without it; the progress window activates it when it opens.
#define CONVOCA_COMMON_CONTROLS_MANIFEST 100
