#pragma once
// What start-up works out once and the rest of the run reads.
#include "platform/Names.h"

#include <string>
#include <vector>

enum DeploymentKind { unknownDeployment = 0, perUser = 1, perMachine = 2 };

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
    DeploymentKind deploymentKind = unknownDeployment;
};

struct StartupSwitches {
    bool updaterDisabled = false;
    bool validationDisabled = false;
    bool launchDisabled = false;
    std::string appcastOverride;
};

// Installation kind, detected once per process and cached.
DeploymentKind detectDeploymentKind();
bool isPerMachineDeployment();

std::wstring findSupportDirectory();
std::vector<std::wstring> parseCommandLine();
std::wstring directoryOf(const std::wstring& path);
