#pragma once
// Registry access for tests. A RegistryKeyGuard owns one key for the length of
// a test: the key is removed when the guard is made and again when it goes,
// so no test sees another's values.
#include <windows.h>
#include <string>

extern const char* const kLauncherRegistryKey; // "Software\Tavisto\Tavisto Convoca Launcher"

class RegistryKeyGuard {
public:
    RegistryKeyGuard(HKEY root, std::string subKey, REGSAM view = 0);
    ~RegistryKeyGuard();
    RegistryKeyGuard(const RegistryKeyGuard&) = delete;
    RegistryKeyGuard& operator=(const RegistryKeyGuard&) = delete;

private:
    HKEY m_root;
    std::string m_subKey;
    REGSAM m_view;
};

bool regDeleteTree(HKEY root, const std::string& subKey, REGSAM view = 0);
bool regSetString(HKEY root, const std::string& subKey, const std::string& name,
                  const std::string& value, REGSAM view = 0);
bool regSetBytes(HKEY root, const std::string& subKey, const std::string& name, DWORD type,
                 const std::string& bytes, REGSAM view = 0);
// Empty and false when the value is missing.
bool regGetString(HKEY root, const std::string& subKey, const std::string& name,
                  std::string& value, REGSAM view = 0);
bool regDeleteValue(HKEY root, const std::string& subKey, const std::string& name, REGSAM view = 0);
