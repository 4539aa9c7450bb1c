#include "TestLogger.h"
#include "handles/Handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <regex>
#include <thread>

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;
using tvs::Logger;

namespace {

const std::string kBom = "\xEF\xBB\xBF", kStamp = "\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} ";
const std::wstring kBelow = L"\\Tavisto\\Tavisto Convoca Launcher\\logs";
constexpr long long kDay = 86400;

// Sets both creation and last-write time: Wine on Linux may report the last-write time as the creation time.
bool setFileAge(const std::wstring& path, long long ageSeconds) {
    FILETIME when;
    GetSystemTimeAsFileTime(&when);
    ULARGE_INTEGER u{{when.dwLowDateTime, when.dwHighDateTime}};
    u.QuadPart -= ageSeconds * 10000000LL;
    when = {u.LowPart, u.HighPart};
    handles::File file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return file && SetFileTime(file.get(), &when, nullptr, &when);
}

class LoggerTest : public ::testing::Test {
protected:
    void TearDown() override { Logger::shutdown(); }
    void start() { ASSERT_TRUE(Logger::initialize(FixedBaseDirectory(base.path())).started); }
    // Logs a marker, shuts down and returns the collector's bytes.
    std::string finishRun(const wchar_t* marker) {
        Logger::getInstance().log(L"%ls", marker);
        current = Logger::currentLogPath();
        Logger::shutdown();
        return readFile(collector);
    }

    TempDir base;
    const std::wstring logs = base.path() + kBelow;
    const std::wstring collector = logs + L"\\ConvocaLauncher.log", oldLog = logs + L"\\ConvocaLauncher.old.log";
    std::wstring current;
};

} // namespace

// A log of this second's name that nobody holds is an earlier run's: it is left alone, and the run takes the next.
TEST_F(LoggerTest, WritesTimestampedUtf8LinesInTheMicrosoftWideConventionToALogNamedAfterStartUp) {
    std::vector<std::wstring> taken; // this second's name and the next second's
    ASSERT_TRUE(makeDirs(logs));
    for (std::time_t t = std::time(nullptr); taken.size() < 2; ++t) {
        wchar_t name[64] = {};
        wcsftime(name, 64, L"\\ConvocaLauncher_%Y%m%d_%H%M%S.log", std::localtime(&t));
        taken.push_back(logs + name);
        ASSERT_TRUE(writeFile(taken.back(), "an earlier run's"));
    }
    start();
    const std::wstring path = Logger::currentLogPath(), name = path.substr(logs.size() + 1);
    EXPECT_EQ(path, logs + L"\\" + name);
    EXPECT_TRUE(std::regex_match(name, std::wregex(L"ConvocaLauncher_\\d{8}_\\d{6}_1\\.log"))) << name;
    EXPECT_NE(std::find(taken.begin(), taken.end(), path.substr(0, path.size() - 6) + L".log"), taken.end());
    for (const std::wstring& earlier : taken) EXPECT_EQ("an earlier run's", readFile(earlier));

    Logger::getInstance().log(L"%s %hs %ls %d %u %i %5.2s", L"\x00E9\x20AC\xD83D\xDE00\xD800", "narrow", L"wide", -7,
                              4000000000u, 12, L"abcdef");
    Logger::getInstance().log(L"two\nlines\n");
    // Read while the log is open: every line is flushed as it is written.
    const std::string bytes = readFile(path);
    // An unpaired surrogate becomes U+FFFD rather than costing the line.
    const std::string formatted = "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\xBF\xBD narrow wide -7 4000000000 12    ab";
    EXPECT_TRUE(std::regex_match(bytes, std::regex(kBom + kStamp + "Started up\r\n" + kStamp + formatted + "\r\n" +
                                                   kStamp + "two\r\nlines\r\n\r\n")))
        << bytes;
}

