#include "StderrCapture.h"
#include "TestLogger.h"
#include "logging/Logger.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <functional>
#include <regex>
#include <thread>

using tvs::Logger;

namespace {

const std::wstring kLogsBelowBase = L"\\Tavisto\\Tavisto Convoca Launcher\\logs";

std::string loggerError(const std::function<void()>& action) {
    try {
        action();
    } catch (const Logger::LoggerException& e) {
        return e.what();
    }
    return "(nothing thrown)";
}

std::wstring fileName(const std::wstring& path) {
    return path.substr(path.rfind(L'\\') + 1);
}

// "ConvocaLauncher_YYYYMMDD_HHMMSS" for the given local time.
std::wstring stem(const SYSTEMTIME& t) {
    wchar_t text[64];
    swprintf(text, 64, L"ConvocaLauncher_%04d%02d%02d_%02d%02d%02d", t.wYear, t.wMonth, t.wDay,
             t.wHour, t.wMinute, t.wSecond);
    return text;
}

// The local times of this second and the next few, so that a clash set up
// now is still there when the logger picks its name.
std::vector<SYSTEMTIME> comingSeconds(int count) {
    FILETIME utc;
    GetSystemTimeAsFileTime(&utc);
    std::vector<SYSTEMTIME> seconds;
    for (int i = 0; i < count; ++i) {
        ULARGE_INTEGER t{{utc.dwLowDateTime, utc.dwHighDateTime}};
        t.QuadPart += i * 10000000ULL;
        FILETIME shifted{t.LowPart, t.HighPart}, local;
        SYSTEMTIME st;
        FileTimeToLocalFileTime(&shifted, &local);
        FileTimeToSystemTime(&local, &st);
        seconds.push_back(st);
    }
    return seconds;
}

class LoggerTest : public ::testing::Test {
protected:
    void TearDown() override { Logger::shutdown(); }
    TempDir base;
    std::wstring logs() const { return base.path() + kLogsBelowBase; }
};

} // namespace

TEST_F(LoggerTest, CreatesItsDirectoryAndTheCurrentLogNamedAfterStartUp) {
    SYSTEMTIME before;
    GetLocalTime(&before);
    Logger::initialize(FixedBaseDirectory(base.path()));

    EXPECT_EQ(Logger::logDirectory(), logs());
    std::wstring current = Logger::currentLogPath();
    EXPECT_EQ(current.substr(0, logs().size() + 1), logs() + L"\\");
    EXPECT_TRUE(std::regex_match(fileName(current),
                                 std::wregex(L"ConvocaLauncher_\\d{8}_\\d{6}\\.log")))
        << fileName(current);
    SYSTEMTIME after;
    GetLocalTime(&after);
    std::wstring named = fileName(current).substr(0, 31);
    EXPECT_LE(stem(before), named);
    EXPECT_GE(stem(after), named);
    EXPECT_TRUE(fileExists(current));
}

TEST_F(LoggerTest, WritesUtf8WithByteOrderMarkAndTimestampedCrLfLines) {
    Logger::initialize(FixedBaseDirectory(base.path()));
    Logger::getInstance().log(L"second line %d", 2);
    // Read through a separate handle while the stream is open: every line
    // is flushed as it is written.
    std::string bytes = readFile(Logger::currentLogPath());
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    std::regex whole("\xEF\xBB\xBF" "(\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}\\.\\d{3} Started up\r\n)"
                     "\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}\\.\\d{3} second line 2\r\n");
    EXPECT_TRUE(std::regex_match(bytes, whole)) << bytes;
}

TEST_F(LoggerTest, FormatsWithTheMicrosoftWideConventions) {
    Logger::initialize(FixedBaseDirectory(base.path()));
    Logger::getInstance().log(L"[%s] [%hs] [%ls] [%d] [%u] [%i] [%5.2s]", L"wide", "narrow",
                              L"also wide", -7, 4000000000u, 12, L"abcdef");
    EXPECT_EQ(logMessages(Logger::currentLogPath()).back(),
              L"[wide] [narrow] [also wide] [-7] [4000000000] [12] [   ab]");
}

