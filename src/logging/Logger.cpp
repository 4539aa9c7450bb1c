#include "logging/Logger.h"

#include "logging/Diagnostics.h"
#include "logging/LogCollector.h"
#include "logging/LogDirectory.h"
#include "platform/FileSystem.h"
#include "platform/Names.h"

#include <windows.h>

#include <cerrno>
#include <cstdarg>
#include <cwchar>

namespace tvs {

namespace {

constexpr std::uint32_t kMaxCollectorSize = 0x8000;
constexpr size_t kMessageSize = 4096;

// State shared by the class, one per process.
struct SharedState {
    std::mutex lock; // serialises initialize, getInstance and shutdown
    Logger* instance = nullptr;
    std::wstring logDirectory;
    std::wstring baseName;
    std::uint32_t maxCollectorSize = 0;
};

SharedState& shared() {
    static SharedState state;
    return state;
}

class StreamLock {
public:
    explicit StreamLock(std::FILE* stream) : m_stream(stream) {
        if (m_stream) _lock_file(m_stream);
    }
    ~StreamLock() {
        if (m_stream) _unlock_file(m_stream);
    }
    StreamLock(const StreamLock&) = delete;
    StreamLock& operator=(const StreamLock&) = delete;

private:
    std::FILE* m_stream;
};

// D\B_YYYYMMDD_HHMMSS.log, or with "_N" added while that name is taken.
std::wstring chooseCurrentLogPath(const std::wstring& directory, const std::wstring& baseName) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[32] = {};
    _snwprintf(stamp, 31, L"%04d%02d%02d_%02d%02d%02d", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
               now.wSecond);
    const std::wstring stem = directory + L"\\" + baseName + L"_" + stamp;
    std::wstring candidate = stem + L".log";
    for (unsigned long long n = 1; pathExists(candidate); ++n) candidate = stem + L"_" + std::to_wstring(n) + L".log";
    return candidate;
}

} // namespace

void Logger::initialize() { initialize(SystemBaseDirectories()); }

void Logger::initialize(const BaseDirectorySource& source) {
    SharedState& state = shared();
    std::lock_guard<std::mutex> guard(state.lock);
    if (state.instance) throw LoggerException("Logger already initialized");

    state.maxCollectorSize = kMaxCollectorSize;
    state.baseName = names::kLogBaseName;
    state.logDirectory = findLogDirectory(source);
    if (state.logDirectory.empty()) throw LoggerException("Logger could not find a usable log directory.");
    std::wstring failed;
    if (!isDirectory(state.logDirectory) && !createDirectoryChain(state.logDirectory, &failed)) {
        writeDiagnostic(L"Failed to create dir: %ls\n", failed.c_str());
        throw LoggerException("failed to create containing directory");
    }

    state.instance = new Logger(chooseCurrentLogPath(state.logDirectory, state.baseName));
    state.instance->log(L"Started up");
}

Logger& Logger::getInstance() {
    SharedState& state = shared();
    std::lock_guard<std::mutex> guard(state.lock);
    if (!state.instance) throw LoggerException("Logger not initialized");
    return *state.instance;
}

void Logger::shutdown() {
    SharedState& state = shared();
    std::lock_guard<std::mutex> guard(state.lock);
    if (state.instance) {
        state.instance->log(L"Shutdown\n");
        state.instance->closeStream();
        LogFiles files;
        files.current = state.instance->m_path;
        files.collector = state.logDirectory + L"\\" + state.baseName + L".log";
        files.rolledOver = state.logDirectory + L"\\" + state.baseName + L".old.log";
        delete state.instance;
        state.instance = nullptr;
        collectCurrentLog(files, state.maxCollectorSize);
    }
    deleteStaleLogs(state.logDirectory, state.baseName);
}

std::wstring Logger::logDirectory() {
    SharedState& state = shared();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.logDirectory;
}

std::wstring Logger::currentLogPath() {
    SharedState& state = shared();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.instance ? state.instance->m_path : std::wstring();
}

Logger::Logger(std::wstring path) : m_path(std::move(path)) {
    // UTF-8 with a byte-order mark, LF written as CR LF, not inherited.
    m_stream = _wfopen(m_path.c_str(), L"wN, ccs=UTF-8");
    if (!m_stream) {
        writeDiagnostic(L"Failed to open log file %ls: %d\n", m_path.c_str(), errno);
        throw LoggerException("failed to open log file");
    }
}

Logger::~Logger() { closeStream(); }

void Logger::closeStream() {
    std::FILE* open = nullptr;
    {
        StreamLock lock(m_stream);
        open = m_stream;
        m_stream = nullptr;
        if (open) std::fflush(open);
    }
    if (open) std::fclose(open);
}

void Logger::log(const wchar_t* format, ...) {
    wchar_t message[kMessageSize] = {};
    va_list args;
    va_start(args, format);
    // msvcrt's own formatter keeps the Microsoft convention (%s wide, %hs
    // narrow) that the ISO names lose under MinGW's C99 printf.
    _vsnwprintf(message, kMessageSize - 1, format, args);
    va_end(args);
    message[kMessageSize - 1] = L'\0';
    writeLine(message);
}

void Logger::writeLine(const wchar_t* message) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[32] = {};
    _snwprintf(stamp, 31, L"%04d/%02d/%02d %02d:%02d:%02d.%03d", now.wYear, now.wMonth, now.wDay, now.wHour,
               now.wMinute, now.wSecond, now.wMilliseconds);

    StreamLock lock(m_stream);
    if (!m_stream) return;
    std::fputws(stamp, m_stream);
    std::fputwc(L' ', m_stream);
    std::fputws(message, m_stream);
    std::fputwc(L'\n', m_stream);
    std::fflush(m_stream);
}

} // namespace tvs
