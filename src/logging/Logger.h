#pragma once
// The launcher's single process-wide log. Each run writes its own current
// log; shutdown appends it to the collector and rolls that over.
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <string>

namespace tvs {

class Logger {
public:
    class LoggerException : public std::logic_error {
    public:
        explicit LoggerException(const char* message) : std::logic_error(message) {}
    };

    static void initialize();
    static Logger& getInstance();
    static void shutdown();

    virtual ~Logger();
    // Microsoft wide printf conventions: %s and %ls wide, %hs narrow.
    virtual void log(const wchar_t* format, ...);

    // Exposed for tests and for start-up's own messages.
    static std::wstring logDirectory();
    static std::wstring currentLogPath();

private:
    explicit Logger(std::wstring path);
    // (fields and helpers: see the .cpp)
};

} // namespace tvs
