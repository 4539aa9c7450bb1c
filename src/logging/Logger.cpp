#include "logging/Logger.h"

#include "logging/Diagnostics.h"
#include "logging/LogCollector.h"
#include "logging/LogDirectory.h"
#include "platform/FileSystem.h"
#include "platform/Names.h"

#include <windows.h>

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

// The current log's bytes of a line: UTF-8, each line feed written as
// carriage return and line feed. Unlike the exact conversions of the
// platform library, an unpaired surrogate becomes U+FFFD: a line is never
// lost for one bad character.
std::string encodeLine(const std::wstring& line) {
    std::wstring text;
    for (wchar_t c : line) {
        if (c == L'\n') text += L'\r';
        text += c;
    }
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                            nullptr);
    return bytes;
}

} // namespace

Logger::StartResult Logger::initialize() { return initialize(SystemBaseDirectories()); }

Logger::StartResult Logger::initialize(const BaseDirectorySource& source) {
    SharedState& state = shared();
    std::lock_guard<std::mutex> guard(state.lock);
    if (state.instance) return {false, L"Logger already initialized"};

    state.maxCollectorSize = kMaxCollectorSize;
    state.baseName = names::kLogBaseName;
    state.logDirectory = findLogDirectory(source);
    if (state.logDirectory.empty()) return {false, L"Logger could not find a usable log directory."};
    std::wstring failed;
    if (!isDirectory(state.logDirectory) && !createDirectoryChain(state.logDirectory, &failed)) {
        writeDiagnostic(L"Failed to create dir: %ls\n", failed.c_str());
        return {false, L"failed to create containing directory"};
    }

    Logger* logger = new Logger();
    if (!logger->open(state.logDirectory, state.baseName)) {
        delete logger;
        return {false, L"failed to open log file"};
    }
    state.instance = logger;
    state.instance->log(L"Started up");
    return {};
}

Logger& Logger::getInstance() {
    static Logger closed;
    SharedState& state = shared();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.instance ? *state.instance : closed;
}

void Logger::shutdown() {
    SharedState& state = shared();
    std::lock_guard<std::mutex> guard(state.lock);
    if (!state.instance) {
        deleteStaleLogs(state.logDirectory, state.baseName);
        return;
    }
    state.instance->log(L"Shutdown\n");
    state.instance->closeStream();
    LogFiles files;
    files.directory = state.logDirectory;
    files.baseName = state.baseName;
    files.current = state.instance->m_path;
    files.collector = state.logDirectory + L"\\" + state.baseName + L".log";
    files.rolledOver = state.logDirectory + L"\\" + state.baseName + L".old.log";
    delete state.instance;
    state.instance = nullptr;
    // Logs past their age are deleted rather than collected.
    deleteStaleLogs(state.logDirectory, state.baseName);
    collectCurrentLogs(files, state.maxCollectorSize);
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

// D\B_YYYYMMDD_HHMMSS.log, or with "_N" added while that name is taken,
// created exclusively: launchers started in the same second each get a file
// of their own. Others may read it while it is written, but no collector can
// claim it.
// A log that a collector has just claimed and deleted keeps its name until
// the collector's handle closes, and refuses to be created with
// ERROR_ACCESS_DENIED meanwhile; a folder that refuses every name gives up
// after this many.
constexpr unsigned long long kDeletePendingNames = 16;

bool Logger::open(const std::wstring& directory, const std::wstring& baseName) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[32] = {};
    _snwprintf(stamp, 31, L"%04d%02d%02d_%02d%02d%02d", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
               now.wSecond);
    const std::wstring stem = directory + L"\\" + baseName + L"_" + stamp;
    for (unsigned long long n = 0; !m_file; ++n) {
        m_path = n == 0 ? stem + L".log" : stem + L"_" + std::to_wstring(n) + L".log";
        m_file.reset(CreateFileW(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        const DWORD error = GetLastError();
        if (!m_file && !pathExists(m_path) && !(error == ERROR_ACCESS_DENIED && n < kDeletePendingNames)) {
            writeDiagnostic(L"Failed to open log file %ls: %d\n", m_path.c_str(), static_cast<int>(error));
            return false;
        }
    }
    static const char kByteOrderMark[] = "\xEF\xBB\xBF";
    DWORD written = 0;
    WriteFile(m_file.get(), kByteOrderMark, sizeof kByteOrderMark - 1, &written, nullptr);
    return true;
}

Logger::~Logger() { closeStream(); }

void Logger::closeStream() {
    std::lock_guard<std::mutex> guard(m_lineLock);
    m_file.reset();
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

    const std::string bytes = encodeLine(std::wstring(stamp) + L" " + message + L"\n");
    std::lock_guard<std::mutex> guard(m_lineLock);
    if (!m_file) return;
    DWORD written = 0;
    WriteFile(m_file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

} // namespace tvs
