#include "logging/LogCollector.h"

#include "logging/Diagnostics.h"
#include "platform/FileSystem.h"
#include "handles/Handles.h"

#include <windows.h>
#include <share.h>

#include <cstdio>
#include <limits>
#include <memory>

namespace tvs {

namespace {

constexpr size_t kCopyBlockSize = 4096;
constexpr long long kMaxLogAgeDays = 90;
constexpr long long kFileTimeUnitsPerSecond = 10000000;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, FileCloser>;

bool readAttributes(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) != FALSE;
}

bool isNonEmptyFile(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return readAttributes(path, data) && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (data.nFileSizeHigh != 0 || data.nFileSizeLow != 0);
}

// 0 for a missing file or a directory; sizes beyond 32 bits count as the largest.
std::uint32_t collectorSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!readAttributes(path, data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    if (data.nFileSizeHigh != 0) return std::numeric_limits<std::uint32_t>::max();
    return data.nFileSizeLow;
}

// Keeps exactly one old collector.
void rollOver(const LogFiles& files) {
    writeDiagnostic(L"Rolling over log file: %ls\n", files.collector.c_str());
    if (!pathExists(files.collector)) return;
    if (pathExists(files.rolledOver) && !DeleteFileW(files.rolledOver.c_str()))
        writeDiagnostic(L"Failed to delete: %ls\n", files.rolledOver.c_str());
    if (!MoveFileW(files.collector.c_str(), files.rolledOver.c_str()))
        writeDiagnostic(L"Failed to rename: %ls\n", files.collector.c_str());
}

// Copies byte for byte (binary mode), so the collector gets the current log
// exactly as written, and a Ctrl-Z inside a message does not end the copy.
// True when every byte was appended.
bool appendAll(std::FILE* from, std::FILE* to, const LogFiles& files) {
    char block[kCopyBlockSize];
    for (;;) {
        size_t got = std::fread(block, 1, sizeof block, from);
        if (got > 0 && std::fwrite(block, 1, got, to) != got) {
            writeDiagnostic(L"I/O error writing to %ls\n", files.collector.c_str());
            return false;
        }
        if (got < sizeof block) break;
    }
    if (std::ferror(from)) {
        writeDiagnostic(L"I/O error reading from %ls\n", files.current.c_str());
        return false;
    }
    if (std::fflush(to) != 0) {
        writeDiagnostic(L"I/O error writing to %ls\n", files.collector.c_str());
        return false;
    }
    return true;
}

long long ageInDays(const FILETIME& created, const FILETIME& now) {
    auto units = [](const FILETIME& t) {
        return static_cast<long long>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (units(now) - units(created)) / kFileTimeUnitsPerSecond / 3600 / 24;
}

} // namespace

void collectCurrentLog(const LogFiles& files, std::uint32_t maxCollectorSize) {
    if (!isNonEmptyFile(files.current)) return;
    if (collectorSize(files.collector) >= maxCollectorSize) rollOver(files);

    OpenFile current(_wfopen(files.current.c_str(), L"rbN"));
    if (!current) {
        writeDiagnostic(L"Failed to open current log %ls\n", files.current.c_str());
        return;
    }
    OpenFile collector(_wfsopen(files.collector.c_str(), L"abN", _SH_DENYRW));
    if (!collector) {
        writeDiagnostic(L"Failed to open log collector %ls\n", files.collector.c_str());
        return;
    }
    bool complete = appendAll(current.get(), collector.get(), files);
    current.reset();
    collector.reset();
    if (complete) DeleteFileW(files.current.c_str());
}

void deleteStaleLogs(const std::wstring& directory, const std::wstring& baseName) {
    if (directory.empty() || baseName.empty()) return;

    FILETIME now;
    GetSystemTimeAsFileTime(&now);

    WIN32_FIND_DATAW entry;
    handles::Find find(FindFirstFileW((directory + L"\\" + baseName + L"_*.log").c_str(), &entry));
    if (!find) return;
    do {
        if (ageInDays(entry.ftCreationTime, now) <= kMaxLogAgeDays) continue;
        std::wstring stale = directory + L"\\" + entry.cFileName;
        writeDiagnostic(L"Deleting stale log file: %ls\n", stale.c_str());
        DeleteFileW(stale.c_str());
    } while (FindNextFileW(find.get(), &entry));
}

} // namespace tvs
