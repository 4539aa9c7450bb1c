#include "deployment/DeploymentProperties.h"

#include "logging/Logger.h"
#include "handles/Handles.h"
#include "platform/BoxTexts.h"
#include "platform/Text.h"

namespace {

const OutputWriteTexts writeTexts = {
    L"Opening deployment.properties file: %ls",
    L"Error: Opening deployment.properties file %ls returned invalid file handle",
    L"Error: Cannot write deployment.properties file %ls",
    L"Error: Write of deployment.properties file %ls returned data length written %u not equal to the properties data "
    L"length %u",
    L"Error: Could not flush write of deployment.properties file %ls",
    L"Error: Closing of deployment properties file %ls failed with error %ui",
    L"Successfully opened, wrote, and flushed write of deployment.properties file %ls",
    true,
};

const TemplateReadTexts readTexts = {
    L"Error: No deployment.properties.tmpl file path supplied",
    L"Opening deployment.properties.tmpl file: %ls",
    L"Error: Opening deployment.properties.tmpl file %ls returned invalid file handle",
    L"Error: Cannot read deployment.properties.tmpl file %ls",
    L"Error: Read of deployment.properties.tmpl file %ls returned data length %u different than file data size %u",
    L"Error: Closing of deployment properties template file %ls failed with error %ui",
    L"Successfully opened and read deployment.properties.tmpl file %ls",
};

// Settings files are ISO 8859-1, as the utility window writes them: each
// byte is the character of the same number.
std::string escapedSetting(const std::string& latin1) {
    std::wstring text;
    for (char byte : latin1) text += static_cast<wchar_t>(static_cast<unsigned char>(byte));
    return escapeForProperties(text);
}

std::string boolText(bool value) { return value ? "true" : "false"; }

} // namespace

const DeploymentProperties::Placeholder DeploymentProperties::kPlaceholders[] = {
    {"BUNDLED_JRE_HOME", "BUNDLED_JRE_HOME_URL", &DeploymentProperties::bundledJreHome},
    {"CONSOLE_MODE", "CONSOLE_MODE", &DeploymentProperties::consoleMode},
    {"PROXY_TYPE", "PROXY_TYPE", &DeploymentProperties::proxyType},
    {"PROXY_SAME", "PROXY_SAME", &DeploymentProperties::proxySame},
    {"PROXY_CONFIG_URL", "PROXY_CONFIG_URL", &DeploymentProperties::proxyConfigUrl},
    {"PROXY_BYPASS_LIST", "PROXY_BYPASS_LIST", &DeploymentProperties::proxyBypassList},
    {"PROXY_BYPASS_LOCAL", "PROXY_BYPASS_LOCAL", &DeploymentProperties::proxyBypassLocal},
    {"PROXY_HTTP_HOST", "PROXY_HTTP_HOST", &DeploymentProperties::proxyHttpHost},
    {"PROXY_HTTP_PORT", "PROXY_HTTP_PORT", &DeploymentProperties::proxyHttpPort},
    {"PROXY_HTTPS_HOST", "PROXY_HTTPS_HOST", &DeploymentProperties::proxyHttpsHost},
    {"PROXY_HTTPS_PORT", "PROXY_HTTPS_PORT", &DeploymentProperties::proxyHttpsPort},
    {"PROXY_FTP_HOST", "PROXY_FTP_HOST", &DeploymentProperties::proxyFtpHost},
    {"PROXY_FTP_PORT", "PROXY_FTP_PORT", &DeploymentProperties::proxyFtpPort},
    {"PROXY_SOCKS_HOST", "PROXY_SOCKS_HOST", &DeploymentProperties::proxySocksHost},
    {"PROXY_SOCKS_PORT", "PROXY_SOCKS_PORT", &DeploymentProperties::proxySocksPort},
    {"PROXY_OVERRIDE_HOSTS", "PROXY_OVERRIDE_HOSTS", &DeploymentProperties::proxyOverrideHosts},
    {"USER_CACHE_DIR", "USER_CACHE_DIR", &DeploymentProperties::userCacheDir},
    {"USER_APP_SUPPORT_DIR", "USER_APP_SUPPORT_DIR", &DeploymentProperties::userAppSupportDir},
};

