#include "logging/AnsiPathLog.h"

#include "logging/Logger.h"
#include "platform/Text.h"

bool toLoggedAnsiPath(const std::wstring& path, const ShortPathSource& shortPaths, const wchar_t* recipient,
                      std::string& text) {
    AnsiPath ansi = toAnsiPath(path, shortPaths);
    if (!ansi.converted) return false;
    if (ansi.shortened)
        tvs::Logger::getInstance().log(L"No ANSI form of %ls: %ls given its short form %ls", path.c_str(), recipient,
                                       fromAnsi(ansi.text).c_str());
    text = std::move(ansi.text);
    return true;
}
