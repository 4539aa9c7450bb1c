#pragma once
// The launcher's single process-wide log. Each run writes its own current
// log; shutdown appends it, and those that earlier runs left behind, to the
// collector and rolls that over.
#include "handles/Handles.h"

#include <cstdint>
#include <mutex>
#include <string>

class BaseDirectorySource;

namespace tvs {

class Logger {
public:
    // What initialize did: started, or why not, in the words the launcher's
    // box quotes.
    struct StartResult {
        bool started = true;
        std::wstring failure;
        explicit operator bool() const { return started; }
    };

    // Finds the log directory from the system's shell folders and
    // environment, creates this run's current log and logs "Started up". A
    // failure leaves no logger; a second call leaves the running one.
    static StartResult initialize();
    // The same with the base directory taken from the given source.
    static StartResult initialize(const BaseDirectorySource& source);
    // The running log. Before initialize and after shutdown it is a closed
    // log that drops every line: a line logged out of turn, as by a thread
    // of the update library, is lost rather than fatal.
    static Logger& getInstance();
    // Closes the current log, deletes logs older than 90 days, and appends
    // the current log and those that earlier runs left behind to the
    // collector, oldest first (rolling that over once it has reached 32,768
    // bytes).
    static void shutdown();

    virtual ~Logger();
    // Microsoft wide printf conventions: %s and %ls wide, %hs narrow. The
    // message is cut at 4,095 characters; write failures are ignored.
    virtual void log(const wchar_t* format, ...);

    // Exposed for tests and for start-up's own messages.
    static std::wstring logDirectory();
    static std::wstring currentLogPath();

private:
    Logger() = default;
    // Creates a current log of its own in the directory; false (after a
    // diagnostic) when it cannot.
    bool open(const std::wstring& directory, const std::wstring& baseName);
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    void writeLine(const wchar_t* message);
    // Closes the file under the line lock; nothing is written afterwards.
    void closeStream();

    std::wstring m_path;
    std::mutex m_lineLock; // one line at a time
    handles::File m_file;
};

} // namespace tvs
