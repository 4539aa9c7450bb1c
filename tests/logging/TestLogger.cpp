#include "TestLogger.h"
#include "LauncherRun.h"

std::vector<std::wstring> logMessages(const std::wstring& logFile) {
    std::string bytes = readFile(logFile);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    std::vector<std::wstring> messages;
    for (const std::string& line : splitLines(bytes)) messages.push_back(stripTimestamp(fromUtf8(line)));
    return messages;
}
