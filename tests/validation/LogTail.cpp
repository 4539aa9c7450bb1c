#include "LogTail.h"

#include "TestFiles.h"
#include "logging/Logger.h"

#include <gtest/gtest.h>
#include <cwctype>

namespace {

class LoggerEnvironment : public ::testing::Environment {
public:
    void SetUp() override { tvs::Logger::initialize(); }
    void TearDown() override { tvs::Logger::shutdown(); }
};

::testing::Environment* const loggerEnvironment =
    ::testing::AddGlobalTestEnvironment(new LoggerEnvironment);

const size_t timestampLength = 24;

std::wstring readAfter(const std::wstring& path, size_t offset) {
    std::string bytes = readFile(path);
    bytes.erase(0, std::min(offset, bytes.size()));
    const std::string bom = "\xEF\xBB\xBF";
    if (bytes.compare(0, bom.size(), bom) == 0) bytes.erase(0, bom.size());
    std::wstring text = fromUtf8(bytes);
    std::wstring result;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')) result += text[i];
    return result;
}

} // namespace

bool startsWithTimestamp(const std::wstring& line) {
    static const wchar_t shape[] = L"0000/00/00 00:00:00.000 ";
    if (line.size() < timestampLength) return false;
    for (size_t i = 0; i < timestampLength; ++i) {
        if (shape[i] == L'0' ? !std::iswdigit(line[i]) : line[i] != shape[i]) return false;
    }
    return true;
}

LogTail::LogTail() : m_path(tvs::Logger::currentLogPath()), m_offset(readFile(m_path).size()) {}

std::vector<std::wstring> LogTail::entries() const {
    const std::wstring text = readAfter(m_path, m_offset);
    std::vector<std::wstring> result;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find(L'\n', begin);
        end = end == std::wstring::npos ? text.size() : end + 1;
        const std::wstring line = text.substr(begin, end - begin);
        if (startsWithTimestamp(line) || result.empty())
            result.push_back(startsWithTimestamp(line) ? line.substr(timestampLength) : line);
        else
            result.back() += line;
        begin = end;
    }
    // Each entry ends with the line end the logger adds after the message.
    for (std::wstring& entry : result)
        if (!entry.empty() && entry.back() == L'\n') entry.pop_back();
    return result;
}

size_t LogTail::count(const std::wstring& message) const {
    size_t n = 0;
    for (const std::wstring& entry : entries())
        if (entry == message) ++n;
    return n;
}
