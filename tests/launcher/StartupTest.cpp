// Start-up of the real launcher: dispatch, deployment, paths, switches and the failures Wine can produce.
#include "SessionFixture.h"

#include <functional>
#include <shlobj.h>

namespace {

const std::wstring kNoVcaBox = L"No '.vca' file found in argument list. Launch aborted.";

using StartupTest = LauncherTest;

// A relative program path needs a directory part (one without is a failure row below), which is logged as given.
TEST_F(StartupTest, AnyArgumentMeansSessionModeAfterTheLoggedStartUp) {
    LauncherInstall install(InstallKind::perMachine, L"relative_install");
    const LauncherResult r =
        run(install, {files / L"missing.vca", files.path()}, {L"..\\relative_install\\ConvocaLauncher.exe", {}});
    EXPECT_EQ(-1, r.exitCode);
    EXPECT_EQ(std::vector<Box>{(Box{L"Convoca Launcher Error", kNoVcaBox})}, r.boxes);
    const std::wstring rule(31, L'-'), exe = L"Executable path: ..\\relative_install",
                                       support = L"Support directory path: " + supportDirectory();
    const std::vector<std::wstring> head = {
        L"Started up", L"Detected per-machine deployment.", rule, L"Tavisto Convoca Launcher", rule, L"", exe,
        support,       L"Executable version: 1.5.0.0"};
    ASSERT_GE(r.log.size(), head.size() + 3);
    EXPECT_EQ(head, std::vector<std::wstring>(r.log.begin(), r.log.begin() + head.size()));
    // The log ends with the status line, then the logger's own "Shutdown\n".
    EXPECT_EQ((std::vector<std::wstring>{L"Exiting Launcher Session mode.", L"Exiting Launcher with status  -1",
                                         L"Shutdown", L""}),
              std::vector<std::wstring>(r.log.end() - 4, r.log.end()));
    EXPECT_TRUE(dirExists(supportDirectory() + L"\\security")) << "ensured even without a session file";
}

// Switches come from the per-user file, or per machine from the admin file beside the exe, never the user's file.
TEST_F(StartupTest, SwitchesComeFromTheDeploymentsOwnFile) {
    const std::wstring broken = session(L"broken.vca", "not xml");
    const struct {
        InstallKind kind;
        const char* admin; // the package's own file when empty
        long status;
        size_t launches;
    } rows[] = {
        {InstallKind::perUser, "", 0, 0},
        {InstallKind::perMachine, "", -1, 0},
        {InstallKind::perMachine, "doNotValidateVcaFile=true\r\n", 0, 1},
    };
    for (const auto& row : rows) {
        LauncherInstall install(row.kind);
        ASSERT_TRUE(writeUserSettings(row.kind, "doNotValidateVcaFile=true\r\ndoNotLaunchVcaSession=true\r\n"));
        ASSERT_TRUE(!*row.admin || writeFile(install.path(L"ConvocaLauncherAdmin.properties"), row.admin));
        const LauncherResult r = run(install, {broken});
        EXPECT_EQ(row.status, r.exitCode);
        EXPECT_EQ(row.status == 0, r.logHas(L"Launching Convoca with environment variables:"));
        EXPECT_EQ(row.launches, javawRecords(row.launches).size());
        resetLauncherUserState();
    }
}

// The failures of start-up end the run at once: no "Exiting" line.
TEST_F(StartupTest, FailuresShowTheirBoxAndEndAtOnce) {
    const std::wstring tavisto = shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Tavisto";
    const std::wstring cache = supportDirectory() + L"\\vcaLauncherCache";
    const struct {
        std::function<void(LauncherInstall&)> arrange;
        std::wstring box;
        long status;
        bool logged;                      // the logger's own failure cannot be logged
        const wchar_t* commandLine = L""; // instead of the absolute path
    } rows[] = {
        {[](LauncherInstall&) {}, L"Please use an absolute path when launching the executable.", -1, true,
         L"ConvocaLauncher.exe"},
        {[](LauncherInstall& i) { removeTree(i.path(L"Resources")); }, L"No JRE found: " + workingJreHome(), 0, true},
        {[&](LauncherInstall&) { makeDirs(supportDirectory()), writeFile(cache, "a file where a folder belongs"); },
         L"No cache directory:\n    " + cache, -1, true},
        {[&](LauncherInstall&) { removeTree(tavisto), writeFile(tavisto, "a file where a folder belongs"); },
         L"The logger has reported an exception [failed to create containing directory]. Please contact Tavisto "
         L"technical support.",
         -1, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(utf8(row.box));
        LauncherInstall install(InstallKind::perMachine);
        row.arrange(install);
        const LauncherResult r = run(install, {L"x"}, {row.commandLine, {}});
        removeTree(tavisto);
        EXPECT_EQ(row.status, r.exitCode);
        EXPECT_EQ(std::vector<std::wstring>{row.box}, boxTexts(r.boxes));
        EXPECT_EQ(std::wstring::npos, r.logFind(L"Exiting Launcher"));
        EXPECT_EQ(row.logged, r.logHas(row.box.substr(0, row.box.find(L'\n'))));
    }
}

} // namespace
