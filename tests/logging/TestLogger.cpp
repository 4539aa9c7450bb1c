#include "TestLogger.h"

#include <cwctype>

namespace {

constexpr size_t kStampLength = 24;

bool startsWithStamp(const std::wstring& line) {
    static const wchar_t pattern[] = L"9999/99/99 99:99:99.999 ";
    if (line.size() < kStampLength) return false;
    for (size_t i = 0; i < kStampLength; ++i)
        if (pattern[i] == L'9' ? !std::iswdigit(line[i]) : line[i] != pattern[i]) return false;
    return true;
}

} // namespace

std::vector<std::wstring> logMessages(const std::wstring& logFile) {
    std::string bytes = readFile(logFile);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    std::vector<std::wstring> messages;
    for (const std::string& line : splitLines(bytes)) {
        std::wstring text = fromUtf8(line);
        messages.push_back(startsWithStamp(text) ? text.substr(kStampLength) : text);
    }
    return messages;
}
