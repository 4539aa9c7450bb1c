#include "launcher/LauncherPaths.h"

namespace names {
const wchar_t* const resources = L"Resources";
const wchar_t* const embedded = L"embedded";
const wchar_t* const security = L"security";
const wchar_t* const jreSubdirectory = L"Java\\jre1.7.0_40";
const wchar_t* const utilityWindowJar = L"utilwin.jar";
const wchar_t* const cacheDirectory = L"vcaLauncherCache";
const wchar_t* const perUserProperties = L"ConvocaLauncher.properties";
const wchar_t* const perMachineUserProperties = L"ConvocaLauncherUser.properties";
const wchar_t* const adminProperties = L"ConvocaLauncherAdmin.properties";
const wchar_t* const propertiesTemplate = L"deployment.properties.tmpl";
const wchar_t* const sessionExtension = L".vca";
const wchar_t* const logBaseName = L"ConvocaLauncher";
const wchar_t* const supportSubdirectory = L"Tavisto\\Tavisto Convoca Launcher";
const char* const registryKey = "Software\\Tavisto\\Tavisto Convoca Launcher";
} // namespace names
