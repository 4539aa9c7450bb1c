// The utility window's launcher in-process, with the package's stand-in runtime.
#include "LauncherRun.h"
#include "TestLogger.h"
#include "utilitywindow/UtilityWindowLauncher.h"

#include <thread>

namespace {

// A send reaches the window only while its output is read, also from another thread; a path without an ANSI form
// starts nothing.
TEST(UtilityWindowLauncher, SendsOnlyWhileTheWindowRuns) {
    const std::wstring jre = packageDirectory() + L"\\Resources\\Java\\jre1.7.0_40",
                       record = jre + L"\\bin\\java.record.txt";
    using Status = UtilityWindowResult::Status;
    const struct {
        std::wstring jar;
        UtilityWindowResult result;
    } rows[] = {{L"C:\\u.jar", {Status::closed, 0}}, {L"C:\\\u4f1a\u8b70.jar", {Status::noAnsiPath, 1113}}};
    for (const auto& row : rows) {
        const bool started = row.result.status == Status::closed;
        if (!started && GetACP() == CP_UTF8) continue; // every path has an ANSI form
        TempDir files;
        ASSERT_TRUE(writeFile(files / L"script.txt", "out update\nwait shutdown\nexit 0\n"));
        SetEnvironmentVariableW(L"CONVOCA_STANDIN_JAVA_SCRIPT", (files / L"script.txt").c_str());
        DeleteFileW(record.c_str());
        ScopedTestLogger logger;
        bool sent = false;
        UtilityWindowLauncher window({jre, row.jar, files / L"s.properties", files / L"cache", L"1.5.0.0", false},
                                     [&] { std::thread([&] { sent = window.sendCommand("shutdown"); }).join(); });
        EXPECT_FALSE(window.sendCommand("shutdown"));
        const UtilityWindowResult result = window.run();
        EXPECT_TRUE(result.status == row.result.status && result.code == row.result.code) << result.code;
        EXPECT_FALSE(window.sendCommand("shutdown"));
        EXPECT_EQ(started, sent);
        const std::vector<std::string> lines = splitLines(readFile(record));
        EXPECT_EQ(started ? std::vector<std::string>{"in: shutdown\\r", "exit 0"} : std::vector<std::string>{},
                  std::vector<std::string>(lines.begin() + std::min<size_t>(lines.size(), 2), lines.end()));
        const std::vector<std::wstring> log = logger.messages();
        EXPECT_EQ(started, std::count(log.begin(), log.end(), L"Sending to UtilityWindow: 'shutdown'"));
        EXPECT_EQ(started, std::count(log.begin(), log.end(), L"Starting UtilityWindow"));
    }
    SetEnvironmentVariableW(L"CONVOCA_STANDIN_JAVA_SCRIPT", nullptr);
    DeleteFileW(record.c_str()); // copies of the package must not carry it
}

} // namespace
