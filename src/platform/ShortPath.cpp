#include "platform/ShortPath.h"

#include "platform/FileSystem.h"
#include "platform/Text.h"

#include <windows.h>

#include <vector>

namespace {

constexpr DWORD kPathBufferSize = 4096;

// The short form of the nearest existing folder of path, with the rest of
// path appended; empty when no folder of it has a short form.
std::wstring shortFormOfNearestExisting(const std::wstring& path, const ShortPathSource& shortPaths) {
    std::wstring existing = path, rest;
    while (!existing.empty()) {
        const std::wstring shortened = shortPaths.shortForm(existing);
        if (!shortened.empty()) return shortened + rest;
        const std::wstring parent = findParentDirectory(existing);
        if (parent.empty()) break;
        rest = existing.substr(parent.size()) + rest;
        existing = parent;
    }
    return std::wstring();
}

} // namespace

std::wstring ShortPathSource::shortForm(const std::wstring& path) const {
    std::vector<wchar_t> buffer(kPathBufferSize, L'\0');
    const DWORD length = GetShortPathNameW(path.c_str(), buffer.data(), kPathBufferSize);
    if (length == 0 || length >= kPathBufferSize) return std::wstring();
    return std::wstring(buffer.data(), length);
}

const ShortPathSource& systemShortPaths() {
    static const ShortPathSource source;
    return source;
}

AnsiPath toAnsiPath(const std::wstring& path, const ShortPathSource& shortPaths) {
    AnsiPath result;
    result.converted = toAnsi(path, result.text);
    if (result.converted) return result;
    const std::wstring shortened = shortFormOfNearestExisting(path, shortPaths);
    if (!shortened.empty() && toAnsi(shortened, result.text)) {
        result.converted = Win32Result();
        result.shortened = true;
        return result;
    }
    result.text.clear();
    return result;
}
