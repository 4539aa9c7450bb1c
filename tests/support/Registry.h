#pragma once
// Registry access for tests, in the ANSI interface the launcher uses.
#include "handles/Handles.h"

#include <windows.h>
#include <string>

inline const char* const kLauncherRegistryKey = "Software\\Tavisto\\Tavisto Convoca Launcher";

inline bool regDeleteTree(HKEY root, const std::string& subKey, REGSAM view = 0) {
    handles::RegKey key;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_ALL_ACCESS | view, key.put()) != ERROR_SUCCESS) return true;
    RegDeleteTreeA(key.get(), nullptr);
    key.reset();
    return RegDeleteKeyExA(root, subKey.c_str(), view, 0) == ERROR_SUCCESS;
}

inline bool regSetString(HKEY root, const std::string& subKey, const std::string& name, const std::string& value,
                         REGSAM view = 0) {
    handles::RegKey key;
    return RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, key.put(), nullptr) ==
               ERROR_SUCCESS &&
           RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

// The value, or "<none>" when it is missing.
inline std::string regString(HKEY root, const std::string& subKey, const std::string& name, REGSAM view = 0) {
    handles::RegKey key;
    char buffer[4096];
    DWORD size = sizeof buffer;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_QUERY_VALUE | view, key.put()) != ERROR_SUCCESS ||
        RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS)
        return "<none>";
    std::string value(buffer, size);
    while (!value.empty() && value.back() == '\0') value.pop_back();
    return value;
}

inline bool regKeyExists(HKEY root, const std::string& subKey, REGSAM view = 0) {
    handles::RegKey key;
    return RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ | view, key.put()) == ERROR_SUCCESS;
}