DeploymentProperties::DeploymentProperties(std::wstring templateDirectory, std::wstring javaHome,
                                           SettingsFiles& settings, std::wstring javaCachePath,
                                           std::wstring appSupportPath, FileCalls& calls)
    : m_javaCachePath(std::move(javaCachePath)), m_appSupportPath(std::move(appSupportPath)),
      m_templateDirectory(std::move(templateDirectory)), m_javaHome(std::move(javaHome)),
      m_userSettings(&settings.user()), m_adminSettings(&settings.admin()), m_calls(&calls) {}

std::vector<std::wstring> DeploymentProperties::emptyArguments() const {
    const std::pair<const std::wstring*, const wchar_t*> arguments[] = {
        {&m_templateDirectory, boxtexts::kNoTemplateDirectoryPath},
        {&m_javaHome, boxtexts::kNoJavaHomePath},
        {&m_userSettings->path(), boxtexts::kNoUserPropertiesPath},
        {&m_adminSettings->path(), boxtexts::kNoAdminPropertiesPath},
        {&m_javaCachePath, boxtexts::kNoJavaCachePath},
        {&m_appSupportPath, boxtexts::kNoAppSupportPath},
    };
    std::vector<std::wstring> messages;
    for (const auto& [argument, message] : arguments)
        if (argument->empty()) messages.push_back(message);
    return messages;
}

GenerateResult DeploymentProperties::generate() {
    GenerateResult result;
    if (!m_outputPath.empty()) {
        result.path = m_outputPath;
        return result;
    }
    if (!readTemplate()) {
        result.status = GenerateResult::templateNotRead;
        result.messages.push_back(L"Error reading deployment properties template file.");
        return result;
    }
    tvs::Logger::getInstance().log(L"DeploymentProperties Utility Window Properties File specified: %ls",
                                   m_userSettings->path().c_str());

    for (const Placeholder& placeholder : kPlaceholders) {
        if (replaceParameter(placeholder.name, (this->*placeholder.value)()) == 0) {
            result.status = GenerateResult::placeholderMissing;
            result.messages.push_back(std::wstring(L"Error finding ") + fromAnsi(placeholder.reportedName) +
                                      L" parameter in deployment properties template file.");
            return result;
        }
    }
    if (!writeOutput(result)) {
        result.status = GenerateResult::notWritten;
        result.messages.push_back(L"Error writing deployment properties file.");
        return result;
    }
    result.path = m_outputPath;
    return result;
}

bool DeploymentProperties::readTemplate() {
    return readTemplateFile(m_templateDirectory, L"deployment.properties.tmpl", readTexts, m_templateText,
                            m_calls->waitFunction());
}

size_t DeploymentProperties::replaceParameter(const std::string& name, const std::string& value) {
    return replaceTemplateParameter(m_templateText, name, value, L"deployment.properties");
}

// Placeholder values. The proxy selection is read afresh for each value.

int32_t DeploymentProperties::proxySelection() {
    const int32_t selection =
        m_adminSettings->getInt(LauncherSettings::kProxySelection, LauncherSettings::kDefaultProxySelection);
    if (selection < 0 || selection > LauncherSettings::kMaxProxySelection)
        return LauncherSettings::kDefaultProxySelection;
    return selection;
}

bool DeploymentProperties::sameServerForAll() {
    return m_adminSettings->getBool(LauncherSettings::kUseSameProxyServerForAllProctocols, false);
}

bool DeploymentProperties::manualProxy() { return proxySelection() == 1; }

bool DeploymentProperties::manualPerProtocolProxy() { return manualProxy() && !sameServerForAll(); }

std::string DeploymentProperties::manualText(const char* key) {
    return escapedSetting(m_adminSettings->getString(key, std::string()));
}

std::string DeploymentProperties::manualPort(const char* key) {
    return std::to_string(m_adminSettings->getInt(key, 0));
}

std::string DeploymentProperties::bundledJreHome() { return escapeForProperties(m_javaHome); }

