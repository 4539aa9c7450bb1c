#include "TestLogger.h"

#include "logging/Logger.h"

namespace {
constexpr size_t kTimestampLength = 24; // "YYYY/MM/DD hh:mm:ss.mmm "
}

ScopedTestLogger::ScopedTestLogger() {
    tvs::Logger::initialize(FixedBaseDirectory(m_base.path()));
}

ScopedTestLogger::~ScopedTestLogger() {
    tvs::Logger::shutdown();
}

std::wstring ScopedTestLogger::logDirectory() const {
    return m_base.path() + L"\\Tavisto\\Tavisto Convoca Launcher\\logs";
}

std::vector<std::wstring> ScopedTestLogger::messages() const {
    return logMessages(tvs::Logger::currentLogPath());
}

std::vector<std::wstring> logMessages(const std::wstring& logFile) {
    std::string bytes = readFile(logFile);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    std::vector<std::wstring> messages;
    for (const std::string& line : splitLines(bytes)) {
        std::wstring text = fromUtf8(line);
        messages.push_back(text.size() >= kTimestampLength ? text.substr(kTimestampLength) : text);
    }
    return messages;
}
