#pragma once
// The process-wide logger below a private temporary folder, for tests that check log lines.
#include "TestFiles.h"
#include "logging/LogDirectory.h"
#include "logging/Logger.h"

#include <gtest/gtest.h>
#include <map>

// Base directories with given answers; by default only the local application-data folder.
struct FixedBaseDirectory : tvs::BaseDirectorySource {
    explicit FixedBaseDirectory(std::wstring base = L"") : local(std::move(base)) {}
    std::wstring localAppData() const override { return local; }
    std::wstring environment(const wchar_t* name) const override {
        auto it = variables.find(name);
        return it == variables.end() ? L"" : it->second;
    }
    std::wstring tempPath() const override { return temp; }
    std::wstring longPath(const std::wstring& path) const override { return path == temp ? longTemp : L""; }

    std::wstring local, temp, longTemp;
    std::map<std::wstring, std::wstring> variables;
};

// Initialises the logger below a fresh temporary folder; shuts it down (if still running) when it goes.
class ScopedTestLogger {
public:
    ScopedTestLogger() { EXPECT_TRUE(tvs::Logger::initialize(FixedBaseDirectory(m_base.path())).started); }
    ~ScopedTestLogger() { tvs::Logger::shutdown(); }
    std::vector<std::wstring> messages() const { return logMessages(tvs::Logger::currentLogPath()); }

private:
    TempDir m_base;
};
