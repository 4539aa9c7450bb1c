#pragma once
// What start-up works out once and the rest of the run reads.
#include "launcher/InstallKind.h"
#include "platform/Names.h"

#include <string>
#include <vector>

struct LauncherPaths {
    std::vector<std::wstring> arguments;
    std::wstring executablePath;
    std::wstring executableDirectory;
    std::wstring supportDirectory;
    std::wstring executableVersion;
    std::wstring embeddedJreHome;
    std::wstring appDataDirectory;
    std::wstring userPropertiesPath;
    std::wstring adminPropertiesPath;
    std::wstring cacheDirectory;
    InstallKind installKind = InstallKind::perUser;
};

struct StartupSwitches {
    bool updaterDisabled = false;
    bool validationDisabled = false;
    bool launchDisabled = false;
    std::string appcastOverride;
};

std::wstring findSupportDirectory();
std::vector<std::wstring> parseCommandLine();
std::wstring directoryOf(const std::wstring& path);
