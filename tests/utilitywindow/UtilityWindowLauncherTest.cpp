// The utility window's launcher in-process, with the package's stand-in runtime.
#include "LauncherRun.h"
#include "TestLogger.h"
#include "utilitywindow/UtilityWindowLauncher.h"

// onStarted, which lets other starts refresh the runtime, comes once the window's Java exists, and never without it.
TEST(UtilityWindowLauncher, PathWithoutAnAnsiFormStartsNothingAndTakesNoCommand) {
    if (GetACP() == CP_UTF8) GTEST_SKIP() << "the ANSI code page is UTF-8 here";
    const std::wstring jre = packageDirectory() + L"\\Resources\\Java\\jre1.7.0_40",
                       record = jre + L"\\bin\\java.record.txt";
    DeleteFileW(record.c_str());
    ScopedTestLogger logger;
    UtilityWindowLauncher window({jre, L"C:\\\u4f1a\u8b70.jar", L"C:\\s.properties", L"C:\\cache", L"1.5.0.0", false},
                                 {});
    int started = 0;
    const UtilityWindowResult result = window.run([&] { ++started; });
    EXPECT_TRUE(result.status == UtilityWindowResult::Status::noAnsiPath && result.code == 1113) << result.code;
    EXPECT_FALSE(window.sendCommand("shutdown"));
    EXPECT_EQ(std::vector<std::wstring>{L"Started up"}, logger.messages());
    EXPECT_FALSE(fileExists(record));
    UtilityWindowLauncher ascii({jre, L"C:\\utilwin.jar", L"C:\\s.properties", L"C:\\cache", L"1.5.0.0", false}, {});
    EXPECT_FALSE(ascii.run([&] { ++started; }).failed());
    EXPECT_EQ(1, started);
    DeleteFileW(record.c_str()); // the package is copied for other tests
}
