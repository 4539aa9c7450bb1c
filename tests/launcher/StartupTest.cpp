// Start-up of the real launcher: dispatch, deployment detection, paths,
// switches and the failure rows that Wine can produce.
#include "SessionFixture.h"

#include <functional>
#include <shlobj.h>

namespace {

const std::wstring kNoVcaBox = L"No '.vca' file found in argument list. Launch aborted.";

using StartupTest = LauncherTest;

TEST_F(StartupTest, AnyArgumentMeansSessionModeAfterTheLoggedStartUp) {
    LauncherInstall install(Deployment::perMachine);
    const LauncherResult r = run(install, {files / L"missing.vca", files.path()});
    EXPECT_EQ(-1, r.exitCode);
    EXPECT_EQ(std::vector<Box>{(Box{L"Convoca Launcher Error", kNoVcaBox})}, r.boxes);
    const std::vector<std::wstring> head = {
        L"Started up", L"Detected per-machine deployment.", std::wstring(31, L'-'), L"Tavisto Convoca Launcher",
        std::wstring(31, L'-'), L"", L"Executable path: " + install.directory(),
        L"Support directory path: " + supportDirectory(), L"Executable version: 1.5.0.0"};
    ASSERT_GE(r.log.size(), head.size() + 3);
    EXPECT_EQ(head, std::vector<std::wstring>(r.log.begin(), r.log.begin() + head.size()));
    EXPECT_TRUE(r.logHas(L"Absolute path to the embedded JRE: '" + supportDirectory() + L"\\embedded\\Java\\jre1.7.0_40'"));
    EXPECT_TRUE(r.logHas(L"Entering Launcher Session mode."));
    EXPECT_FALSE(r.logHas(L"Entering Launcher Utility Window mode."));
    // The log ends with the status line, then the logger's own "Shutdown\n".
    EXPECT_EQ((std::vector<std::wstring>{L"Exiting Launcher Session mode.", L"Exiting Launcher with status  -1",
                                         L"Shutdown", L""}),
              std::vector<std::wstring>(r.log.end() - 4, r.log.end()));
    EXPECT_TRUE(dirExists(supportDirectory() + L"\\security")) << "ensured even without a session file";
    EXPECT_FALSE(fileExists(supportDirectory() + L"\\embedded\\Java\\jre1.7.0_40\\bin\\javaw.record.txt"));
}

TEST_F(StartupTest, ProgramPathNeedsADirectoryPart) {
    LauncherInstall install(Deployment::perMachine, L"relative_install");
    LaunchOptions bare;
    bare.commandLine = L"ConvocaLauncher.exe x.vca";
    LauncherResult r = run(install, {}, bare);
    const std::wstring box = L"Please use an absolute path when launching the executable.";
    EXPECT_EQ(-1, r.exitCode);
    EXPECT_EQ(std::vector<std::wstring>{box}, boxTexts(r.boxes));
    EXPECT_TRUE(r.logHas(box));
    EXPECT_EQ(std::wstring::npos, r.logFind(L"Exiting Launcher"));

    LaunchOptions relative;
    relative.workingDirectory = L"C:\\ConvocaTests";
    relative.commandLine = L"relative_install\\ConvocaLauncher.exe x";
    r = run(install, {}, relative);
    EXPECT_EQ(std::vector<std::wstring>{kNoVcaBox}, boxTexts(r.boxes));
    EXPECT_TRUE(r.logHas(L"Entering Launcher Session mode."));
}

// Where the switches come from: the one per-user file, or per machine the
// administrator's file beside the exe (never the user's file).
// doNotValidateVcaFile lets any file through; doNotLaunchVcaSession prepares
// everything but starts nothing.
TEST_F(StartupTest, SwitchesComeFromTheDeploymentsAdministratorFile) {
    const std::wstring broken = session(L"broken.vca", "not xml");
    const std::string off = "doNotValidateVcaFile=true\r\ndoNotLaunchVcaSession=true\r\n";
    for (Deployment kind : {Deployment::perUser, Deployment::perMachine}) {
        const bool perUser = kind == Deployment::perUser;
        LauncherInstall install(kind);
        ASSERT_TRUE(writeUserSettings(kind, off));
        LauncherResult r = run(install, {broken});
        EXPECT_EQ(perUser ? L"Detected per-user deployment." : L"Detected per-machine deployment.", r.log.at(1));
        EXPECT_EQ(perUser ? 0 : -1, r.exitCode);
        if (!perUser) {
            ASSERT_TRUE(install.writeAdminSettings("doNotValidateVcaFile=true\r\n"));
            r = run(install, {broken});
            EXPECT_EQ(0, r.exitCode);
            EXPECT_TRUE(r.boxes.empty());
            EXPECT_EQ(1u, javawRecords(1).size());
            ASSERT_TRUE(install.writeAdminSettings(off));
            r = run(install, {broken});
            EXPECT_EQ(0, r.exitCode);
        }
        EXPECT_TRUE(r.logHas(L"Launching Convoca with environment variables:"));
        EXPECT_EQ(perUser ? 0u : 1u, javawRecords().size()) << "nothing started with the launch off";
        resetLauncherUserState();
    }
}

// The failures of start-up end the run at once: no "Exiting" line.
TEST_F(StartupTest, FailuresShowTheirBoxAndEndAtOnce) {
    const std::wstring tavisto = shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Tavisto";
    const struct {
        const char* name;
        std::function<std::wstring(LauncherInstall&)> arrange; // returns the expected box
        long status;
        bool logged; // the logger's own failure cannot be logged
    } rows[] = {
        {"no runtime", [](LauncherInstall& i) {
             removeTree(i.path(L"Resources"));
             return L"No JRE found: " + supportDirectory() + L"\\embedded\\Java\\jre1.7.0_40";
         }, 0, true},
        {"cache folder blocked", [](LauncherInstall&) {
             const std::wstring cache = supportDirectory() + L"\\vcaLauncherCache";
             makeDirs(supportDirectory());
             writeFile(cache, "a file where the cache folder belongs");
             return L"No cache directory:\n    " + cache;
         }, -1, true},
        {"log folder blocked", [&](LauncherInstall&) {
             removeTree(tavisto);
             writeFile(tavisto, "a file where the data folder belongs");
             return std::wstring(L"The logger has reported an exception [failed to create containing "
                                 L"directory]. Please contact Tavisto technical support.");
         }, -1, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        LauncherInstall install(Deployment::perMachine);
        const std::wstring box = row.arrange(install);
        const LauncherResult r = run(install, {L"x"});
        removeTree(tavisto);
        EXPECT_EQ(row.status, r.exitCode);
        EXPECT_EQ(std::vector<std::wstring>{box}, boxTexts(r.boxes));
        EXPECT_FALSE(r.logHas(L"Entering Launcher Session mode."));
        EXPECT_EQ(std::wstring::npos, r.logFind(L"Exiting Launcher"));
        EXPECT_EQ(row.logged, r.logHas(box.substr(0, box.find(L'\n'))));
    }
}

} // namespace
