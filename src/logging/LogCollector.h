#pragma once
// What shutdown does with the files of the log directory.
#include <cstdint>
#include <string>

namespace tvs {

struct LogFiles {
    std::wstring directory;  // D
    std::wstring baseName;   // B
    std::wstring current;    // this run's log, closed
    std::wstring collector;  // D\B.log
    std::wstring rolledOver; // D\B.old.log
};

// Appends to the collector, oldest first, this run's current log and those
// that earlier runs left behind (a run that ended without shutdown, or found
// the collector busy). Each is claimed by an open without sharing, which
// fails while its writer or another collector has it; such a log is left to
// a later shutdown. A claimed log is deleted through its handle once all of
// it was appended; an empty one is left alone. Before each append the
// collector is rolled over once it holds maxCollectorSize bytes or more. A
// collector that another process holds is waited for, a few seconds in all.
// Problems go to standard error.
void collectCurrentLogs(const LogFiles& files, std::uint32_t maxCollectorSize);

// Deletes directory\baseName_*.log files created more than 90 whole days ago.
void deleteStaleLogs(const std::wstring& directory, const std::wstring& baseName);

} // namespace tvs
