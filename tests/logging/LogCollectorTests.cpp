#include "StderrCapture.h"
#include "TestLogger.h"
#include "logging/LogCollector.h"
#include "logging/Logger.h"
#include "platform/Handles.h"

#include <gtest/gtest.h>

using tvs::Logger;

namespace {

const std::string kBom = "\xEF\xBB\xBF";
constexpr long long kDay = 86400;

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// Opens a file the way another process holding it would: no sharing at all.
handles::File holdExclusively(const std::wstring& path) {
    return handles::File(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

class CollectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        Logger::initialize(FixedBaseDirectory(base.path()));
        logs = Logger::logDirectory();
        collector = logs + L"\\ConvocaLauncher.log";
        oldLog = logs + L"\\ConvocaLauncher.old.log";
    }
    void TearDown() override { Logger::shutdown(); }

    // Logs a marker, shuts down and returns the bytes this run added.
    std::string finishRun(const wchar_t* marker) {
        Logger::getInstance().log(L"%ls", marker);
        current = Logger::currentLogPath();
        Logger::shutdown();
        return readFile(collector);
    }

    TempDir base;
    std::wstring logs, collector, oldLog, current;
};

} // namespace

TEST_F(CollectorTest, ShutdownAppendsTheRunToTheCollectorAndDeletesTheCurrentLog) {
    StderrCapture err;
    std::string collected = finishRun(L"the run");

    EXPECT_FALSE(fileExists(current));
    EXPECT_EQ(collected.substr(0, 3), kBom);
    EXPECT_EQ(count(collected, kBom), 1u);
    EXPECT_EQ(logMessages(collector),
              (std::vector<std::wstring>{L"Started up", L"the run", L"Shutdown", L""}));
    EXPECT_TRUE(endsWith(collected, " Shutdown\r\n\r\n"));
    EXPECT_FALSE(fileExists(oldLog));
    EXPECT_EQ(err.text(), "");
}

TEST_F(CollectorTest, EachCollectedRunKeepsItsOwnByteOrderMark) {
    std::string first = finishRun(L"first");
    Logger::initialize(FixedBaseDirectory(base.path()));
    std::string both = finishRun(L"second");

    ASSERT_EQ(both.substr(0, first.size()), first);
    std::string added = both.substr(first.size());
    EXPECT_EQ(added.substr(0, 3), kBom);
    EXPECT_NE(added.find(" second\r\n"), std::string::npos);
    EXPECT_EQ(count(both, kBom), 2u);
}

TEST_F(CollectorTest, ACollectorOf32768BytesIsRolledOverBeforeTheAppend) {
    std::string full(32768, 'F');
    ASSERT_TRUE(writeFile(collector, full));
    StderrCapture err;
    std::string collected = finishRun(L"after roll-over");

    EXPECT_EQ(readFile(oldLog), full);
    EXPECT_EQ(collected.substr(0, 3), kBom);
    EXPECT_EQ(logMessages(collector)[1], L"after roll-over");
    EXPECT_EQ(err.text(), "Rolling over log file: " + utf8(collector) + "\n");
    EXPECT_FALSE(fileExists(current));
}

TEST_F(CollectorTest, ACollectorOf32767BytesIsAppendedTo) {
    std::string almost(32767, 'A');
    ASSERT_TRUE(writeFile(collector, almost));
    StderrCapture err;
    std::string collected = finishRun(L"appended");

    EXPECT_FALSE(fileExists(oldLog));
    ASSERT_GT(collected.size(), almost.size());
    EXPECT_EQ(collected.substr(0, almost.size()), almost);
    EXPECT_EQ(collected.substr(almost.size(), 3), kBom);
    EXPECT_EQ(err.text(), "");
    // Grown past the limit by one run, it is rolled over at the next shutdown.
    Logger::initialize(FixedBaseDirectory(base.path()));
    finishRun(L"next");
    EXPECT_EQ(readFile(oldLog), collected);
}

