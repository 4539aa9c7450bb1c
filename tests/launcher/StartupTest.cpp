// Start-up of the real launcher: dispatch, deployment detection, paths,
// switches and the failure rows that Wine can produce.
#include "LauncherRun.h"

#include <functional>
#include <shlobj.h>

namespace {

const std::wstring kNoVcaBox = L"No '.vca' file found in argument list. Launch aborted.";

bool hasExitLine(const LauncherResult& r) {
    for (const auto& line : r.log)
        if (line.find(L"Exiting Launcher") != std::wstring::npos) return true;
    return false;
}

class StartupTest : public LauncherTest {};

TEST_F(StartupTest, AnyArgumentMeansSessionModeAfterTheLoggedStartUp) {
    LauncherInstall install(Deployment::perMachine);
    LauncherResult r = run(install, {L"not-a-file"});
    EXPECT_EQ(-1, r.exitCode);
    ASSERT_EQ(1u, r.boxes.size());
    EXPECT_EQ((Box{L"Convoca Launcher Error", kNoVcaBox}), r.boxes[0]);
    const std::vector<std::wstring> head = {
        L"Started up", L"Detected per-machine deployment.", std::wstring(31, L'-'),
        L"Tavisto Convoca Launcher", std::wstring(31, L'-'), L"",
        L"Executable path: " + install.directory(),
        L"Support directory path: " + supportDirectory(), L"Executable version: 1.5.0.0"};
    ASSERT_GE(r.log.size(), head.size() + 3);
    EXPECT_EQ(head, std::vector<std::wstring>(r.log.begin(), r.log.begin() + head.size()));
    EXPECT_TRUE(r.logHas(L"Absolute path to the embedded JRE: '" + supportDirectory() +
                         L"\\embedded\\Java\\jre1.7.0_40'"));
    EXPECT_TRUE(r.logHas(L"Entering Launcher Session mode."));
    EXPECT_FALSE(r.logHas(L"Entering Launcher Utility Window mode."));
    // The log ends with the status line, then the logger's own "Shutdown\n".
    EXPECT_EQ((std::vector<std::wstring>{L"Exiting Launcher with status  -1", L"Shutdown", L""}),
              std::vector<std::wstring>(r.log.end() - 3, r.log.end()));
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
    EXPECT_FALSE(hasExitLine(r));

    LaunchOptions relative;
    relative.workingDirectory = L"C:\\ConvocaTests";
    relative.commandLine = L"relative_install\\ConvocaLauncher.exe x";
    r = run(install, {}, relative);
    EXPECT_EQ(std::vector<std::wstring>{kNoVcaBox}, boxTexts(r.boxes));
    EXPECT_TRUE(r.logHas(L"Entering Launcher Session mode."));
}

// Where the switches come from: the one per-user file, or per machine the
// administrator's file beside the exe (never the user's file).
TEST_F(StartupTest, SwitchesComeFromTheDeploymentsAdministratorFile) {
    TempDir dir;
    ASSERT_TRUE(writeFile(dir / L"broken.vca", "not xml"));
    const std::string off = "doNotValidateVcaFile=true\r\ndoNotLaunchVcaSession=true\r\n";
    for (Deployment kind : {Deployment::perUser, Deployment::perMachine}) {
        LauncherInstall install(kind);
        ASSERT_TRUE(writeUserSettings(kind, off));
        LauncherResult r = run(install, {dir / L"broken.vca"});
        EXPECT_EQ(kind == Deployment::perUser ? L"Detected per-user deployment."
                                              : L"Detected per-machine deployment.",
                  r.log.at(1));
        EXPECT_EQ(kind == Deployment::perUser ? 0 : -1, r.exitCode);
        if (kind == Deployment::perMachine) {
            ASSERT_TRUE(install.writeAdminSettings(off));
            r = run(install, {dir / L"broken.vca"});
            EXPECT_EQ(0, r.exitCode);
            EXPECT_TRUE(r.boxes.empty());
        }
        resetLauncherUserState();
    }
}

struct FailureRow {
    const char* name;
    std::function<std::wstring(LauncherInstall&)> arrange; // returns the expected box
    long status;
    bool logged; // the logger's own failure cannot be logged
};

// The failures of start-up end the run at once: no "Exiting" line.
TEST_F(StartupTest, FailuresShowTheirBoxAndEndAtOnce) {
    const std::wstring tavisto = shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Tavisto";
    const FailureRow rows[] = {
        {"no runtime", [](LauncherInstall& i) {
             removeTree(i.path(L"Resources"));
             return L"No JRE found: " + supportDirectory() + L"\\embedded\\Java\\jre1.7.0_40";
         }, 0, true},
        {"cache folder blocked", [](LauncherInstall&) {
             makeDirs(supportDirectory());
             const std::wstring cache = supportDirectory() + L"\\vcaLauncherCache";
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
    for (const FailureRow& row : rows) {
        SCOPED_TRACE(row.name);
        LauncherInstall install(Deployment::perMachine);
        const std::wstring box = row.arrange(install);
        LauncherResult r = run(install, {L"x"});
        removeTree(tavisto);
        EXPECT_EQ(row.status, r.exitCode);
        EXPECT_EQ(std::vector<std::wstring>{box}, boxTexts(r.boxes));
        EXPECT_FALSE(r.logHas(L"Entering Launcher Session mode."));
        EXPECT_FALSE(hasExitLine(r));
        EXPECT_EQ(row.logged, r.logHas(box.substr(0, box.find(L'\n'))));
    }
}

} // namespace
