#pragma once
// Reader of one of the launcher's settings files: lines of key=value, read
// as bytes, without comments, escapes or continuation lines. The launcher
// never writes these files.
#include "platform/FileSystem.h"

#include <cstdint>
#include <string>

class LauncherSettings {
public:
    // The keys, each named by its own text. Two are defined for the settings
    // window only and are not read by the launcher.
    static constexpr const char* automaticallyDownloadUpdates = "automaticallyDownloadUpdates";
    static constexpr const char* javaConsoleSelection = "javaConsoleSelection";
    static constexpr const char* proxySelection = "proxySelection";
    static constexpr const char* bypassProxyServerForLocalAddresses = "bypassProxyServerForLocalAddresses";
    static constexpr const char* automaticProxyConfigScriptLocation = "automaticProxyConfigScriptLocation";
    static constexpr const char* httpProxyAddress = "httpProxyAddress";
    static constexpr const char* secureProxyAddress = "secureProxyAddress";
    static constexpr const char* ftpProxyAddress = "ftpProxyAddress";
    static constexpr const char* socksProxyAddress = "socksProxyAddress";
    static constexpr const char* httpProxyPort = "httpProxyPort";
    static constexpr const char* secureProxyPort = "secureProxyPort";
    static constexpr const char* ftpProxyPort = "ftpProxyPort";
    static constexpr const char* socksProxyPort = "socksProxyPort";
    static constexpr const char* useSameProxyServerForAllProctocols = "useSameProxyServerForAllProctocols";
    static constexpr const char* doNotUseProxyServerAddressList = "doNotUseProxyServerAddressList";
    static constexpr const char* proxyOverrideHostsList = "proxyOverrideHostsList";
    static constexpr const char* doNotRunUpdater = "doNotRunUpdater";
    static constexpr const char* doNotValidateVcaFile = "doNotValidateVcaFile";
    static constexpr const char* doNotLaunchVcaSession = "doNotLaunchVcaSession";
    static constexpr const char* doNotCreateNewDeploymentProperties = "doNotCreateNewDeploymentProperties";
    static constexpr const char* overrideAppcastURL = "overrideAppcastURL";

    // Defaults that are not false, 0 or empty, and the ranges of the two
    // selections; a selection outside its range counts as its default.
    static constexpr int32_t defaultJavaConsoleSelection = 2;  // disabled
    static constexpr int32_t maxJavaConsoleSelection = 2;
    static constexpr int32_t defaultProxySelection = 0;        // the browser's settings
    static constexpr int32_t maxProxySelection = 3;

    // wait paces the retries while another process writes the file.
    explicit LauncherSettings(std::wstring path, WaitFunction wait = sleepWait);

    // Makes sure the file's text is held. Once loaded, the file is not read
    // again by this object. A failure is logged and retried on the next call.
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
    std::wstring path;
    WaitFunction wait;
    std::string contents;
};