TEST_F(CollectorTest, RollingOverReplacesTheExistingOldLog) {
    ASSERT_TRUE(writeFile(oldLog, "the previous old log"));
    std::string full(40000, 'N');
    ASSERT_TRUE(writeFile(collector, full));
    StderrCapture err;
    finishRun(L"run");

    EXPECT_EQ(readFile(oldLog), full);
    EXPECT_EQ(err.text(), "Rolling over log file: " + utf8(collector) + "\n");
    std::vector<std::wstring> files = listFiles(logs);
    EXPECT_EQ(files, (std::vector<std::wstring>{L"ConvocaLauncher.log", L"ConvocaLauncher.old.log"}));
}

TEST_F(CollectorTest, AnUndeletableOldLogKeepsTheCollectorGrowing) {
    ASSERT_TRUE(writeFile(oldLog, "held open"));
    std::string full(32768, 'H');
    ASSERT_TRUE(writeFile(collector, full));
    handles::File held = holdExclusively(oldLog);
    ASSERT_TRUE(held);
    StderrCapture err;
    std::string collected = finishRun(L"run");
    held.reset();

    if (readFile(oldLog) != "held open")
        GTEST_SKIP() << "Wine deleted a file that another handle holds without delete sharing";
    EXPECT_EQ(err.text(), "Rolling over log file: " + utf8(collector) + "\nFailed to delete: " +
                              utf8(oldLog) + "\nFailed to rename: " + utf8(collector) + "\n");
    EXPECT_EQ(collected.substr(0, full.size()), full);
    EXPECT_EQ(collected.substr(full.size(), 3), kBom);
    EXPECT_FALSE(fileExists(current));
}

TEST_F(CollectorTest, ACollectorHeldByAnotherShutdownLeavesTheCurrentLogOnDisk) {
    ASSERT_TRUE(writeFile(collector, "busy"));
    handles::File held = holdExclusively(collector);
    ASSERT_TRUE(held);
    StderrCapture err;
    finishRun(L"uncollected");
    held.reset();

    EXPECT_EQ(err.text(), "Failed to open log collector " + utf8(collector) + "\n");
    EXPECT_EQ(readFile(collector), "busy");
    ASSERT_TRUE(fileExists(current));
    EXPECT_EQ(logMessages(current),
              (std::vector<std::wstring>{L"Started up", L"uncollected", L"Shutdown", L""}));
}

TEST_F(CollectorTest, ACtrlZInsideAMessageDoesNotEndTheCopy) {
    std::string collected = finishRun(L"before\x1A" L"after");
    EXPECT_NE(collected.find(" before\x1A" "after\r\n"), std::string::npos);
    EXPECT_TRUE(endsWith(collected, " Shutdown\r\n\r\n"));
    EXPECT_FALSE(fileExists(current));
}

TEST_F(CollectorTest, StaleLogsAreDeletedAfter90WholeDays) {
    struct Aged {
        const wchar_t* name;
        long long offset;
        bool stays;
    };
    const Aged files[] = {
        {L"ConvocaLauncher_20000101_000000.log", -91 * kDay, false},
        {L"ConvocaLauncher_20000101_000001_3.log", -400 * kDay, false},
        {L"ConvocaLauncher_20000102_000000.log", -(90 * kDay + 23 * 3600), true},
        {L"ConvocaLauncher_20990101_000000.log", +30 * kDay, true},
        {L"ConvocaLauncher.log", -200 * kDay, true}, // collectors are no current logs
        {L"ConvocaLauncher.old.log", -200 * kDay, true},
        {L"Other_20000101_000000.log", -200 * kDay, true},
        {L"ConvocaLauncher_20000103_000000.txt", -200 * kDay, true},
    };
    for (const Aged& f : files) {
        ASSERT_TRUE(writeFile(logs + L"\\" + f.name, "old"));
        ASSERT_TRUE(setFileAge(logs + L"\\" + f.name, f.offset));
    }
    StderrCapture err;
    finishRun(L"run");

    for (const Aged& f : files)
        EXPECT_EQ(fileExists(logs + L"\\" + f.name), f.stays) << utf8(f.name);
    std::string text = err.text();
    EXPECT_EQ(count(text, "Deleting stale log file: "), 2u) << text;
    EXPECT_NE(text.find("Deleting stale log file: " + utf8(logs) +
                        "\\ConvocaLauncher_20000101_000000.log\n"),
              std::string::npos)
        << text;
}

