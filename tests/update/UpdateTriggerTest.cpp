// The update library's callbacks in-process, against the stand-in library copied beside this test program; and the
// launcher with a library that cannot serve, or with the recording stand-in, which shows when it is first called.
#include "../launcher/SessionFixture.h"
#include "TestLogger.h"
#include "update/UpdateTrigger.h"

#include <stdexcept>

namespace {

// Called on the library's thread through C: nothing may escape, not even a log line before start-up or
// what the launcher's callback throws. The callback is called only between start and finish.
TEST(UpdateTrigger, TheShutdownRequestReachesTheCallbackOnlyWhileTheLibraryRuns) {
    EXPECT_EQ(tvs::Logger::currentLogPath(), L"") << "no logger running";
    EXPECT_EQ(1, canShutdown());
    EXPECT_NO_THROW(shutdownRequested());
    ScopedTestLogger logger;
    const WinSparkleLibrary library(std::wstring(CONVOCA_TEST_BIN_DIR_WIN) + L"\\WinSparkle.dll");
    ASSERT_TRUE(library.loaded()) << utf8(library.failure());
    int calls = 0;
    startUpdater(library, "http://127.0.0.1:9/cast.xml", [&] {
        ++calls;
        throw std::runtime_error("the window is gone");
    });
    EXPECT_NO_THROW(shutdownRequested());
    finishUpdater(library);
    shutdownRequested();
    EXPECT_EQ(1, calls);
    const std::vector<std::wstring> log = logger.messages();
    EXPECT_EQ(2, std::count(log.begin(), log.end(), L"Notified of successful update. Calling shutdown"));
}

using UpdateLibraryTest = LauncherTest;

// Java is spawned before the library is first called. A library that is missing, a text file, the other
// architecture's DLL or short of the launcher's own export costs the update check only: one log line says why.
TEST_F(UpdateLibraryTest, SessionsLaunchFirstAndWithoutALibraryThatCannotServe) {
    const std::wstring tests = CONVOCA_TEST_BIN_DIR_WIN, standins = findParentDirectory(CONVOCA_STANDIN_SPARKLE_WIN);
    const struct {
        std::wstring replacement; // for the stand-in, kept when there is no cause; empty: deleted
        std::wstring cause;
    } rows[] = {
        {L"", L""},
        {L"", L"is missing (error 126)"},
        {L"text", L"is damaged or built for another architecture (error 193)"},
        {tests + L"\\other-architecture.dll", L"is damaged or built for another architecture (error 193)"},
        {standins + L"\\unpatched\\WinSparkle.dll", L"lacks the function tvs_win_sparkle_is_busy"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(utf8(row.cause));
        LauncherInstall install(InstallKind::perUser);
        const std::wstring dll = install.path(L"WinSparkle.dll");
        ASSERT_TRUE(row.cause.empty() || DeleteFileW(dll.c_str()));
        ASSERT_TRUE(row.replacement.empty() ||
                    (row.replacement == L"text" ? writeFile(dll, "not a DLL at all\r\n")
                                                : CopyFileW(row.replacement.c_str(), dll.c_str(), TRUE)));
        const LauncherResult r = run(install, {session()});
        EXPECT_EQ(0, r.exitCode);
        EXPECT_EQ(std::vector<Box>{}, r.boxes);
        EXPECT_EQ(row.cause.empty() ? 0u : 1u,
                  r.logCount(L"The update library " + dll + L" " + row.cause + L"; no update check in this run."));
        EXPECT_EQ(row.cause.empty(), r.logHas(L"Performing update check."));
        const std::vector<JavawRecord> java = javawRecords(1);
        ASSERT_EQ(1u, java.size());
        EXPECT_TRUE(!row.cause.empty() || sparkleFirstCall(install) > java[0].created) << "Java before the library";
        resetLauncherUserState();
    }
}

} // namespace
