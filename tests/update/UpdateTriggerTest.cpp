// The update library's callbacks in-process, against the stand-in library copied beside this test program.
#include "LauncherRun.h"
#include "logging/Logger.h"
#include "update/UpdateTrigger.h"

namespace {

// Called on the library's thread through C: nothing may escape, not even "Logger not initialized" before start-up.
TEST(UpdateTrigger, CallbacksNeverThrowIntoTheLibrary) {
    EXPECT_EQ(tvs::Logger::currentLogPath(), L"") << "no logger running";
    EXPECT_EQ(1, canShutdown());
    EXPECT_NO_THROW(shutdownRequested());
    EXPECT_FALSE(UtilityWindowLauncher::isMonitoring());
}

} // namespace