TEST(LogDirectory, TheFirstUsableCandidateIsTaken) {
    FixedBaseDirectory s(L"C:\\Local");
    s.variables = {
        {L"HOME", L"C:\\Home"}, {L"USERPROFILE", L"C:\\Profile"}, {L"HOMEDRIVE", L"D:"}, {L"HOMEPATH", L"\\Users\\me"}};
    s.temp = L"C:\\PROGRA~1\\Temp\\";
    EXPECT_EQ(tvs::findLogDirectory(s), L"C:\\Local" + kBelow);
    s.local.clear();
    EXPECT_EQ(tvs::findLogDirectory(s), L"C:\\Home" + kBelow);
    s.variables[L"HOME"] = L"C:\\" + std::wstring(4093, L'h'); // 4,096 characters: too long
    EXPECT_EQ(tvs::findLogDirectory(s), L"C:\\Profile" + kBelow);
    s.variables[L"HOME"] = L"";
    s.variables.erase(L"USERPROFILE");
    EXPECT_EQ(tvs::findLogDirectory(s), L"D:\\Users\\me" + kBelow);
    s.variables.erase(L"HOMEPATH");                       // HOMEDRIVE alone does not count
    EXPECT_EQ(tvs::findLogDirectory(s), s.temp + kBelow); // two backslashes in a row
    for (size_t length : {20u, 4094u, 4095u}) {           // the long form of the temporary directory, when it fits
        s.longTemp = L"C:\\Program Files\\" + std::wstring(length - 17, L'x');
        EXPECT_EQ(tvs::findLogDirectory(s), (length < 4095 ? s.longTemp : s.temp) + kBelow) << length;
    }
    s.temp.clear();
    EXPECT_EQ(tvs::findLogDirectory(s), L"");
}

// A log folder that cannot be made, for a file in the way of a folder above it, is told on stderr and leaves no
// logger, whose lines are dropped; a second initialisation leaves the running one.
TEST(LoggerErrors, LeaveNoLoggerOrTheRunningOneBehind) {
    TempDir base;
    const std::wstring file = base / L"Tavisto";
    ASSERT_TRUE(writeFile(file, "not a directory"));
    CaptureStderr();
    const Logger::StartResult result = Logger::initialize(FixedBaseDirectory(base.path()));
    EXPECT_EQ(GetCapturedStderr(), "Failed to create dir: " + utf8(file) + "\n");
    EXPECT_TRUE(!result.started && result.failure == L"failed to create containing directory");
    Logger::getInstance().log(L"dropped");
    EXPECT_EQ(readFile(file), "not a directory");
    EXPECT_EQ(Logger::currentLogPath(), L"");
    ScopedTestLogger logger;
    const Logger::StartResult second = Logger::initialize(FixedBaseDirectory(L"C:\\"));
    EXPECT_TRUE(!second.started && second.failure == L"Logger already initialized");
    Logger::getInstance().log(L"still logging");
    EXPECT_EQ(logger.messages(), (std::vector<std::wstring>{L"Started up", L"still logging"}));
}

TEST_F(LoggerTest, ShutdownAppendsEachRunByteForByteAndRollsA32768ByteCollectorOverOntoTheOldLog) {
    const std::string c = utf8(collector), o = utf8(oldLog);
    // The collector and old log present before, and the one held without sharing, as another process would.
    const struct {
        size_t size;
        const std::wstring* held;
        DWORD heldMs; // 0: held until the shutdown is over
        bool rolled, collected;
        std::string err;
    } rows[] = {
        {32768, nullptr, 0, true, true, "Rolling over log file: " + c + "\n"},
        {32767, nullptr, 0, false, true, ""},
        {32768, &oldLog, 0, false, true,
         "Rolling over log file: " + c + "\nFailed to delete: " + o + "\nFailed to rename: " + c + "\n"},
        {4, &collector, 1000, false, true, ""}, // another shutdown's, waited for
        {4, &collector, 6000, false, false, "Failed to open log collector " + c + "\n"}, // past the wait
    };
    for (const auto& row : rows) {
        start();
        const std::string before(row.size, 'x');
        ASSERT_TRUE(writeFile(collector, before) && writeFile(oldLog, "previous old log"));
        // More than one copy block, and a Ctrl-Z, at which a text-mode copy would end.
        const std::wstring message = std::wstring(3000, L'\x00E9') + L"\x1A" + L"after";
        Logger::getInstance().log(L"%ls", message.c_str());
        const std::string written = readFile(Logger::currentLogPath());
        handles::File held(row.held ? CreateFileW(row.held->c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                                  OPEN_EXISTING, 0, nullptr)
                                    : nullptr);
        std::thread release([&] {
            if (row.heldMs) Sleep(row.heldMs), held.reset();
        });
        CaptureStderr();
        const std::string after = finishRun(L"run");
        release.join();
        held.reset();
        EXPECT_EQ(GetCapturedStderr(), row.err) << row.size;
        EXPECT_EQ(readFile(oldLog), row.rolled ? before : "previous old log");
        EXPECT_EQ(fileExists(current), !row.collected);
        const std::string kept = row.rolled ? "" : before;
        if (!row.collected) {
            EXPECT_EQ(readFile(collector), before);
        } else {
            EXPECT_EQ(after.substr(0, kept.size() + written.size()), kept + written);
            EXPECT_TRUE(std::regex_match(after.substr(kept.size() + written.size()),
                                         std::regex(kStamp + "run\r\n" + kStamp + "Shutdown\r\n\r\n")));
        }
    }
}