std::string DeploymentProperties::consoleMode() {
    static const char* const modes[] = {"SHOW", "HIDE", "DISABLE"};
    int32_t selection =
        m_userSettings->getInt(LauncherSettings::kJavaConsoleSelection, LauncherSettings::kDefaultJavaConsoleSelection);
    if (selection < 0 || selection > LauncherSettings::kMaxJavaConsoleSelection)
        selection = LauncherSettings::kDefaultJavaConsoleSelection;
    return modes[selection];
}

std::string DeploymentProperties::proxyType() {
    static const char* const types[] = {"3", "1", "2", "0"};
    return types[proxySelection()];
}

std::string DeploymentProperties::proxySame() { return boolText(manualProxy() && sameServerForAll()); }

std::string DeploymentProperties::proxyConfigUrl() {
    return proxySelection() == 2
               ? escapedSetting(m_adminSettings->getString(LauncherSettings::kAutomaticProxyConfigScriptLocation, ""))
               : std::string();
}

std::string DeploymentProperties::proxyBypassList() {
    return manualProxy() ? manualText(LauncherSettings::kDoNotUseProxyServerAddressList) : std::string();
}

std::string DeploymentProperties::proxyBypassLocal() {
    return boolText(manualProxy() &&
                    m_adminSettings->getBool(LauncherSettings::kBypassProxyServerForLocalAddresses, false));
}

std::string DeploymentProperties::proxyHttpHost() {
    return manualProxy() ? manualText(LauncherSettings::kHttpProxyAddress) : std::string();
}

std::string DeploymentProperties::proxyHttpPort() {
    return manualProxy() ? manualPort(LauncherSettings::kHttpProxyPort) : "0";
}

std::string DeploymentProperties::proxyHttpsHost() {
    return manualPerProtocolProxy() ? manualText(LauncherSettings::kSecureProxyAddress) : std::string();
}

std::string DeploymentProperties::proxyHttpsPort() {
    return manualPerProtocolProxy() ? manualPort(LauncherSettings::kSecureProxyPort) : "0";
}

std::string DeploymentProperties::proxyFtpHost() {
    return manualPerProtocolProxy() ? manualText(LauncherSettings::kFtpProxyAddress) : std::string();
}

std::string DeploymentProperties::proxyFtpPort() {
    return manualPerProtocolProxy() ? manualPort(LauncherSettings::kFtpProxyPort) : "0";
}

std::string DeploymentProperties::proxySocksHost() {
    return manualProxy() ? manualText(LauncherSettings::kSocksProxyAddress) : std::string();
}

std::string DeploymentProperties::proxySocksPort() {
    return manualProxy() ? manualPort(LauncherSettings::kSocksProxyPort) : "0";
}

std::string DeploymentProperties::proxyOverrideHosts() {
    return manualProxy() ? manualText(LauncherSettings::kProxyOverrideHostsList) : std::string();
}

std::string DeploymentProperties::userCacheDir() { return escapeForProperties(m_javaCachePath); }

std::string DeploymentProperties::userAppSupportDir() { return escapeForProperties(m_appSupportPath); }

// Output.

bool DeploymentProperties::writeOutput(GenerateResult& result) {
    tvs::Logger& log = tvs::Logger::getInstance();
    if (m_javaHome.empty()) {
        log.log(L"Error: No deployment.properties file path supplied");
        return false;
    }
    if (m_templateText.empty()) {
        log.log(L"Error: No deployment.properties.tmpl data for writing out to the deployment.properties file");
        return false;
    }
    const std::wstring path = runtimeLibFile(m_javaHome, L"deployment.properties");
    const OutputWrite outcome = writeOutputFile(path, m_templateText, *m_calls, writeTexts);
    // An open or a write call that failed ends here, without a box of its own.
    if (outcome == OutputWrite::notOpened || outcome == OutputWrite::writeFailed) return false;
    const bool ok = outcome == OutputWrite::written;
    if (ok) {
        // Only a file written whole counts as produced; after a failure a
        // later generate tries again.
        m_outputPath = path;
    } else {
        result.messages.push_back(L"Error writing deployment properties file file.");
    }
    m_templateText.clear();
    return ok;
}
