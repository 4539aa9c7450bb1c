#include "TestLogger.h"

#include "logging/Logger.h"

#include <cwctype>

namespace {

constexpr size_t kTimestampLength = 24; // "YYYY/MM/DD hh:mm:ss.mmm "

bool startsWithTimestamp(const std::wstring& line) {
    static const wchar_t pattern[] = L"9999/99/99 99:99:99.999 ";
    if (line.size() < kTimestampLength) return false;
    for (size_t i = 0; i < kTimestampLength; ++i) {
        if (pattern[i] == L'9' ? !std::iswdigit(line[i]) : line[i] != pattern[i]) return false;
    }
    return true;
}

} // namespace

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
        messages.push_back(startsWithTimestamp(text) ? text.substr(kTimestampLength) : text);
    }
    return messages;
}
