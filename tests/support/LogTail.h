#pragma once
// The log since a tail was made, without timestamps, a line feed after each line; the program logs privately.
#include "TestLogger.h"

#include <gtest/gtest.h>

struct LoggerEnvironment : ::testing::Environment {
    void SetUp() override { logger = std::make_unique<ScopedTestLogger>(); }
    void TearDown() override { logger.reset(); }
    std::unique_ptr<ScopedTestLogger> logger;
};
inline ::testing::Environment* const loggerEnvironment = ::testing::AddGlobalTestEnvironment(new LoggerEnvironment);

struct LogTail {
    static std::wstring all() {
        std::wstring text;
        for (const std::wstring& line : logMessages(tvs::Logger::currentLogPath())) text += line + L"\n";
        return text;
    }
    std::wstring text() const { return all().substr(start); }
    bool has(const std::wstring& line) const {
        return (L"\n" + text()).find(L"\n" + line + L"\n") != std::wstring::npos;
    }
    const size_t start = all().size();
};
