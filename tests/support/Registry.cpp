#include "Registry.h"

const char* const kLauncherRegistryKey = "Software\\Tavisto\\Tavisto Convoca Launcher";

bool regDeleteTree(HKEY root, const std::string& subKey, REGSAM view) {
    HKEY key;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS)
        return true;
    RegDeleteTreeA(key, nullptr);
    RegCloseKey(key);
    return RegDeleteKeyExA(root, subKey.c_str(), view, 0) == ERROR_SUCCESS;
}

bool regSetBytes(HKEY root, const std::string& subKey, const std::string& name, DWORD type,
                 const std::string& bytes, REGSAM view) {
    HKEY key;
    if (RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(key, name.c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool regSetString(HKEY root, const std::string& subKey, const std::string& name,
                  const std::string& value, REGSAM view) {
    return regSetBytes(root, subKey, name, REG_SZ, std::string(value.c_str(), value.size() + 1), view);
}

bool regGetString(HKEY root, const std::string& subKey, const std::string& name,
                  std::string& value, REGSAM view) {
    value.clear();
    HKEY key;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return false;
    char buffer[4096];
    DWORD size = sizeof buffer, type = 0;
    LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return false;
    value.assign(buffer, size);
    while (!value.empty() && value.back() == '\0') value.pop_back();
    return true;
}

bool regDeleteValue(HKEY root, const std::string& subKey, const std::string& name, REGSAM view) {
    HKEY key;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS)
        return false;
    LONG rc = RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}