TEST_F(LoggerTest, EncodesCharactersOutsideAsciiAsUtf8) {
    Logger::initialize(FixedBaseDirectory(base.path()));
    // e-acute, euro sign, and U+1F600 as a surrogate pair, at varying offsets
    // so that some fall on the stream's internal buffer boundaries.
    for (int i = 0; i < 600; ++i)
        Logger::getInstance().log(L"%ls\x00E9\x20AC\xD83D\xDE00", std::wstring(i % 13, L'x').c_str());
    std::string bytes = readFile(Logger::currentLogPath());
    std::vector<std::wstring> messages = logMessages(Logger::currentLogPath());
    ASSERT_EQ(messages.size(), 601u);
    for (int i = 0; i < 600; ++i)
        ASSERT_EQ(messages[static_cast<size_t>(i) + 1],
                  std::wstring(i % 13, L'x') + L"\x00E9\x20AC\xD83D\xDE00");
    EXPECT_NE(bytes.find("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\r\n"), std::string::npos);
}

TEST_F(LoggerTest, CutsMessagesAfter4095Characters) {
    Logger::initialize(FixedBaseDirectory(base.path()));
    std::wstring exact(4095, L'a');
    std::wstring longer = std::wstring(4090, L'b') + L"0123456789";
    Logger::getInstance().log(L"%ls", exact.c_str());
    Logger::getInstance().log(L"%ls", longer.c_str());
    Logger::getInstance().log(L"after");

    std::vector<std::wstring> messages = logMessages(Logger::currentLogPath());
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[1], exact);
    EXPECT_EQ(messages[2], longer.substr(0, 4095));
    EXPECT_EQ(messages[3], L"after");
}

TEST_F(LoggerTest, AMessageEndingInLineFeedIsFollowedByAnEmptyLine) {
    Logger::initialize(FixedBaseDirectory(base.path()));
    Logger::getInstance().log(L"two\nlines\n");
    std::string bytes = readFile(Logger::currentLogPath());
    const std::string end = " two\r\nlines\r\n\r\n";
    ASSERT_GT(bytes.size(), end.size());
    EXPECT_EQ(bytes.substr(bytes.size() - end.size()), end);
}

TEST_F(LoggerTest, LinesFromSeveralThreadsNeverInterleave) {
    Logger::initialize(FixedBaseDirectory(base.path()));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            std::wstring body(300, static_cast<wchar_t>(L'A' + t));
            for (int i = 0; i < 200; ++i) Logger::getInstance().log(L"%ls", body.c_str());
        });
    for (auto& thread : threads) thread.join();

    std::vector<std::wstring> messages = logMessages(Logger::currentLogPath());
    ASSERT_EQ(messages.size(), 801u);
    for (size_t i = 1; i < messages.size(); ++i)
        ASSERT_EQ(messages[i], std::wstring(300, messages[i][0])) << "line " << i;
}

TEST_F(LoggerTest, AClashingNameGetsTheFirstFreeCounter) {
    ASSERT_TRUE(makeDirs(logs()));
    // Another run of the same second is still running: its log (a file) and
    // the _1 name (here a directory, which counts as taken too) exist.
    for (const SYSTEMTIME& second : comingSeconds(3)) {
        ASSERT_TRUE(writeFile(logs() + L"\\" + stem(second) + L".log", "other run"));
        ASSERT_TRUE(makeDirs(logs() + L"\\" + stem(second) + L"_1.log"));
    }
    Logger::initialize(FixedBaseDirectory(base.path()));

    std::wstring name = fileName(Logger::currentLogPath());
    EXPECT_TRUE(std::regex_match(name, std::wregex(L"ConvocaLauncher_\\d{8}_\\d{6}_2\\.log"))) << name;
    EXPECT_EQ(readFile(logs() + L"\\" + name.substr(0, 31) + L".log"), "other run");
}

TEST_F(LoggerTest, TwoRunsInTheSameSecondGetDistinctLogs) {
    ASSERT_TRUE(makeDirs(logs()));
    for (const SYSTEMTIME& second : comingSeconds(3))
        ASSERT_TRUE(writeFile(logs() + L"\\" + stem(second) + L".log", ""));
    Logger::initialize(FixedBaseDirectory(base.path()));
    std::wstring name = fileName(Logger::currentLogPath());
    EXPECT_TRUE(std::regex_match(name, std::wregex(L"ConvocaLauncher_\\d{8}_\\d{6}_1\\.log"))) << name;
}

