// Start-up of the real launcher: dispatch, deployment detection, paths,
// switches and the failure rows that Wine can produce.
#include "LauncherRun.h"

#include <shlobj.h>

namespace {

const std::wstring kAbsolutePathBox = L"Please use an absolute path when launching the executable.";
const std::wstring kNoVcaBox = L"No '.vca' file found in argument list. Launch aborted.";

std::wstring embeddedJreHome() {
    return supportDirectory() + L"\\embedded\\Java\\jre1.7.0_40";
}

class StartupTest : public LauncherTest {};

TEST_F(StartupTest, AnyArgumentMeansSessionModeAndTheExitSequenceRuns) {
    LauncherInstall install(Deployment::perMachine);
    LauncherResult r = run(install, {L"not-a-file"});
    EXPECT_EQ(-1, r.exitCode);
    ASSERT_EQ(1u, r.boxes.size());
    EXPECT_EQ(L"Convoca Launcher Error", r.boxes[0].title);
    EXPECT_EQ(kNoVcaBox, r.boxes[0].text);
    EXPECT_TRUE(r.logHas(L"Entering Launcher Session mode."));
    EXPECT_FALSE(r.logHas(L"Entering Launcher Utility Window mode."));
    EXPECT_EQ(L"Exiting Launcher with status  -1", r.log.at(r.log.size() - 3));
}

TEST_F(StartupTest, StartsWithTheBannerAndLogsThePaths) {
    LauncherInstall install(Deployment::perMachine);
    LauncherResult r = run(install, {L"x"});
    ASSERT_GE(r.log.size(), 10u);
    EXPECT_EQ(L"Started up", r.log[0]);
    EXPECT_EQ(L"Detected per-machine deployment.", r.log[1]);
    EXPECT_EQ(std::wstring(31, L'-'), r.log[2]);
    EXPECT_EQ(L"Tavisto Convoca Launcher", r.log[3]);
    EXPECT_EQ(std::wstring(31, L'-'), r.log[4]);
    EXPECT_EQ(L"", r.log[5]);
    EXPECT_EQ(L"Executable path: " + install.directory(), r.log[6]);
    EXPECT_EQ(L"Support directory path: " + supportDirectory(), r.log[7]);
    EXPECT_EQ(L"Executable version: 1.5.0.0", r.log[8]);
    EXPECT_TRUE(r.logHas(L"Absolute path to the embedded JRE: '" + embeddedJreHome() + L"'"));
    // The run's log ends with the logger's own shutdown line and its empty line.
    EXPECT_EQ(L"Shutdown", r.log.at(r.log.size() - 2));
}

TEST_F(StartupTest, BareProgramNameIsRefused) {
    LauncherInstall install(Deployment::perMachine);
    LaunchOptions options;
    options.commandLine = L"ConvocaLauncher.exe x.vca";
    LauncherResult r = run(install, {}, options);
    EXPECT_EQ(-1, r.exitCode);
    ASSERT_EQ(1u, r.boxes.size());
    EXPECT_EQ(kAbsolutePathBox, r.boxes[0].text);
    EXPECT_TRUE(r.logHas(kAbsolutePathBox));
    EXPECT_FALSE(r.logHas(L"Entering Launcher Session mode."));
    // Failures of start-up return at once: no exit line.
    for (const auto& line : r.log) EXPECT_EQ(std::wstring::npos, line.find(L"Exiting Launcher"));
}

TEST_F(StartupTest, RelativePathWithADirectoryPartIsAccepted) {
    LauncherInstall install(Deployment::perMachine, L"relative_install");
    LaunchOptions options;
    options.workingDirectory = L"C:\\ConvocaTests";
    options.commandLine = L"relative_install\\ConvocaLauncher.exe x";
    LauncherResult r = run(install, {}, options);
    EXPECT_EQ(-1, r.exitCode);
    EXPECT_EQ(std::vector<std::wstring>{kNoVcaBox}, boxTexts(r.boxes));
    EXPECT_TRUE(r.logHas(L"Entering Launcher Session mode."));
}

TEST_F(StartupTest, PerUserInstallUsesOneSettingsFileForBothRoles) {
    LauncherInstall install(Deployment::perUser);
    LauncherResult r = run(install, {L"x"});
    ASSERT_GE(r.log.size(), 2u);
    EXPECT_EQ(L"Detected per-user deployment.", r.log[1]);
    // The per-user settings file holds the switches: validation off means a
    // broken session file is launched anyway.
    ASSERT_TRUE(writeUserSettings(Deployment::perUser, "doNotLaunchVcaSession=true\r\n"
                                                       "doNotValidateVcaFile=true\r\n"));
    TempDir dir;
    ASSERT_TRUE(writeFile(dir / L"broken.vca", "not xml"));
    r = run(install, {dir / L"broken.vca"});
    EXPECT_EQ(0, r.exitCode) << utf8(boxTexts(r.boxes).empty() ? L"" : r.boxes[0].text);
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_TRUE(r.logHas(L"Exiting Launcher with status  0"));
}

TEST_F(StartupTest, PerMachineInstallReadsTheAdministratorFile) {
    LauncherInstall install(Deployment::perMachine);
    TempDir dir;
    ASSERT_TRUE(writeFile(dir / L"broken.vca", "not xml"));
    // The user's file is not where the switches come from per machine.
    ASSERT_TRUE(writeUserSettings(Deployment::perMachine, "doNotValidateVcaFile=true\r\n"));
    LauncherResult r = run(install, {dir / L"broken.vca"});
    EXPECT_EQ(-1, r.exitCode);
    ASSERT_EQ(1u, r.boxes.size());

    ASSERT_TRUE(install.writeAdminSettings("doNotValidateVcaFile=true\r\ndoNotLaunchVcaSession=true\r\n"));
    r = run(install, {dir / L"broken.vca"});
    EXPECT_EQ(0, r.exitCode);
    EXPECT_TRUE(r.boxes.empty());
}

TEST_F(StartupTest, MissingRuntimeEndsWithStatusZero) {
    LauncherInstall install(Deployment::perMachine);
    ASSERT_TRUE(removeTree(install.path(L"Resources")));
    LauncherResult r = run(install, {L"x"});
    EXPECT_EQ(0, r.exitCode);
    const std::wstring text = L"No JRE found: " + embeddedJreHome();
    EXPECT_EQ(std::vector<std::wstring>{text}, boxTexts(r.boxes));
    EXPECT_TRUE(r.logHas(text));
    EXPECT_FALSE(r.logHas(L"Entering Launcher Session mode."));
    for (const auto& line : r.log) EXPECT_EQ(std::wstring::npos, line.find(L"Exiting Launcher"));
}

TEST_F(StartupTest, UncreatableCacheDirectory) {
    LauncherInstall install(Deployment::perMachine);
    makeDirs(supportDirectory());
    const std::wstring cache = supportDirectory() + L"\\vcaLauncherCache";
    ASSERT_TRUE(writeFile(cache, "a file where the cache folder belongs"));
    LauncherResult r = run(install, {L"x"});
    EXPECT_EQ(-1, r.exitCode);
    const std::wstring text = L"No cache directory:\n    " + cache;
    EXPECT_EQ(std::vector<std::wstring>{text}, boxTexts(r.boxes));
    EXPECT_TRUE(r.logHas(L"No cache directory:"));
    EXPECT_TRUE(r.logHas(L"    " + cache));
}

TEST_F(StartupTest, LoggerFailureIsReportedWithoutLogging) {
    LauncherInstall install(Deployment::perMachine);
    const std::wstring tavisto = shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Tavisto";
    removeTree(tavisto);
    ASSERT_TRUE(writeFile(tavisto, "a file where the data folder belongs"));
    LauncherResult r = run(install, {L"x"});
    removeTree(tavisto);
    EXPECT_EQ(-1, r.exitCode);
    EXPECT_EQ(std::vector<std::wstring>{L"The logger has reported an exception [failed to create "
                                        L"containing directory]. Please contact Tavisto technical "
                                        L"support."},
              boxTexts(r.boxes));
}

} // namespace
