#include "deployment/LauncherSettings.h"

#include "logging/Logger.h"
#include "handles/Handles.h"
#include "platform/WholeFile.h"

#include <windows.h>
#include <cstdio>

LauncherSettings::LauncherSettings(std::wstring path, WaitFunction wait)
    : m_path(std::move(path)), m_wait(std::move(wait)) {}

bool LauncherSettings::load() {
    if (!m_contents.empty()) return true;
    tvs::Logger& log = tvs::Logger::getInstance();

    bool waited = false;
    handles::File file;
    if (!m_heldError) {
        file.reset(openFileWaiting(m_path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, [&](DWORD milliseconds) {
            waited = true;
            m_wait(milliseconds);
        }));
        if (!file && waited) m_heldError = GetLastError();
    }
    if (!file) {
        const DWORD error = m_heldError ? m_heldError : GetLastError();
        log.log(L"Utilities Window properties file %ls not available at this time, code %i", m_path.c_str(),
                static_cast<int>(error));
        return false;
    }
    const WholeFile whole = readWholeFile(file.get());
    if (whole.size == 0) {
        log.log(L"Utilities Window properties file %ls has no data", m_path.c_str());
        return false;
    }
    const bool ok = static_cast<bool>(whole.result);
    if (!ok && whole.result.error() != ERROR_HANDLE_EOF) {
        log.log(L"Error: Cannot read Utilities Window properties file %ls", m_path.c_str());
    } else if (!ok) {
        log.log(L"Error: Read of Utilities Window properties file %ls returned data length %u not equal to file data "
                L"size %u",
                m_path.c_str(), static_cast<unsigned>(whole.bytes.size()), static_cast<unsigned>(whole.size));
    }
    if (!file.close())
        log.log(L"Error: Closing of properties file %ls failed with error %ui", m_path.c_str(),
                static_cast<unsigned>(GetLastError()));
    if (!ok) return false;

    m_contents.assign(whole.bytes.c_str());
    return true;
}

std::string LauncherSettings::getValue(const std::string& key) {
    if (!load()) return std::string();
    const std::string pattern = key + "=";
    if (m_contents.size() < pattern.size()) return std::string();

    const size_t found = m_contents.find(pattern);
    if (found == std::string::npos) return std::string();
    const size_t begin = found + pattern.size();
    const size_t end = m_contents.find_first_of("\r\n", begin);
    std::string value = m_contents.substr(begin, end == std::string::npos ? std::string::npos : end - begin);

    const size_t first = value.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    const size_t last = value.find_last_not_of(' ');
    return value.substr(first, last - first + 1);
}

bool LauncherSettings::getBool(const std::string& key, bool defaultValue) {
    const std::string value = getValue(key);
    if (value == "true") return true;
    if (value == "false") return false;
    return defaultValue;
}

int32_t LauncherSettings::getInt(const std::string& key, int32_t defaultValue) {
    const std::string value = getValue(key);
    if (value.empty()) return defaultValue;
    int number = 0;
    if (std::sscanf(value.c_str(), "%i", &number) != 1) return defaultValue;
    return number;
}

std::string LauncherSettings::getString(const std::string& key, const std::string& defaultValue) {
    const std::string value = getValue(key);
    return value.empty() ? defaultValue : value;
}

SettingsFiles::SettingsFiles(const std::wstring& userPath, const std::wstring& adminPath, const WaitFunction& wait)
    : m_user(userPath, wait) {
    if (CompareStringOrdinal(userPath.c_str(), -1, adminPath.c_str(), -1, TRUE) != CSTR_EQUAL)
        m_admin.reset(new LauncherSettings(adminPath, wait));
}
