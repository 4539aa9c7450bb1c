#pragma once
#include "deployment/LauncherSettings.h"
#include "deployment/TemplateFile.h"

#include <string>
#include <vector>

// Writes the embedded runtime's lib\deployment.properties from
// deployment.properties.tmpl: the console mode from the user's settings, the
// proxy settings from the administrator's, and the runtime, cache and
// support paths. One object per launch step.
class DeploymentProperties {
public:
    // The settings are the run's own readers, which must outlive this object.
    DeploymentProperties(std::wstring templateDirectory, std::wstring javaHome, SettingsFiles& settings,
                         std::wstring javaCachePath, std::wstring appSupportPath, FileCalls& calls = systemFileCalls());

    // What the user is told of each empty argument and each empty settings
    // path, in order; none is a reason not to generate.
    std::vector<std::wstring> emptyArguments() const;

    // After a success, later calls return the same path and neither read the
    // settings nor write anything; after a failure, a later call tries again.
    GenerateResult generate();

private:
    bool readTemplate();
    // Adds its own message to result when the file was opened but not
    // written whole.
    bool writeOutput(GenerateResult& result);
    size_t replaceParameter(const std::string& name, const std::string& value);

    struct Placeholder {
        const char* name;
        const char* reportedName; // the name its error message gives
        std::string (DeploymentProperties::*value)();
    };
    static const Placeholder kPlaceholders[];

    int32_t proxySelection();
    bool sameServerForAll();
    bool manualProxy();
    bool manualPerProtocolProxy();
    std::string manualText(const char* key);
    std::string manualPort(const char* key);

    std::string bundledJreHome();
    std::string consoleMode();
    std::string proxyType();
    std::string proxySame();
    std::string proxyConfigUrl();
    std::string proxyBypassList();
    std::string proxyBypassLocal();
    std::string proxyHttpHost();
    std::string proxyHttpPort();
    std::string proxyHttpsHost();
    std::string proxyHttpsPort();
    std::string proxyFtpHost();
    std::string proxyFtpPort();
    std::string proxySocksHost();
    std::string proxySocksPort();
    std::string proxyOverrideHosts();
    std::string userCacheDir();
    std::string userAppSupportDir();

    std::wstring m_javaCachePath;
    std::wstring m_appSupportPath;
    std::wstring m_templateDirectory;
    std::wstring m_javaHome;
    std::wstring m_outputPath;
    LauncherSettings* m_userSettings;
    LauncherSettings* m_adminSettings;
    std::string m_templateText;
    FileCalls* m_calls;
};
