// The update library's callbacks in-process, against the stand-in library
// copied beside this test program.
#include "LauncherRun.h"
#include "logging/Logger.h"
#include "update/UpdateTrigger.h"

namespace {

std::vector<std::string> calls() {
    return splitLines(readFile(testBinDirectory() + L"\\WinSparkle.record.txt"));
}

class UpdateTriggerTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteFileW((testBinDirectory() + L"\\WinSparkle.record.txt").c_str()); }
};

TEST_F(UpdateTriggerTest, CallbacksNeverThrowIntoTheLibrary) {
    EXPECT_EQ(1, canShutdown());
    // No logger is up: its "Logger not initialized" must stay in the callback.
    EXPECT_THROW(tvs::Logger::getInstance(), tvs::Logger::LoggerException);
    EXPECT_NO_THROW(shutdownRequested());
    EXPECT_FALSE(UtilityWindowLauncher::isMonitoring());
}

TEST_F(UpdateTriggerTest, EachRequestIsOneInteractiveCheck) {
    WinSparkleUpdateTrigger trigger;
    UtilityWindowLauncher::Listener& listener = trigger;
    listener.updateRequested();
    listener.updateRequested();
    EXPECT_EQ((std::vector<std::string>{"win_sparkle_check_update_with_ui",
                                        "win_sparkle_check_update_with_ui"}),
              calls());
}

TEST_F(UpdateTriggerTest, StartAndFinishCallTheLibraryInOrder) {
    resetLauncherUserState();
    tvs::Logger::initialize();
    startUpdater("https://example.test/cast.xml");
    finishUpdater();
    tvs::Logger::shutdown();
    resetLauncherUserState();
    EXPECT_EQ((std::vector<std::string>{
                  "win_sparkle_set_registry_path(Software\\Tavisto\\Tavisto Convoca Launcher)",
                  "win_sparkle_set_can_shutdown_callback", "win_sparkle_set_shutdown_request_callback",
                  "win_sparkle_set_appcast_url(https://example.test/cast.xml)", "win_sparkle_init",
                  "tvs_win_sparkle_is_busy = false", "win_sparkle_cleanup"}),
              calls());
}

} // namespace
