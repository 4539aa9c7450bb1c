#pragma once
// A DLL's export found at run time, as the function type it has.
#include <windows.h>

// Null when the module lacks the export, with the reason in GetLastError().
template <typename Function>
Function findProcedure(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