// Shutdown deletes logs made over 90 whole days ago, then collects the rest oldest first, rolling over before each.
// A leftover that another collector has claimed, or that another program reads sharing only reading and deleting, is
// neither appended nor deleted, and a later shutdown appends it once.
TEST_F(LoggerTest, ShutdownDeletesStaleLogsAndCollectsLeftoversOldestFirst) {
    const struct {
        const wchar_t* name;
        long long age;
        char fate; // deleted, kept, held by a writer, collected, claimed by a collector, read
        std::string text;
    } files[] = {
        {L"ConvocaLauncher_20000101_000000.log", 91 * kDay, 'd', "stale"},
        {L"ConvocaLauncher_20990101_000000.log", -30 * kDay, 'c', "future\r\n"},
        {L"ConvocaLauncher_20000102_000000_10.log", 0, 'c', "tenth\r\n"},
        {L"ConvocaLauncher_20000102_000000_2.log", 0, 'c', "second\r\n"},
        {L"ConvocaLauncher_20000102_000000_1.log", 0, 'h', "running"},
        {L"ConvocaLauncher_20000102_000000_3.log", 0, 'l', "claimed\r\n"},
        {L"ConvocaLauncher_20000102_000000_4.log", 0, 'r', "read\r\n"},
        {L"ConvocaLauncher_20000102_000000.log", 90 * kDay + 23 * 3600, 'c', std::string(32768, 'o')},
        {L"Other_20000101_000000.log", 200 * kDay, 'k', "other"},
        {L"ConvocaLauncher_20000103_000000.txt", 200 * kDay, 'k', "text"},
    };
    start();
    std::vector<std::string> expected;
    handles::File writer;
    std::vector<handles::File> others;
    for (const auto& f : files) {
        const std::wstring path = logs + L"\\" + f.name;
        ASSERT_TRUE(writeFile(path, f.text) && setFileAge(path, f.age));
        if (f.fate == 'd') expected.push_back("Deleting stale log file: " + utf8(path));
        if (f.fate == 'h')
            writer.reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        if (f.fate == 'l' || f.fate == 'r') // a collector's claim; a reader sharing reading and deleting only
            others.emplace_back(CreateFileW(path.c_str(), GENERIC_READ | (f.fate == 'l' ? DELETE : 0),
                                            f.fate == 'l' ? 0 : FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    }
    expected.push_back("Rolling over log file: " + utf8(collector));
    CaptureStderr();
    const std::string collected = finishRun(L"run");
    for (const auto& f : files) EXPECT_EQ(fileExists(logs + L"\\" + f.name), std::string("khlr").find(f.fate) < 4);
    std::vector<std::string> lines = splitLines(GetCapturedStderr());
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(readFile(oldLog), files[7].text) << "rolled over before the next";
    EXPECT_TRUE(std::regex_match(collected, std::regex("second\r\ntenth\r\n" + kBom + "(.|\r|\n)*" + kStamp +
                                                       "run\r\n" + kStamp + "Shutdown\r\n\r\nfuture\r\n")))
        << collected;
    // Without a running logger, shutdown collects nothing and only deletes.
    writer.reset();
    ASSERT_TRUE(setFileAge(logs + L"\\" + files[4].name, 91 * kDay));
    Logger::shutdown();
    EXPECT_FALSE(fileExists(logs + L"\\" + files[4].name));
    EXPECT_EQ(readFile(collector), collected);

    others.clear();
    start();
    const std::string later = readFile(oldLog) + finishRun(L"later");
    for (const std::string text : {"claimed\r\n", "read\r\n"})
        EXPECT_TRUE(later.find(text) != std::string::npos && later.find(text) == later.rfind(text)) << text;
}