TEST_F(CollectorTest, ASecondShutdownOnlyDeletesStaleLogs) {
    std::string collected = finishRun(L"run");
    std::wstring stale = logs + L"\\ConvocaLauncher_20000101_000000.log";
    std::wstring fresh = logs + L"\\ConvocaLauncher_20000101_000001.log";
    ASSERT_TRUE(writeFile(stale, "stale"));
    ASSERT_TRUE(setFileAge(stale, -95 * kDay));
    ASSERT_TRUE(writeFile(fresh, "fresh"));

    StderrCapture err;
    Logger::shutdown();
    EXPECT_EQ(err.text(), "Deleting stale log file: " + utf8(stale) + "\n");
    EXPECT_FALSE(fileExists(stale));
    EXPECT_EQ(readFile(fresh), "fresh"); // not collected: there was no run
    EXPECT_EQ(readFile(collector), collected);
}

// The collection step on its own, for current logs that a running logger
// never leaves behind.
class CollectCurrentLogTest : public ::testing::Test {
protected:
    TempDir dir;
    tvs::LogFiles files{dir / L"B_1.log", dir / L"B.log", dir / L"B.old.log"};
};

TEST_F(CollectCurrentLogTest, AnEmptyCurrentLogStaysAndNothingIsCollected) {
    ASSERT_TRUE(writeFile(files.current, ""));
    ASSERT_TRUE(writeFile(files.collector, std::string(40000, 'x')));
    StderrCapture err;
    tvs::collectCurrentLog(files, 32768);
    EXPECT_TRUE(fileExists(files.current));
    EXPECT_EQ(readFile(files.collector).size(), 40000u);
    EXPECT_FALSE(fileExists(files.rolledOver));
    EXPECT_EQ(err.text(), "");
}

TEST_F(CollectCurrentLogTest, AMissingOrDirectoryCurrentLogIsPassedOver) {
    StderrCapture err;
    tvs::collectCurrentLog(files, 32768);
    ASSERT_TRUE(makeDirs(files.current));
    tvs::collectCurrentLog(files, 32768);
    EXPECT_TRUE(dirExists(files.current));
    EXPECT_FALSE(fileExists(files.collector));
    EXPECT_EQ(err.text(), "");
}

TEST_F(CollectCurrentLogTest, ADirectoryAtTheCollectorPathCountsAsEmptyAndFailsTheOpen) {
    ASSERT_TRUE(writeFile(files.current, "run"));
    ASSERT_TRUE(makeDirs(files.collector));
    StderrCapture err;
    tvs::collectCurrentLog(files, 32768);
    EXPECT_EQ(err.text(), "Failed to open log collector " + utf8(files.collector) + "\n");
    EXPECT_EQ(readFile(files.current), "run");
}

TEST_F(CollectCurrentLogTest, CopiesLargeLogsByteForByte) {
    std::string bytes;
    for (int i = 0; i < 20000; ++i) bytes += static_cast<char>(i * 7 % 256);
    ASSERT_TRUE(writeFile(files.current, bytes));
    ASSERT_TRUE(writeFile(files.collector, "head"));
    tvs::collectCurrentLog(files, 32768);
    EXPECT_EQ(readFile(files.collector), "head" + bytes);
    EXPECT_FALSE(fileExists(files.current));
}
