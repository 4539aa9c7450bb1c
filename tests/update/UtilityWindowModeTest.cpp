// No arguments: the utility window's command line and protocol through the stand-in java.exe, and the update
// library's calls as the stand-in WinSparkle.dll recorded them.
#include "../launcher/SessionFixture.h"

namespace {

// The library's calls, but its busy polls and the time of its first call.
std::vector<std::string> sparkleCalls(const LauncherInstall& install) {
    std::vector<std::string> calls;
    for (const std::string& line : splitLines(readFile(install.path(L"WinSparkle.record.txt"))))
        if (line.rfind("tvs_win_sparkle_is_busy", 0) != 0 && line.rfind("time ", 0) != 0) calls.push_back(line);
    return calls;
}

class UtilityWindowModeTest : public LauncherTest {
protected:
    // The script the stand-in window follows in this run; the stand-in library's behaviour.
    LaunchOptions script(const std::string& text, const wchar_t* sparkleShutdown = L"") {
        writeFile(files / L"script.txt", text);
        return {L"",
                {{L"CONVOCA_STANDIN_JAVA_SCRIPT", files / L"script.txt"},
                 {L"CONVOCA_STANDIN_SPARKLE_SHUTDOWN", sparkleShutdown}}};
    }
};

// Per user the updater runs, started before the window; per machine the window gets -admin and the library serves
// the user's checks only.
// Only the exact line "update" asks for a check, also a last line without LF; empty lines are not logged.
TEST_F(UtilityWindowModeTest, WindowGetsItsArgumentsAndItsUpdateLinesAndTheUpdaterRunsPerUserOnly) {
    const std::vector<std::wstring> received = {
        L"Received from UtilityWindow: 'update'", L"Received from UtilityWindow: 'update '",
        L"Unrecognized command: 'update '", L"Received from UtilityWindow: 'update'"};
    for (InstallKind kind : {InstallKind::perUser, InstallKind::perMachine}) {
        const bool perUser = kind == InstallKind::perUser;
        LauncherInstall install(kind);
        const LauncherResult r =
            run(install, {}, script("raw update\\r\\n\\r\\n\\n\nout update \nraw update\nexit 0\n"));
        ASSERT_EQ(0, r.exitCode);
        const std::wstring settings = roamingSettingsDirectory() +
                                      (perUser ? L"\\ConvocaLauncher.properties" : L"\\ConvocaLauncherUser.properties");
        const std::wstring cache = supportDirectory() + L"\\vcaLauncherCache", jar = install.path(L"utilwin.jar");
        const size_t started = r.logFind(L"Starting UtilityWindow");
        ASSERT_NE(std::wstring::npos, started);
        EXPECT_EQ(received, std::vector<std::wstring>(r.log.begin() + started + 1,
                                                      r.log.begin() + std::min(r.log.size(), started + 5)));
        const std::vector<std::string> java = splitLines(readFile(workingJreHome() + L"\\bin\\java.record.txt"));
        ASSERT_GE(java.size(), 3u);
        EXPECT_EQ("args: [-classpath] [" + utf8(jar) + "] [com.tavisto.launcher.utility.Main] [-settings] [" +
                      utf8(settings) + "] [-cache] [" + utf8(cache) + "] [-version] [1.5.0.0]" +
                      (perUser ? "" : " [-admin]"),
                  java[1]);
        const unsigned long long sparkle = sparkleFirstCall(install), window = std::stoull(java[2].substr(9));
        EXPECT_TRUE(!perUser || (sparkle > 0 && sparkle < window)) << sparkle << " " << window;
        std::vector<std::string> calls;
        if (perUser)
            calls = {"win_sparkle_set_registry_path(Software\\Tavisto\\Tavisto Convoca Launcher)",
                     "win_sparkle_set_can_shutdown_callback", "win_sparkle_set_shutdown_request_callback",
                     "win_sparkle_set_appcast_url(https://updates.tavisto.com/tcv/win/appcast.xml)",
                     "win_sparkle_init"};
        calls.insert(calls.end(), 2, "win_sparkle_check_update_with_ui");
        if (perUser) calls.push_back("win_sparkle_cleanup");
        EXPECT_EQ(calls, sparkleCalls(install));
        resetLauncherUserState();
    }
}

// A window that fails, cannot start, stops reading before "shutdown" or runs on after its output ends: the run ends
// in order with the update library closed, and the failure is told exactly.
TEST_F(UtilityWindowModeTest, WindowFailuresEndTheRunInOrder) {
    const struct {
        const char* script;
        std::wstring box, logged;
    } rows[] = {
        {"exit 3\n", L"Utility Window failed: 3", L"Utility Window failed: 3"},
        {"no java.exe", L"Utility Window failed: 2",
         L"Failed to start UtilityWindow: exec_stream_t::start: CreateProcess failed."},
        {"closein\nout update\nsleep 800\nexit 0\n", L"",
         L"Failed to close UtilityWindow: thread_buffer_t::writer_thread: WriteFile failed"},
        {"closeout\nsleep 800\nexit 0\n", L"Utility Window failed: 4294967295",
         L"Failed to read the exit code of UtilityWindow: exec_stream_t:exit_code: child process still running"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.script);
        LauncherInstall install(InstallKind::perUser);
        if (row.script[0] == 'n') DeleteFileW(install.path(L"Resources\\Java\\jre1.7.0_40\\bin\\java.exe").c_str());
        const LauncherResult r = run(install, {}, script(row.script, L"check"));
        const long status = row.box.empty() ? 0 : -1;
        EXPECT_EQ(status, r.exitCode);
        EXPECT_EQ(row.box.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{row.box},
                  boxTexts(r.boxes));
        EXPECT_EQ(1u, r.logCount(row.logged));
        EXPECT_TRUE(r.logHas(L"Exiting Launcher with status  " + std::to_wstring(status)));
        const std::vector<std::string> calls = sparkleCalls(install);
        EXPECT_EQ(calls.size() - 1, std::find(calls.begin(), calls.end(), "win_sparkle_cleanup") - calls.begin())
            << "once, last";
        resetLauncherUserState();
    }
}

} // namespace
