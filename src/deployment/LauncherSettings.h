#pragma once
// Reader of one of the launcher's settings files: lines of key=value, read
// as bytes, without comments, escapes or continuation lines. The launcher
// never writes these files. The keys and the selections' defaults are
// SettingsKeys', from cmake/tables/Settings.cmake.
#include "deployment/SettingsKeys.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <memory>
#include <string>

class LauncherSettings : public SettingsKeys {
public:
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