TEST_F(LoggerTest, LifecycleErrorsThrowTheirTexts) {
    EXPECT_EQ(loggerError([] { Logger::getInstance(); }), "Logger not initialized");

    Logger::initialize(FixedBaseDirectory(base.path()));
    std::wstring first = Logger::currentLogPath();
    EXPECT_EQ(loggerError([&] { Logger::initialize(FixedBaseDirectory(base.path())); }),
              "Logger already initialized");
    EXPECT_EQ(Logger::currentLogPath(), first); // the running instance is untouched
    Logger::getInstance().log(L"still logging");
    EXPECT_EQ(logMessages(first).back(), L"still logging");

    Logger::shutdown();
    EXPECT_EQ(loggerError([] { Logger::getInstance(); }), "Logger not initialized");
    EXPECT_EQ(Logger::currentLogPath(), L"");
}

TEST_F(LoggerTest, ExceptionIsALogicError) {
    Logger::LoggerException e("text");
    const std::logic_error& asLogicError = e;
    EXPECT_STREQ(asLogicError.what(), "text");
}

TEST_F(LoggerTest, NoUsableDirectoryThrows) {
    EXPECT_EQ(loggerError([] { Logger::initialize(FixedBaseDirectory(L"")); }),
              "Logger could not find a usable log directory.");
    EXPECT_EQ(loggerError([] { Logger::getInstance(); }), "Logger not initialized");
}

TEST_F(LoggerTest, AFileAtTheLogDirectoryPathFailsWithItsDiagnostic) {
    ASSERT_TRUE(makeDirs(base.path() + L"\\Tavisto\\Tavisto Convoca Launcher"));
    ASSERT_TRUE(writeFile(logs(), "not a directory"));
    StderrCapture err;

    EXPECT_EQ(loggerError([&] { Logger::initialize(FixedBaseDirectory(base.path())); }),
              "failed to create containing directory");
    EXPECT_EQ(err.text(), "Failed to create dir: " + utf8(logs()) + "\n");
    EXPECT_EQ(readFile(logs()), "not a directory");
    EXPECT_EQ(loggerError([] { Logger::getInstance(); }), "Logger not initialized");
}

TEST_F(LoggerTest, AFileHigherUpTheChainNamesThatDirectory) {
    ASSERT_TRUE(writeFile(base.path() + L"\\Tavisto", "in the way"));
    StderrCapture err;
    EXPECT_EQ(loggerError([&] { Logger::initialize(FixedBaseDirectory(base.path())); }),
              "failed to create containing directory");
    EXPECT_EQ(err.text(), "Failed to create dir: " + utf8(base.path()) + "\\Tavisto\n");
}

TEST_F(LoggerTest, AnExistingLogDirectoryIsUsedAsItIs) {
    ASSERT_TRUE(makeDirs(logs()));
    ASSERT_TRUE(writeFile(logs() + L"\\unrelated.txt", "kept"));
    Logger::initialize(FixedBaseDirectory(base.path()));
    EXPECT_EQ(readFile(logs() + L"\\unrelated.txt"), "kept");
    EXPECT_TRUE(fileExists(Logger::currentLogPath()));
}

TEST_F(LoggerTest, AnUnopenableCurrentLogFailsWithItsDiagnostic) {
    // A log directory in which no file may be created: Everyone is denied
    // FILE_ADD_FILE (0x2).
    ASSERT_TRUE(makeDirs(base.path() + L"\\Tavisto\\Tavisto Convoca Launcher"));
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(D;;0x2;;;WD)(A;OICI;GA;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    BOOL created = CreateDirectoryW(logs().c_str(), &attributes);
    LocalFree(descriptor);
    ASSERT_TRUE(created);
    if (writeFile(logs() + L"\\probe.log", "")) {
        DeleteFileW((logs() + L"\\probe.log").c_str());
        GTEST_SKIP() << "Wine does not enforce directory ACLs, so the open cannot be made to fail";
    }

    StderrCapture err;
    EXPECT_EQ(loggerError([&] { Logger::initialize(FixedBaseDirectory(base.path())); }),
              "failed to open log file");
    EXPECT_TRUE(std::regex_match(err.text(), std::regex("Failed to open log file .*\\.log: \\d+\n")))
        << err.text();
    EXPECT_EQ(loggerError([] { Logger::getInstance(); }), "Logger not initialized");
}
