#pragma once
// Reader of one of the launcher's settings files: lines of key=value, read
// as bytes, without comments, escapes or continuation lines. The launcher
// never writes these files.
#include "platform/FileSystem.h"

#include <cstdint>
#include <memory>
#include <string>

class LauncherSettings {
public:
    // The keys, each named by its own text. Two are defined for the settings
    // window only and are not read by the launcher.
    static constexpr const char* kAutomaticallyDownloadUpdates = "automaticallyDownloadUpdates";
    static constexpr const char* kJavaConsoleSelection = "javaConsoleSelection";
    static constexpr const char* kProxySelection = "proxySelection";
    static constexpr const char* kBypassProxyServerForLocalAddresses = "bypassProxyServerForLocalAddresses";
    static constexpr const char* kAutomaticProxyConfigScriptLocation = "automaticProxyConfigScriptLocation";
    static constexpr const char* kHttpProxyAddress = "httpProxyAddress";
    static constexpr const char* kSecureProxyAddress = "secureProxyAddress";
    static constexpr const char* kFtpProxyAddress = "ftpProxyAddress";
    static constexpr const char* kSocksProxyAddress = "socksProxyAddress";
    static constexpr const char* kHttpProxyPort = "httpProxyPort";
    static constexpr const char* kSecureProxyPort = "secureProxyPort";
    static constexpr const char* kFtpProxyPort = "ftpProxyPort";
    static constexpr const char* kSocksProxyPort = "socksProxyPort";
    static constexpr const char* kUseSameProxyServerForAllProctocols = "useSameProxyServerForAllProctocols";
    static constexpr const char* kDoNotUseProxyServerAddressList = "doNotUseProxyServerAddressList";
    static constexpr const char* kProxyOverrideHostsList = "proxyOverrideHostsList";
    static constexpr const char* kDoNotRunUpdater = "doNotRunUpdater";
    static constexpr const char* kDoNotValidateVcaFile = "doNotValidateVcaFile";
    static constexpr const char* kDoNotLaunchVcaSession = "doNotLaunchVcaSession";
    static constexpr const char* kDoNotCreateNewDeploymentProperties = "doNotCreateNewDeploymentProperties";
    static constexpr const char* kOverrideAppcastURL = "overrideAppcastURL";

    // Defaults that are not false, 0 or empty, and the ranges of the two
    // selections; a selection outside its range counts as its default.
    static constexpr int32_t kDefaultJavaConsoleSelection = 2; // disabled
    static constexpr int32_t kMaxJavaConsoleSelection = 2;
    static constexpr int32_t kDefaultProxySelection = 0; // the browser's settings
    static constexpr int32_t kMaxProxySelection = 3;

    // wait paces the retries while another process writes the file.
    explicit LauncherSettings(std::wstring path, WaitFunction wait = sleepWait);

    const std::wstring& path() const { return m_path; }

    // Makes sure the file's text is held. Once loaded, the file is not read
    // again by this object. A failure is logged and retried on the next call,
    // but for a hold that outlasted the wait: that failure stands for the
    // object's life and is logged again by each call without a second wait.
    bool load();

    // The value after the first "key=", up to the line end, without leading
    // and trailing spaces; empty when the file or the key is missing.
    std::string getValue(const std::string& key);

    // Exactly "true" or "false", else the default.
    bool getBool(const std::string& key, bool defaultValue);
    // Read as scanf's "%i" reads it (hexadecimal, octal, decimal).
    int32_t getInt(const std::string& key, int32_t defaultValue);
    std::string getString(const std::string& key, const std::string& defaultValue);

private:
    std::wstring m_path;
    WaitFunction m_wait;
    std::string m_contents;
    DWORD m_heldError = 0; // the last error of a wait that ran out
};

// The run's readers of the user's and the administrator's settings files,
// one per file: where both roles fall on one file they share its reader, so
// that a file another process holds is waited for once.
class SettingsFiles {
public:
    SettingsFiles(const std::wstring& userPath, const std::wstring& adminPath, const WaitFunction& wait = sleepWait);

    LauncherSettings& user() { return m_user; }
    LauncherSettings& admin() { return m_admin ? *m_admin : m_user; }

private:
    LauncherSettings m_user;
    std::unique_ptr<LauncherSettings> m_admin; // none when both paths name one file
};
