#pragma once
// Reading back what the code under test logged. The test program initialises
// the process-wide logger once (in the real per-user logs folder) and shuts it
// down at the end; a LogTail reads the current log from where it stood when
// the tail was made.
#include <string>
#include <vector>

class LogTail {
public:
    LogTail();

    // Each log call since the tail was made: its message as formatted, with
    // the timestamp and the line end that the logger adds removed and CR LF
    // read as LF.
    std::vector<std::wstring> entries() const;
    // How many entries equal message.
    size_t count(const std::wstring& message) const;
    bool has(const std::wstring& message) const { return count(message) > 0; }

private:
    std::wstring m_path;
    size_t m_offset;
};

// True when line begins with a log timestamp "YYYY/MM/DD HH:MM:SS.mmm ".
bool startsWithTimestamp(const std::wstring& line);
