// The launcher started without arguments: the settings window's command line
// and line protocol, driven through the stand-in java.exe, and the update
// library's calls as the stand-in WinSparkle.dll recorded them.
#include "LauncherRun.h"

namespace {

std::wstring javaBin() { return supportDirectory() + L"\\embedded\\Java\\jre1.7.0_40\\bin"; }

std::vector<std::string> javaRecord() { return splitLines(readFile(javaBin() + L"\\java.record.txt")); }

std::vector<std::string> sparkleCalls(const LauncherInstall& install) {
    std::vector<std::string> calls;
    for (const std::string& line : splitLines(readFile(install.path(L"WinSparkle.record.txt"))))
        if (line.rfind("tvs_win_sparkle_is_busy", 0) != 0) calls.push_back(line);
    return calls;
}

size_t countOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

class UtilityWindowModeTest : public LauncherTest {
protected:
    TempDir files;
    // The script the stand-in window follows in this run.
    LaunchOptions script(const std::string& text) {
        writeFile(files / L"script.txt", text);
        LaunchOptions options;
        options.environment[L"CONVOCA_STANDIN_JAVA_SCRIPT"] = files / L"script.txt";
        return options;
    }
};

TEST_F(UtilityWindowModeTest, PerUserWindowGetsNineArgumentsAndTheUpdaterRuns) {
    LauncherInstall install(Deployment::perUser);
    LauncherResult r = run(install, {}, script("exit 0\n"));
    ASSERT_EQ(0, r.exitCode);
    EXPECT_TRUE(r.boxes.empty());
    const std::wstring settings = roamingSettingsDirectory() + L"\\ConvocaLauncher.properties";
    const std::wstring cache = supportDirectory() + L"\\vcaLauncherCache";
    const std::wstring jar = install.path(L"utilwin.jar");
    EXPECT_TRUE(r.logHas(L"Entering Launcher Utility Window mode."));
    EXPECT_TRUE(r.logHas(L"Utility Window jar path: '" + jar + L"', properties path '" + settings +
                         L"', cache path '" + cache +
                         L"', MsiDeployment 'per-User', launcher version '1.5.0.0'"));
    EXPECT_TRUE(r.logHas(L"Starting UtilityWindow"));
    EXPECT_TRUE(r.logHas(L"Exiting Launcher Utility Window mode."));
    std::vector<std::string> record = javaRecord();
    ASSERT_GE(record.size(), 2u);
    EXPECT_EQ("args: [-classpath] [" + utf8(jar) + "] [com.tavisto.launcher.utility.Main] [-settings] [" +
                  utf8(settings) + "] [-cache] [" + utf8(cache) + "] [-version] [1.5.0.0]",
              record[1]);
    EXPECT_EQ((std::vector<std::string>{
                  "win_sparkle_set_registry_path(Software\\Tavisto\\Tavisto Convoca Launcher)",
                  "win_sparkle_set_can_shutdown_callback", "win_sparkle_set_shutdown_request_callback",
                  "win_sparkle_set_appcast_url(https://updates.tavisto.com/tcv/win/appcast.xml)",
                  "win_sparkle_init", "win_sparkle_cleanup"}),
              sparkleCalls(install));
    EXPECT_TRUE(r.logHas(L"Appcast URL = https://updates.tavisto.com/tcv/win/appcast.xml"));
    EXPECT_TRUE(r.logHas(L"Performing update check."));
    EXPECT_FALSE(r.logHas(L"Waiting for updater to finish."));
}

TEST_F(UtilityWindowModeTest, PerMachineWindowGetsAdminAndTheUpdaterStaysOff) {
    LauncherInstall install(Deployment::perMachine);
    LauncherResult r = run(install, {}, script("out update\nexit 0\n"));
    ASSERT_EQ(0, r.exitCode);
    const std::wstring settings = roamingSettingsDirectory() + L"\\ConvocaLauncherUser.properties";
    EXPECT_TRUE(r.logHas(L"Utility Window jar path: '" + install.path(L"utilwin.jar") +
                         L"', properties path '" + settings + L"', cache path '" + supportDirectory() +
                         L"\\vcaLauncherCache', MsiDeployment 'per-Machine', launcher version '1.5.0.0'"));
    std::vector<std::string> record = javaRecord();
    ASSERT_GE(record.size(), 2u);
    EXPECT_NE(std::string::npos, record[1].find("[-version] [1.5.0.0] [-admin]"));
    EXPECT_EQ(std::vector<std::string>{"win_sparkle_check_update_with_ui"}, sparkleCalls(install));
    EXPECT_FALSE(r.logHas(L"Appcast URL = https://updates.tavisto.com/tcv/win/appcast.xml"));
    EXPECT_FALSE(r.logHas(L"Performing update check."));
}

TEST_F(UtilityWindowModeTest, OnlyTheExactUpdateLineAsksForACheck) {
    LauncherInstall install(Deployment::perUser);
    LauncherResult r = run(install, {}, script("raw update\\r\\n\\r\\n\\n\nout Update\nout update \n"
                                               "out update now\nexit 0\n"));
    ASSERT_EQ(0, r.exitCode);
    EXPECT_EQ(1u, countOf(sparkleCalls(install), "win_sparkle_check_update_with_ui"));
    EXPECT_EQ(1u, r.logCount(L"Received from UtilityWindow: 'update'"));
    for (const wchar_t* line : {L"Update", L"update ", L"update now"}) {
        EXPECT_EQ(1u, r.logCount(L"Received from UtilityWindow: '" + std::wstring(line) + L"'"));
        EXPECT_EQ(1u, r.logCount(L"Unrecognized command: '" + std::wstring(line) + L"'"));
    }
    // Empty lines are not logged at all.
    EXPECT_EQ(0u, r.logCount(L"Received from UtilityWindow: ''"));
    size_t started = r.logFind(L"Starting UtilityWindow");
    ASSERT_NE(std::wstring::npos, started);
    EXPECT_EQ(L"Received from UtilityWindow: 'update'", r.log.at(started + 1));
    EXPECT_EQ(L"Received from UtilityWindow: 'Update'", r.log.at(started + 2));
}

TEST_F(UtilityWindowModeTest, WindowFailureIsReported) {
    LauncherInstall install(Deployment::perUser);
    LauncherResult r = run(install, {}, script("exit 3\n"));
    EXPECT_EQ(-1, r.exitCode);
    EXPECT_EQ(std::vector<std::wstring>{L"Utility Window failed: 3"}, boxTexts(r.boxes));
    EXPECT_TRUE(r.logHas(L"Utility Window failed: 3"));
    EXPECT_TRUE(r.logHas(L"Exiting Launcher Utility Window mode."));
    EXPECT_TRUE(r.logHas(L"Exiting Launcher with status  -1"));
}

TEST_F(UtilityWindowModeTest, MissingJavaIsAnUnknownExceptionAfterTheLibraryIsClosed) {
    LauncherInstall install(Deployment::perUser);
    ASSERT_TRUE(DeleteFileW(install.path(L"Resources\\Java\\jre1.7.0_40\\bin\\java.exe").c_str()));
    LauncherResult r = run(install, {}, script("exit 0\n"));
    EXPECT_EQ(-1, r.exitCode);
    EXPECT_EQ(std::vector<std::wstring>{L"An unknown exception has occurred. Please contact Tavisto "
                                        L"technical support."},
              boxTexts(r.boxes));
    EXPECT_TRUE(r.logHas(L"Starting UtilityWindow"));
    EXPECT_FALSE(r.logHas(L"Exiting Launcher with status  -1"));
    EXPECT_EQ(1u, countOf(sparkleCalls(install), "win_sparkle_cleanup"));
}

// A window that stops reading before "shutdown" arrives, and one that runs on
// past the wait after its output ends: the run ends in order, with the
// update library closed, and no failure escapes as an unknown exception.
TEST_F(UtilityWindowModeTest, WindowsThatEndAwkwardlyStillEndTheRunInOrder) {
    const struct { const char* script; long exitCode; std::vector<std::wstring> boxes; std::wstring logged; } rows[] = {
        {"closein\nout update\nsleep 1500\nexit 0\n", 0, {}, 
         L"Failed to close UtilityWindow: thread_buffer_t::writer_thread: WriteFile failed"},
        {"closeout\nsleep 1500\nexit 0\n", -1, {L"Utility Window failed: 4294967295"},
         L"Failed to read the exit code of UtilityWindow: exec_stream_t:exit_code: child process still running"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.script);
        LauncherInstall install(Deployment::perUser);
        LaunchOptions options = script(row.script);
        options.environment[L"CONVOCA_STANDIN_SPARKLE_SHUTDOWN"] = L"check";
        LauncherResult r = run(install, {}, options);
        EXPECT_EQ(row.exitCode, r.exitCode);
        EXPECT_EQ(row.boxes, boxTexts(r.boxes));
        EXPECT_EQ(1, std::count_if(r.log.begin(), r.log.end(),
                                   [&](const std::wstring& l) { return l.rfind(row.logged, 0) == 0; }));
        EXPECT_TRUE(r.logHas(L"Exiting Launcher with status  " + std::to_wstring(row.exitCode)));
        EXPECT_EQ("win_sparkle_cleanup", sparkleCalls(install).back());
        resetLauncherUserState();
    }
}

TEST_F(UtilityWindowModeTest, UpdateRoundTripClosesTheWindowAndWaitsForTheLibrary) {
    LauncherInstall install(Deployment::perUser);
    LaunchOptions options = script("out update\nwait shutdown\nexit 0\n");
    options.environment[L"CONVOCA_STANDIN_SPARKLE_SHUTDOWN"] = L"check";
    options.environment[L"CONVOCA_STANDIN_SPARKLE_BUSY_MS"] = L"1500";
    LauncherResult r = run(install, {}, options);
    ASSERT_EQ(0, r.exitCode);
    EXPECT_EQ((std::vector<std::string>{
                  "win_sparkle_set_registry_path(Software\\Tavisto\\Tavisto Convoca Launcher)",
                  "win_sparkle_set_can_shutdown_callback", "win_sparkle_set_shutdown_request_callback",
                  "win_sparkle_set_appcast_url(https://updates.tavisto.com/tcv/win/appcast.xml)",
                  "win_sparkle_init", "win_sparkle_check_update_with_ui",
                  "can_shutdown callback returned 1", "shutdown_request callback",
                  "shutdown_request callback returned", "win_sparkle_cleanup"}),
              sparkleCalls(install));
    std::vector<std::string> record = javaRecord();
    EXPECT_EQ(1u, countOf(record, "in: shutdown\\r")) << "shutdown arrives with CR LF";
    EXPECT_EQ(1u, r.logCount(L"Notified of successful update. Calling shutdown"));
    EXPECT_EQ(1u, r.logCount(L"Sending to UtilityWindow: 'shutdown'"));
    size_t waiting = r.logFind(L"Waiting for updater to finish.");
    ASSERT_NE(std::wstring::npos, waiting);
    EXPECT_EQ(L"Updater finished.", r.log.at(waiting + 1));
    EXPECT_EQ(L"Exiting Launcher with status  0", r.log.at(waiting + 2));
}

// The updater's settings: an override URL is used unchanged, an empty one
// keeps the default, and doNotRunUpdater keeps the library untouched.
TEST_F(UtilityWindowModeTest, UpdaterSettings) {
    const std::string byDefault = "win_sparkle_set_appcast_url(https://updates.tavisto.com/tcv/win/appcast.xml)";
    const struct {
        std::string settings;
        std::vector<std::string> expected;
    } rows[] = {
        {"overrideAppcastURL=http://test/a cast.xml?x=1\r\n", {"win_sparkle_set_appcast_url(http://test/a cast.xml?x=1)"}},
        {"overrideAppcastURL=\r\n", {byDefault}},
        {"doNotRunUpdater=true\r\noverrideAppcastURL=http://x/\r\n", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.settings);
        LauncherInstall install(Deployment::perUser);
        ASSERT_TRUE(writeUserSettings(Deployment::perUser, row.settings));
        LauncherResult r = run(install, {}, script("exit 0\n"));
        ASSERT_EQ(0, r.exitCode);
        std::vector<std::string> urls;
        for (const std::string& call : sparkleCalls(install))
            if (call.rfind("win_sparkle_set_appcast_url", 0) == 0) urls.push_back(call);
        EXPECT_EQ(row.expected, urls);
        EXPECT_EQ(!row.expected.empty(), r.logHas(L"Performing update check."));
        if (row.expected.empty()) {
            EXPECT_TRUE(sparkleCalls(install).empty());
        }
        resetLauncherUserState();
    }
}

TEST_F(UtilityWindowModeTest, ShutdownRequestInSessionModeSendsNothing) {
    LauncherInstall install(Deployment::perUser);
    TempDir dir;
    ASSERT_TRUE(writeFile(dir / L"s.vca", "<jnlp codebase=\"https://a.convoca.com/\"/>"));
    LaunchOptions options;
    options.environment[L"CONVOCA_STANDIN_SPARKLE_SHUTDOWN"] = L"init";
    LauncherResult r = run(install, {dir / L"s.vca"}, options);
    ASSERT_EQ(0, r.exitCode);
    EXPECT_EQ(1u, r.logCount(L"Notified of successful update. Calling shutdown"));
    EXPECT_FALSE(r.logHas(L"Sending to UtilityWindow: 'shutdown'"));
    EXPECT_EQ(1u, countOf(sparkleCalls(install), "shutdown_request callback returned"));
}

} // namespace
