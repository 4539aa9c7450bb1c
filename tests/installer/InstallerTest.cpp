// The setup program and its uninstaller, run silently and interactively under Wine: where they install, what they
// register, how the installed launcher then behaves, and what an upgrade and an uninstall leave behind.
#include "Installation.h"

namespace {

const std::wstring kVersion = CONVOCA_VERSION_W;
const std::string kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tavisto Convoca Launcher";
const wchar_t* const kAdminFile = L"ConvocaLauncherAdmin.properties";
enum : long { setupDone = 0, setupInUse = 3, setupWrongFolder = 4, setupUsage = 6, setupOtherArch = 8 };

std::wstring perUserDir() { return shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Tavisto Convoca Launcher"; }
long runSetup(const std::wstring& args) { return runProcess(quoted(CONVOCA_SETUP_EXE_WIN) + L" " + args, 120000); }
long runInPlaceUninstaller(const std::wstring& dir, const std::wstring& arguments) {
    return runProcess(quoted(dir + L"\\Uninstall.exe") + arguments + L" _?=" + dir, 120000);
}

// The association and the Add/Remove Programs entry of an installation in dir, or (dir empty) none of them.
void expectRegistration(HKEY root, REGSAM view, const std::wstring& dir) {
    const std::string d = utf8(dir), uninstaller = "\"" + d + "\\Uninstall.exe\"";
    std::vector<RegRow> rows = association(dir);
    rows.insert(rows.end(), {{kUninstallKey, "DisplayName", "Tavisto Convoca Launcher"},
                             {kUninstallKey, "Publisher", "Tavisto"},
                             {kUninstallKey, "DisplayVersion", utf8(kVersion)},
                             {kUninstallKey, "InstallLocation", d},
                             {kUninstallKey, "DisplayIcon", d + "\\ConvocaSession.ico"},
                             {kUninstallKey, "UninstallString", uninstaller},
                             {kUninstallKey, "QuietUninstallString", uninstaller + " /S"}});
    for (const RegRow& row : rows)
        EXPECT_EQ(dir.empty() ? "<none>" : row.value, regString(root, row.subKey, row.name, view))
            << row.subKey << " " << row.name;
    EXPECT_EQ(!dir.empty(), regKeyExists(root, kProgIdKey, view));
    EXPECT_EQ(!dir.empty(), regKeyExists(root, kUninstallKey, view));
}

// Removes both kinds of installation with everything they register, and the uninstaller's copies of itself.
void removeInstallations() {
    WIN32_FIND_DATAW data;
    handles::Find find(FindFirstFileW((tempDirectory() + L"\\~nsu*.tmp").c_str(), &data));
    for (bool more = find.valid(); more; more = FindNextFileW(find.get(), &data))
        removeTree(tempDirectory() + L"\\" + data.cFileName);
    for (const std::wstring& path : {perUserDir(), perMachineDir(), shortcut(false), shortcut(true)}) removeTree(path);
    for (const std::string& key : {kVcaKey, kProgIdKey, kUninstallKey}) {
        regDeleteTree(HKEY_CURRENT_USER, key);
        regDeleteTree(HKEY_LOCAL_MACHINE, key, kMachineView);
    }
    regDeleteTree(HKEY_LOCAL_MACHINE, kUninstallKey, kOtherView);
    regDeleteTree(HKEY_LOCAL_MACHINE, kLauncherRegistryKey, kMachineView);
}

class InstallerTest : public LauncherTest {
protected:
    void SetUp() override {
        LauncherTest::SetUp();
        removeInstallations();
    }
    void TearDown() override {
        removeInstallations();
        LauncherTest::TearDown();
    }

    // Opens the session file as a browser does: the exit code and the log. Wine 8's shell reads only
    // HKEY_LOCAL_MACHINE's classes; where it cannot see a per-user registration, its open command is run as is.
    LauncherResult openSession() {
        removeTree(supportDirectory() + L"\\logs");
        std::wstring command = fromUtf8(regString(HKEY_CURRENT_USER, kProgIdKey + "\\shell\\open\\command", ""));
        const size_t at = command.find(L"%1");
        LauncherResult result;
        result.exitCode = regKeyExists(HKEY_CLASSES_ROOT, ".vca") ? shellOpenAndWait(vca)
                          : at == std::wstring::npos              ? -3
                                                                  : runProcess(command.replace(at, 2, vca), 120000);
        result.log = lastRunLog();
        return result;
    }

    void expectSessionStarted(const std::wstring& deployment, const std::wstring& dir) {
        const LauncherResult opened = openSession();
        EXPECT_EQ(0, opened.exitCode);
        const std::vector<JavawRecord> records = javawRecords(1);
        ASSERT_EQ(1u, records.size());
        EXPECT_NE(std::wstring::npos, records[0].commandLine.find(quoted(vca))) << utf8(records[0].commandLine);
        for (const std::wstring& line :
             {L"Detected " + deployment + L" deployment.", L"Executable path: " + dir, L"Launching " + vca, kCopyLine})
            EXPECT_TRUE(opened.logHas(line)) << utf8(line);
    }

    // The boxes shown include this one exactly once (the setup's own window is among them).
    void expectBox(const Box& box) {
        const std::vector<Box> boxes = robot.boxes();
        EXPECT_EQ(1, std::count(boxes.begin(), boxes.end(), box)) << utf8(box.text) << "\nboxes: " << boxes.size();
    }

    const std::wstring vca = session(L"session.vca");
};

TEST_F(InstallerTest, PerUserInstallOpensSessionsSurvivesARunningLauncherUpgradesAndUninstalls) {
    // An earlier installation's marker, and another program that opens session files.
    ASSERT_TRUE(regSetString(HKEY_CURRENT_USER, kLauncherRegistryKey, "NeedsEmbeddedUpdate", "0"));
    ASSERT_TRUE(regSetString(HKEY_CURRENT_USER, kVcaKey + "\\OpenWithProgids", "Other.Viewer", ""));
    ASSERT_EQ(setupDone, runSetup(L"/S"));
    const std::wstring dir = perUserDir();
    expectInstalledFiles(dir, {L"ConvocaSession.ico", L"Uninstall.exe"});
    expectRegistration(HKEY_CURRENT_USER, 0, dir);
    expectRegistration(HKEY_LOCAL_MACHINE, kMachineView, L"");
    EXPECT_TRUE(fileExists(shortcut(false)));
    EXPECT_EQ("<none>", userMarker()) << "removed, so that the next start refreshes";
    EXPECT_EQ("<none>", machineMarker());
    expectSessionStarted(L"per-user", dir);
    EXPECT_EQ("0", userMarker());
    EXPECT_EQ("0", regString(HKEY_CURRENT_USER, kLauncherRegistryKey, "NeedsEmbeddedUpdate", kOtherView))
        << "HKEY_CURRENT_USER\\Software is one key for both architectures";

    { // Another launcher's setup lock keeps one started from dir waiting, and in use.
        handles::File lock(CreateFileW((supportDirectory() + L"\\lock.lck").c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        ASSERT_TRUE(lock);
        handles::Process launcher = shellOpen(dir + L"\\ConvocaLauncher.exe");
        ASSERT_TRUE(launcher);
        const auto before = treeContents(dir, {kUpdateLibraryRecord});
        robot.clear();
        EXPECT_EQ(setupInUse, runSetup(L"/S"));
        EXPECT_EQ(setupInUse, runInPlaceUninstaller(dir, L" /S"));
        EXPECT_TRUE(robot.boxes().empty()) << "silent runs show nothing";
        // Interactively the user is told; the robot's answer cancels.
        EXPECT_EQ(setupInUse, runSetup(L""));
        const std::vector<Box> boxes = robot.boxes();
        const std::wstring file =
            std::any_of(boxes.begin(), boxes.end(),
                        [](const Box& b) { return b.text.find(L"\\WinSparkle.dll is in use.") != std::wstring::npos; })
                ? L"WinSparkle.dll"
                : L"ConvocaLauncher.exe";
        expectBox(
            {L"Tavisto Convoca Launcher " + kVersion + L" Setup",
             L"Tavisto Convoca Launcher is running from " + dir + L" and cannot be updated now: " + dir + L"\\" + file +
                 L" is in use.\r\n\r\nClose the Convoca Launcher settings window and wait until a session "
                 L"that is starting has started, then click Retry. Cancel leaves the installed version as it is."});
        EXPECT_TRUE(before == treeContents(dir, {kUpdateLibraryRecord})) << "a refused run changes nothing";
        expectRegistration(HKEY_CURRENT_USER, 0, dir);
        EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(launcher.get(), 0)) << "the launcher was in use throughout";
        TerminateProcess(launcher.get(), 99);
        WaitForSingleObject(launcher.get(), 10000);
    }

    // Once it has stopped, an upgrade replaces the runtime, and the next start refreshes the working copy.
    const std::wstring stale = L"\\Java\\jre1.7.0_40\\lib\\from-an-older-version.jar";
    ASSERT_TRUE(writeFile(dir + L"\\Resources" + stale, "old") && writeFile(embeddedDirectory() + stale, "old"));
    ASSERT_EQ(setupDone, runSetup(L"/S"));
    expectInstalledFiles(dir, {L"ConvocaSession.ico", L"Uninstall.exe"});
    EXPECT_EQ("<none>", userMarker());
    expectSessionStarted(L"per-user", dir);
    EXPECT_FALSE(fileExists(embeddedDirectory() + stale));

    // Run in place (no copy in the temporary folder), the uninstaller counts itself not in use; it tells what it keeps.
    DeleteFileW((dir + L"\\" + kUpdateLibraryRecord).c_str());
    robot.clear();
    EXPECT_EQ(0, runInPlaceUninstaller(dir, L""));
    expectBox({L"Tavisto Convoca Launcher " + kVersion + L" Uninstall",
               L"Tavisto Convoca Launcher has been removed. Your settings, logs and working copy of the Java runtime "
               L"were kept, in\r\n" +
                   supportDirectory() + L"\r\nand\r\n" + roamingSettingsDirectory() +
                   L"\r\nDelete these folders to remove them too."});
    EXPECT_EQ(std::vector<std::wstring>{L"Uninstall.exe"}, listFiles(dir)) << "all but the uninstaller itself";
    expectRegistration(HKEY_CURRENT_USER, 0, L"");
    EXPECT_EQ("", regString(HKEY_CURRENT_USER, kVcaKey + "\\OpenWithProgids", "Other.Viewer")) << "not ours";
    EXPECT_FALSE(fileExists(shortcut(false)));
    EXPECT_FALSE(listFiles(supportDirectory() + L"\\logs").empty()) << "the logs stay";
    EXPECT_TRUE(fileExists(javawRecordPath())) << "the working copy stays";
    EXPECT_EQ("0", userMarker());
}

TEST_F(InstallerTest, PerMachineInstallHonoursTheAdminFileUpgradesAndUninstalls) {
    ASSERT_EQ(setupDone, runSetup(L"/S /ALLUSERS"));
    const std::wstring dir = perMachineDir(), admin = dir + L"\\" + kAdminFile;
    expectInstalledFiles(dir, {kAdminFile, L"ConvocaSession.ico", L"Uninstall.exe"});
    EXPECT_EQ(readFile(CONVOCA_ADMIN_TEMPLATE_WIN), readFile(admin));
    expectRegistration(HKEY_LOCAL_MACHINE, kMachineView, dir);
    expectRegistration(HKEY_CURRENT_USER, 0, L"");
    EXPECT_TRUE(fileExists(shortcut(true)));
    const std::string first = machineMarker();
    EXPECT_EQ(0u, first.rfind(utf8(kVersion) + " {", 0)) << first;
    EXPECT_EQ("<none>", machineMarker(kOtherView)) << "the other view";
    expectSessionStarted(L"per-machine", dir);
    EXPECT_EQ(first, userMarker());
    EXPECT_FALSE(openSession().logHas(kCopyLine)) << "the second start finds the marker it wrote";

    // The administrator's edit: the installed file rules, and an upgrade keeps it.
    std::string edited = readFile(admin);
    const size_t at = edited.find("doNotLaunchVcaSession=false");
    ASSERT_NE(std::string::npos, at);
    ASSERT_TRUE(writeFile(admin, edited.replace(at, 27, "doNotLaunchVcaSession=true")));

    // Read-only is the administrator's protection, not a sign of a running launcher.
    ASSERT_TRUE(SetFileAttributesW(admin.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(writeFile(embeddedDirectory() + L"\\.stale", "x") && makeDirs(embeddedDirectory() + L"\\.dotted\\in") &&
                writeFile(embeddedDirectory() + L"\\.dotted\\in\\.x", "x"));
    ASSERT_EQ(setupDone, runSetup(L"/S /ALLUSERS"));
    EXPECT_EQ(edited, readFile(admin)) << "an upgrade keeps the administrator's file";
    const std::string second = machineMarker();
    EXPECT_NE(first, second);
    EXPECT_EQ(0u, second.rfind(utf8(kVersion) + " {", 0)) << second;
    const LauncherResult opened = openSession();
    EXPECT_EQ(0, opened.exitCode);
    EXPECT_TRUE(opened.logHas(kCopyLine)) << "the next start refreshes the working copy";
    EXPECT_FALSE(fileExists(embeddedDirectory() + L"\\.stale") || dirExists(embeddedDirectory() + L"\\.dotted"));
    EXPECT_EQ(second, userMarker());
    EXPECT_TRUE(javawRecords().empty()) << "fresh working copy, and still not started";

    // Quietly, as Add/Remove Programs does: it ends in a copy of itself, whose last step removes the launcher's key.
    ASSERT_EQ(0,
              runProcess(fromUtf8(regString(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString", kMachineView)),
                         120000));
    for (DWORD start = GetTickCount();
         (dirExists(dir) || regKeyExists(HKEY_LOCAL_MACHINE, kLauncherRegistryKey, kMachineView)) &&
         GetTickCount() - start < 60000;)
        Sleep(100);
    EXPECT_FALSE(dirExists(dir));
    expectRegistration(HKEY_LOCAL_MACHINE, kMachineView, L"");
    EXPECT_FALSE(fileExists(shortcut(true)));
    EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, kLauncherRegistryKey, kMachineView));
    EXPECT_FALSE(listFiles(supportDirectory() + L"\\logs").empty()) << "the logs stay";
}

TEST_F(InstallerTest, RefusesAFolderOfTheWrongKindAndTheOtherArchitecturesInstallationForAllUsers) {
    const std::wstring outside = L"C:\\ConvocaTests\\" + uniqueName(L"setup");
    const std::wstring inProfile = shellFolder(CSIDL_PROFILE) + L"\\" + uniqueName(L"setup");
    const struct {
        std::wstring arguments;
        long exit;
    } refused[] = {{L"/S /D=" + outside, setupWrongFolder},
                   {L"/S /ALLUSERS /D=" + inProfile, setupWrongFolder},
                   {L"/S /ALLUSERS /CURRENTUSER", setupUsage}};
    for (const auto& row : refused) EXPECT_EQ(row.exit, runSetup(row.arguments)) << utf8(row.arguments);
    // The other architecture's setup program installed for all users (its entry, in its view): a per-user
    // installation still suits.
    ASSERT_TRUE(regSetString(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation", "C:\\Other", kOtherView));
    robot.clear();
    EXPECT_EQ(setupOtherArch, runSetup(L"/ALLUSERS"));
    expectBox({L"Tavisto Convoca Launcher " + kVersion + L" Setup",
               L"Tavisto Convoca Launcher is installed for all users as the " + kOtherArch +
                   L" package, and the 32-bit and the 64-bit launcher do not share a computer: they would share each "
                   L"user's settings and working copy of the Java runtime.\r\n\r\nRemove that installation in "
                   L"Add/Remove Programs first, or update it with a newer " +
                   kOtherArch + L" package."});
    EXPECT_EQ(setupOtherArch, runSetup(L"/S /ALLUSERS"));
    for (const std::wstring& dir : {outside, inProfile, perUserDir(), perMachineDir()})
        EXPECT_FALSE(dirExists(dir)) << utf8(dir);
    expectRegistration(HKEY_CURRENT_USER, 0, L"");
    expectRegistration(HKEY_LOCAL_MACHINE, kMachineView, L"");
    EXPECT_EQ("<none>", machineMarker());
    // Any folder below the profile suits a per-user installation.
    EXPECT_EQ(setupDone, runSetup(L"/S /D=" + inProfile));
    expectRegistration(HKEY_CURRENT_USER, 0, inProfile);
    removeTree(inProfile);
}

} // namespace
