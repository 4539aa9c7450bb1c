#include "logging/LogCollector.h"

#include "logging/Diagnostics.h"
#include "platform/FileSystem.h"
#include "handles/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

namespace tvs {

namespace {

constexpr DWORD kCopyBlockSize = 4096;
constexpr DWORD kCollectorWaitMs = 5000; // for a busy collector, over the whole shutdown
constexpr DWORD kCollectorRetryMs = 100;
constexpr long long kMaxLogAgeDays = 90;
constexpr long long kFileTimeUnitsPerSecond = 10000000;

// The order of the current logs' names B_YYYYMMDD_HHMMSS[_N].log: by time,
// then by the counter as a number.
struct LogAge {
    std::wstring stamp;
    unsigned long long counter = 0;
    std::wstring name;
    bool operator<(const LogAge& other) const {
        return std::tie(stamp, counter, name) < std::tie(other.stamp, other.counter, other.name);
    }
};

LogAge ageOf(const std::wstring& name, size_t prefixLength) {
    constexpr size_t kStampLength = 15; // YYYYMMDD_HHMMSS
    LogAge age{name.substr(prefixLength, kStampLength), 0, name};
    const size_t counter = prefixLength + kStampLength + 1;
    if (name.size() > counter && name[counter - 1] == L'_')
        age.counter = std::wcstoull(name.c_str() + counter, nullptr, 10);
    return age;
}

// The current logs in the directory, oldest first.
std::vector<std::wstring> currentLogsByAge(const LogFiles& files) {
    std::vector<LogAge> ages;
    const std::wstring prefix = files.baseName + L"_";
    WIN32_FIND_DATAW entry;
    handles::Find find(FindFirstFileW((files.directory + L"\\" + prefix + L"*.log").c_str(), &entry));
    if (find) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ages.push_back(ageOf(entry.cFileName, prefix.size()));
        } while (FindNextFileW(find.get(), &entry));
    }
    std::sort(ages.begin(), ages.end());
    std::vector<std::wstring> paths;
    for (const LogAge& age : ages) paths.push_back(files.directory + L"\\" + age.name);
    return paths;
}

// The collector, opened for appending with no other opener allowed to read
// or write it; it may be renamed meanwhile, which the roll-over does.
handles::File openCollector(const std::wstring& path, DWORD deadline) {
    for (;;) {
        handles::File collector(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        const DWORD error = GetLastError();
        if (collector) {
            LARGE_INTEGER end{};
            if (SetFilePointerEx(collector.get(), end, nullptr, FILE_END)) return collector;
            return handles::File();
        }
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) ||
            static_cast<LONG>(GetTickCount() - deadline) >= 0)
            return collector;
        Sleep(kCollectorRetryMs);
    }
}

// The largest 32-bit value when the size does not fit in 32 bits.
std::uint32_t sizeOf(const handles::File& file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return 0;
    if (size.QuadPart > std::numeric_limits<std::uint32_t>::max()) return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(size.QuadPart);
}

// Keeps exactly one old collector. The caller holds the collector, so no
// other collector appends to it between its size check and the rename.
// True when the collector was moved away.
bool rollOver(const LogFiles& files) {
    writeDiagnostic(L"Rolling over log file: %ls\n", files.collector.c_str());
    if (pathExists(files.rolledOver) && !DeleteFileW(files.rolledOver.c_str()))
        writeDiagnostic(L"Failed to delete: %ls\n", files.rolledOver.c_str());
    if (MoveFileW(files.collector.c_str(), files.rolledOver.c_str())) return true;
    writeDiagnostic(L"Failed to rename: %ls\n", files.collector.c_str());
    return false;
}

// Copies byte for byte, so the collector gets the current log exactly as
// written. True when every byte was appended.
bool appendAll(const handles::File& from, const handles::File& to, const std::wstring& fromPath,
               const std::wstring& toPath) {
    char block[kCopyBlockSize];
    for (;;) {
        DWORD got = 0, written = 0;
        if (!ReadFile(from.get(), block, sizeof block, &got, nullptr)) {
            writeDiagnostic(L"I/O error reading from %ls\n", fromPath.c_str());
            return false;
        }
        if (got == 0) return true;
        if (!WriteFile(to.get(), block, got, &written, nullptr) || written != got) {
            writeDiagnostic(L"I/O error writing to %ls\n", toPath.c_str());
            return false;
        }
    }
}

enum class Collected { appended, skipped, collectorBusy };

// Claims the log, appends it and deletes it through the claiming handle, so
// that no other collector appends it too.
Collected collectOne(const LogFiles& files, const std::wstring& log, std::uint32_t maxCollectorSize, DWORD deadline) {
    handles::File claimed(CreateFileW(log.c_str(), GENERIC_READ | DELETE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!claimed) {
        if (log == files.current) writeDiagnostic(L"Failed to open current log %ls\n", log.c_str());
        return Collected::skipped;
    }
    if (sizeOf(claimed) == 0) return Collected::skipped;

    handles::File collector = openCollector(files.collector, deadline);
    if (collector && sizeOf(collector) >= maxCollectorSize && rollOver(files))
        collector = openCollector(files.collector, deadline);
    if (!collector) {
        writeDiagnostic(L"Failed to open log collector %ls\n", files.collector.c_str());
        return Collected::collectorBusy;
    }
    LARGE_INTEGER before{}, none{};
    SetFilePointerEx(collector.get(), none, &before, FILE_CURRENT);
    if (appendAll(claimed, collector, log, files.collector)) {
        FILE_DISPOSITION_INFO dispose{TRUE};
        if (SetFileInformationByHandle(claimed.get(), FileDispositionInfo, &dispose, sizeof dispose))
            return Collected::appended;
        writeDiagnostic(L"Failed to delete: %ls\n", log.c_str());
    }
    // The log stays for a later shutdown, which appends it whole: what of it
    // was appended now is taken back.
    SetFilePointerEx(collector.get(), before, nullptr, FILE_BEGIN);
    SetEndOfFile(collector.get());
    return Collected::skipped;
}

long long ageInDays(const FILETIME& created, const FILETIME& now) {
    auto units = [](const FILETIME& t) {
        return static_cast<long long>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return (units(now) - units(created)) / kFileTimeUnitsPerSecond / 3600 / 24;
}

} // namespace

void collectCurrentLogs(const LogFiles& files, std::uint32_t maxCollectorSize) {
    const DWORD deadline = GetTickCount() + kCollectorWaitMs;
    for (const std::wstring& log : currentLogsByAge(files))
        if (collectOne(files, log, maxCollectorSize, deadline) == Collected::collectorBusy) return;
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
