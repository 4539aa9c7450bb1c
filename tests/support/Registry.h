#pragma once
// Registry access for tests, in the ANSI interface the launcher uses.
#include <windows.h>
#include <string>

extern const char* const kLauncherRegistryKey; // "Software\Tavisto\Tavisto Convoca Launcher"

bool regDeleteTree(HKEY root, const std::string& subKey, REGSAM view = 0);
bool regSetString(HKEY root, const std::string& subKey, const std::string& name, const std::string& value,
                  REGSAM view = 0);
// The value, or "<none>" when it is missing.
std::string regString(HKEY root, const std::string& subKey, const std::string& name, REGSAM view = 0);
bool regKeyExists(HKEY root, const std::string& subKey, REGSAM view = 0);
