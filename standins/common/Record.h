#pragma once
// Shared by the stand-ins: append one record to a UTF-8 file beside a module,
// in a single write so that records of concurrent processes never interleave.
#include "handles/Handles.h"
#include "platform/Text.h"

#include <string>

namespace standin {

inline std::wstring moduleDirectory(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring directory = path;
    return directory.substr(0, directory.find_last_of(L'\\'));
}

inline std::string utf8(const std::wstring& text) {
    std::string out;
    wideToMultiByte(text, CP_UTF8, out, Inexact::replace);
    return out;
}

inline void appendRecord(const std::wstring& file, const std::string& bytes) {
    handles::File h;
    for (int attempt = 0; attempt < 200 && !h; ++attempt) {
        h.reset(CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h) Sleep(10);
    }
    DWORD written = 0;
    if (h) WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

inline std::wstring environment(const wchar_t* name) {
    wchar_t value[4096] = {};
    DWORD n = GetEnvironmentVariableW(name, value, 4096);
    return n > 0 && n < 4096 ? std::wstring(value, n) : std::wstring();
}

// When this process was created, and the present moment, on the system clock
// (FILETIME units), so that records of different processes can be ordered.
inline std::string creationTime() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return std::to_string((static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime);
}
inline std::string currentTime() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return std::to_string((static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
}

} // namespace standin
