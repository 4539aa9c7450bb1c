#pragma once
// What shutdown does with the files of the log directory.
#include <cstdint>
#include <string>

namespace tvs {

struct LogFiles {
    std::wstring current;    // this run's log, closed
    std::wstring collector;  // D\B.log
    std::wstring rolledOver; // D\B.old.log
};

// Appends the current log to the collector, rolling the collector over first
// once it holds maxCollectorSize bytes or more. The current log is deleted
// only when all of it was appended; an empty one is left alone. Problems go
// to standard error.
void collectCurrentLog(const LogFiles& files, std::uint32_t maxCollectorSize);

// Deletes directory\baseName_*.log files created more than 90 whole days ago.
void deleteStaleLogs(const std::wstring& directory, const std::wstring& baseName);

} // namespace tvs
