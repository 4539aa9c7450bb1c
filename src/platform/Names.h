#pragma once
// Names of the launcher's files, folders and registry key, shared by every
// part that builds a path from them.
namespace names {
inline constexpr const wchar_t* kResources = L"Resources";
inline constexpr const wchar_t* kEmbedded = L"embedded";
inline constexpr const wchar_t* kSecurity = L"security";
inline constexpr const wchar_t* kJreSubdirectory = L"Java\\jre1.7.0_40";
inline constexpr const wchar_t* kUtilityWindowJar = L"utilwin.jar";
inline constexpr const wchar_t* kCacheDirectory = L"vcaLauncherCache";
inline constexpr const wchar_t* kPerUserProperties = L"ConvocaLauncher.properties";
inline constexpr const wchar_t* kPerMachineUserProperties = L"ConvocaLauncherUser.properties";
inline constexpr const wchar_t* kAdminProperties = L"ConvocaLauncherAdmin.properties";
inline constexpr const wchar_t* kSessionExtension = L".vca";
inline constexpr const wchar_t* kLogBaseName = L"ConvocaLauncher";
// Below the user's base folder: the support folder, and its "logs".
inline constexpr const wchar_t* kSupportSubdirectory = L"Tavisto\\Tavisto Convoca Launcher";
inline constexpr const char* kRegistryKey = "Software\\Tavisto\\Tavisto Convoca Launcher";
} // namespace names
