#pragma once
// The process-wide logger below a private temporary folder, for tests that
// check log lines.
#include "TestFiles.h"
#include "logging/LogDirectory.h"
#include "logging/Logger.h"

// Names one folder as the local application-data folder, and nothing else.
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

// The messages of a log file (UTF-8 with a byte-order mark, CR LF lines),
// each without its "YYYY/MM/DD hh:mm:ss.mmm " timestamp. Lines that a
// message with line feeds continued on are given whole.
std::vector<std::wstring> logMessages(const std::wstring& logFile);

// Initialises the logger below a fresh temporary folder; shuts it down (if
// still running) when it goes.
class ScopedTestLogger {
public:
    ScopedTestLogger() { tvs::Logger::initialize(FixedBaseDirectory(m_base.path())); }
    ~ScopedTestLogger() { tvs::Logger::shutdown(); }
    // Messages of the current log, in order.
    std::vector<std::wstring> messages() const { return logMessages(tvs::Logger::currentLogPath()); }

private:
    TempDir m_base;
};
