#pragma once
// Runs the process-wide logger for one test, in a private temporary folder
// instead of the user's support directory.
#include "TestFiles.h"
#include "logging/LogDirectory.h"

#include <string>
#include <vector>

// A base-directory source that names one folder as the local
// application-data folder and nothing else.
class FixedBaseDirectory : public tvs::BaseDirectorySource {
public:
    explicit FixedBaseDirectory(std::wstring base) : m_base(std::move(base)) {}
    std::wstring localAppData() const override { return m_base; }
    std::wstring environment(const wchar_t*) const override { return L""; }
    std::wstring tempPath() const override { return L""; }
    std::wstring longPath(const std::wstring&) const override { return L""; }

private:
    std::wstring m_base;
};

// Initialises the logger below a fresh temporary folder; shuts it down (if
// still running) when it goes.
class ScopedTestLogger {
public:
    ScopedTestLogger();
    ~ScopedTestLogger();
    ScopedTestLogger(const ScopedTestLogger&) = delete;
    ScopedTestLogger& operator=(const ScopedTestLogger&) = delete;

    const std::wstring& base() const { return m_base.path(); }
    std::wstring logDirectory() const;
    // Messages of the current log (timestamps removed), in order.
    std::vector<std::wstring> messages() const;

private:
    TempDir m_base;
};

// The messages of a log file: UTF-8 with a byte-order mark, CR LF lines, each
// "YYYY/MM/DD hh:mm:ss.mmm " followed by the message. Lines that a message
// with line feeds continued on are given whole.
std::vector<std::wstring> logMessages(const std::wstring& logFile);
