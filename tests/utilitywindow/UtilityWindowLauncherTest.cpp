// The settings window's launcher in-process: a path without an ANSI form starts nothing.
#include "LauncherRun.h"
#include "logging/Logger.h"
#include "utilitywindow/UtilityWindowLauncher.h"

namespace {

TEST(UtilityWindowLauncher, PathWithoutAnAnsiFormStartsNothing) {
    if (GetACP() == CP_UTF8) GTEST_SKIP() << "the ANSI code page is UTF-8 here";
    const std::wstring jre = packageDirectory() + L"\\Resources\\Java\\jre1.7.0_40",
                       record = jre + L"\\bin\\java.record.txt";
    resetLauncherUserState();
    DeleteFileW(record.c_str());
    tvs::Logger::initialize();
    UtilityWindowLauncher::setPaths(jre, L"C:\\\u4f1a\u8b70.jar");
    EXPECT_EQ(1113u, UtilityWindowLauncher::run(L"C:\\s.properties", L"C:\\cache", L"1.5.0.0", nullptr, false));
    const std::vector<std::wstring> lines = logMessages(tvs::Logger::currentLogPath());
    EXPECT_EQ(lines.end(), std::find(lines.begin(), lines.end(), L"Starting UtilityWindow"));
    tvs::Logger::shutdown();
    EXPECT_FALSE(fileExists(record));
    resetLauncherUserState();
}

} // namespace
