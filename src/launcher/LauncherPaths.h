#pragma once
// What start-up works out once and the rest of the run reads.
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

namespace names {
extern const wchar_t* const resources;           // "Resources"
extern const wchar_t* const embedded;            // "embedded"
extern const wchar_t* const security;            // "security"
extern const wchar_t* const jreSubdirectory;     // "Java\jre1.7.0_40"
extern const wchar_t* const utilityWindowJar;    // "utilwin.jar"
extern const wchar_t* const cacheDirectory;      // "vcaLauncherCache"
extern const wchar_t* const perUserProperties;   // "ConvocaLauncher.properties"
extern const wchar_t* const perMachineUserProperties; // "ConvocaLauncherUser.properties"
extern const wchar_t* const adminProperties;     // "ConvocaLauncherAdmin.properties"
extern const wchar_t* const propertiesTemplate;  // "deployment.properties.tmpl"
extern const wchar_t* const sessionExtension;    // ".vca"
extern const wchar_t* const logBaseName;         // "ConvocaLauncher"
extern const wchar_t* const supportSubdirectory; // "Tavisto\Tavisto Convoca Launcher"
extern const char* const registryKey;            // "Software\Tavisto\Tavisto Convoca Launcher"
} // namespace names

// Installation kind, detected once per process and cached.
DeploymentKind detectDeploymentKind();
bool isPerMachineDeployment();

std::wstring findSupportDirectory();
std::wstring readEnvironmentVariable(const std::wstring& name);
std::vector<std::wstring> parseCommandLine();
std::wstring directoryOf(const std::wstring& path);
