// The update library's callbacks in-process, against the stand-in library copied beside this test program.
#include "LauncherRun.h"
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
    int calls = 0;
    startUpdater("http://127.0.0.1:9/cast.xml", [&] {
        ++calls;
        throw std::runtime_error("the window is gone");
    });
    EXPECT_NO_THROW(shutdownRequested());
    finishUpdater();
    shutdownRequested();
    EXPECT_EQ(1, calls);
    const std::vector<std::wstring> log = logger.messages();
    EXPECT_EQ(2, std::count(log.begin(), log.end(), L"Notified of successful update. Calling shutdown"));
}

} // namespace
