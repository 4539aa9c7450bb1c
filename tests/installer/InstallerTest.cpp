// The setup program and its uninstaller, run silently and interactively under
// Wine: where they install, what they register, how the installed launcher
// then behaves, and what an upgrade and an uninstall leave behind.
#include "InstallerSupport.h"
#include "SessionFixture.h"

#include <shlobj.h>
#include <algorithm>

namespace {

const std::wstring kVersion = CONVOCA_VERSION_W;
const std::wstring kCopyLine = L"Performing one time copy of Resources to Embedded.";
const wchar_t* const kAdminFile = L"ConvocaLauncherAdmin.properties";

std::string userMarker() { return regString(HKEY_CURRENT_USER, kLauncherRegistryKey, kMarkerValue); }

std::string machineMarker(REGSAM view = kMachineView) {
    return regString(HKEY_LOCAL_MACHINE, kLauncherRegistryKey, kMarkerValue, view);
}

std::string classes(const std::string& subKey) { return "Software\\Classes\\" + subKey; }

std::wstring quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// The stand-in update library records its calls beside itself.
const wchar_t* const kUpdateLibraryRecord = L"WinSparkle.record.txt";

// The package's files, each with the package's content, and the extra files
// of an installation, nothing else.
void expectInstalledFiles(const std::wstring& dir, std::vector<std::wstring> extra) {
    std::vector<std::wstring> expected = packageFiles();
    ASSERT_FALSE(expected.empty());
    expected.insert(expected.end(), extra.begin(), extra.end());
    std::sort(expected.begin(), expected.end());
    std::vector<std::wstring> installed = listFiles(dir);
    installed.erase(std::remove(installed.begin(), installed.end(), kUpdateLibraryRecord), installed.end());
    EXPECT_EQ(expected, installed);
    for (const std::wstring& file : packageFiles())
        EXPECT_TRUE(readFile(packageDirectory() + L"\\" + file) == readFile(dir + L"\\" + file))
            << utf8(file) << " differs from the package";
}

void expectAssociation(HKEY root, REGSAM view, const std::wstring& dir) {
    EXPECT_EQ(kProgId, regString(root, classes(".vca"), "", view));
    EXPECT_EQ("application/x-java-jnlp-file", regString(root, classes(".vca"), "Content Type", view));
    const std::string progId = classes(kProgId);
    EXPECT_EQ("Convoca Session", regString(root, progId, "", view));
    EXPECT_EQ(utf8(dir) + "\\ConvocaSession.ico,0", regString(root, progId + "\\DefaultIcon", "", view));
    EXPECT_TRUE(fileExists(dir + L"\\ConvocaSession.ico"));
    EXPECT_EQ("\"" + utf8(dir) + "\\ConvocaLauncher.exe\" \"%1\"",
              regString(root, progId + "\\shell\\open\\command", "", view));
}

void expectNoAssociation(HKEY root, REGSAM view) {
    EXPECT_FALSE(regKeyExists(root, classes(kProgId), view));
    EXPECT_EQ("", regString(root, classes(".vca"), "", view));
    EXPECT_EQ("", regString(root, classes(".vca"), "Content Type", view));
}

void expectUninstallEntry(HKEY root, REGSAM view, const std::wstring& dir) {
    EXPECT_EQ("Tavisto Convoca Launcher", regString(root, kUninstallKey, "DisplayName", view));
    EXPECT_EQ(utf8(kVersion), regString(root, kUninstallKey, "DisplayVersion", view));
    EXPECT_EQ("Tavisto", regString(root, kUninstallKey, "Publisher", view));
    EXPECT_EQ(utf8(dir), regString(root, kUninstallKey, "InstallLocation", view));
    EXPECT_EQ("\"" + utf8(dir) + "\\Uninstall.exe\"", regString(root, kUninstallKey, "UninstallString", view));
    EXPECT_EQ("\"" + utf8(dir) + "\\Uninstall.exe\" /S",
              regString(root, kUninstallKey, "QuietUninstallString", view));
    // The size in KiB: the installed files rounded, within a KiB per file.
    unsigned long long bytes = 0;
    std::vector<std::wstring> files = listFiles(dir);
    for (const std::wstring& file : files) bytes += readFile(dir + L"\\" + file).size();
    DWORD size = 0;
    ASSERT_TRUE(regGetDword(root, kUninstallKey, "EstimatedSize", size, view));
    EXPECT_LE(bytes / 1024, size);
    EXPECT_GE(bytes / 1024 + files.size() + 1, size);
}

using Tree = std::vector<std::pair<std::wstring, std::string>>;

// The files added, removed or changed between two snapshots of a tree, as
// text for a failure message; empty when they are equal.
std::string treeChanges(const Tree& before, const Tree& after) {
    std::string changes;
    for (const auto& file : before) {
        auto now = std::find_if(after.begin(), after.end(), [&](const auto& f) { return f.first == file.first; });
        if (now == after.end()) changes += " removed " + utf8(file.first);
        else if (now->second != file.second) changes += " changed " + utf8(file.first);
    }
    for (const auto& file : after) {
        if (std::none_of(before.begin(), before.end(), [&](const auto& f) { return f.first == file.first; }))
            changes += " added " + utf8(file.first);
    }
    return changes;
}

class SessionFile {
public:
    SessionFile() { writeFile(m_path, sessionXml()); }
    const std::wstring& path() const { return m_path; }

private:
    TempDir m_downloads;
    std::wstring m_path = m_downloads / L"session.vca";
};

// Opens the session file as a browser does, through the registration under
// root: the exit code, with the log of that run. Wine 8's shell reads only
// HKEY_LOCAL_MACHINE's classes; where it cannot see a per-user registration,
// that registration's open command is run as the shell would run it.
long openSession(const SessionFile& session, HKEY root, std::vector<std::wstring>& log) {
    removeTree(supportDirectory() + L"\\logs");
    long code = root == HKEY_LOCAL_MACHINE || shellSeesSessionFiles()
                    ? openWithShell(session.path())
                    : runRegisteredOpenCommand(root, 0, session.path());
    log = lastRunLog();
    return code;
}

bool has(const std::vector<std::wstring>& log, const std::wstring& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
}

// ---------------------------------------------------------------------------

TEST_F(InstallerTest, SilentPerUserInstallRegistersSessionFilesForTheUser) {
    // The marker of an earlier installation's working copy.
    ASSERT_TRUE(regSetString(HKEY_CURRENT_USER, kLauncherRegistryKey, kMarkerValue, "0"));

    ASSERT_EQ(setupDone, runSetup(L"/S"));

    const std::wstring dir = perUserInstallDirectory();
    expectInstalledFiles(dir, {L"ConvocaSession.ico", L"Uninstall.exe"});
    expectAssociation(HKEY_CURRENT_USER, 0, dir);
    expectUninstallEntry(HKEY_CURRENT_USER, 0, dir);
    EXPECT_TRUE(fileExists(startMenuShortcut(false)));
    std::string marker;
    EXPECT_FALSE(regGetString(HKEY_CURRENT_USER, kLauncherRegistryKey, kMarkerValue, marker))
        << "the per-user marker is removed so that the next start refreshes; it holds " << marker;
    EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, kMachineView));
    EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, classes(kProgId), kMachineView));
    EXPECT_EQ("", machineMarker());
}

void expectPerUserSessionStarted(long exitCode, const std::vector<std::wstring>& log,
                                 const SessionFile& session) {
    EXPECT_EQ(0, exitCode);
    std::vector<JavawRecord> records = javawRecords(1);
    ASSERT_EQ(1u, records.size());
    EXPECT_NE(std::wstring::npos, records[0].commandLine.find(L"\"" + session.path() + L"\""))
        << utf8(records[0].commandLine);
    EXPECT_TRUE(has(log, L"Detected per-user deployment."));
    EXPECT_TRUE(has(log, L"Executable path: " + perUserInstallDirectory()));
    EXPECT_TRUE(has(log, L"Launching " + session.path()));
    EXPECT_TRUE(has(log, kCopyLine));
    EXPECT_EQ("0", userMarker());
}

TEST_F(InstallerTest, RegisteredOpenCommandStartsThePerUserLauncher) {
    ASSERT_EQ(setupDone, runSetup(L"/S"));
    SessionFile session;
    removeTree(supportDirectory() + L"\\logs");
    long code = runRegisteredOpenCommand(HKEY_CURRENT_USER, 0, session.path());
    expectPerUserSessionStarted(code, lastRunLog(), session);
}

TEST_F(InstallerTest, SessionFileOpenedThroughTheShellStartsThePerUserLauncher) {
    ASSERT_EQ(setupDone, runSetup(L"/S"));
    if (!shellSeesSessionFiles())
        GTEST_SKIP() << "Wine 8 does not merge HKEY_CURRENT_USER\\Software\\Classes into "
                        "HKEY_CLASSES_ROOT, so its shell cannot see a per-user registration; "
                        "Windows does";
    SessionFile session;
    removeTree(supportDirectory() + L"\\logs");
    long code = openWithShell(session.path());
    expectPerUserSessionStarted(code, lastRunLog(), session);
}

TEST_F(InstallerTest, PerUserUpgradeReplacesTheRuntimeAndRefreshesTheWorkingCopy) {
    ASSERT_EQ(setupDone, runSetup(L"/S"));
    const std::wstring dir = perUserInstallDirectory();
    SessionFile session;
    std::vector<std::wstring> log;
    ASSERT_EQ(0, openSession(session, HKEY_CURRENT_USER, log));
    ASSERT_EQ("0", userMarker());
    const std::wstring stale = L"Resources\\Java\\jre1.7.0_40\\lib\\from-an-older-version.jar";
    ASSERT_TRUE(writeFile(dir + L"\\" + stale, "old"));
    ASSERT_TRUE(writeFile(embeddedDirectory() + L"\\Java\\jre1.7.0_40\\lib\\from-an-older-version.jar", "old"));

    ASSERT_EQ(setupDone, runSetup(L"/S"));
    expectInstalledFiles(dir, {L"ConvocaSession.ico", L"Uninstall.exe"});
    EXPECT_EQ("", userMarker());

    ASSERT_EQ(0, openSession(session, HKEY_CURRENT_USER, log));
    EXPECT_TRUE(has(log, kCopyLine));
    EXPECT_EQ("0", userMarker());
    EXPECT_FALSE(fileExists(embeddedDirectory() + L"\\Java\\jre1.7.0_40\\lib\\from-an-older-version.jar"));
    EXPECT_EQ(1u, javawRecords(1).size()) << "the refreshed working copy started the session";
}

TEST_F(InstallerTest, SilentPerMachineInstallUpgradeKeepsTheAdminFileAndChangesTheMarker) {
    ASSERT_EQ(setupDone, runSetup(L"/S /ALLUSERS"));

    const std::wstring dir = perMachineInstallDirectory();
    const std::wstring admin = dir + L"\\" + kAdminFile;
    expectInstalledFiles(dir, {kAdminFile, L"ConvocaSession.ico", L"Uninstall.exe"});
    EXPECT_EQ(readFile(shippedAdminFile()), readFile(admin));
    expectAssociation(HKEY_LOCAL_MACHINE, kMachineView, dir);
    expectUninstallEntry(HKEY_LOCAL_MACHINE, kMachineView, dir);
    EXPECT_TRUE(fileExists(startMenuShortcut(true)));
    EXPECT_FALSE(regKeyExists(HKEY_CURRENT_USER, classes(kProgId)));
    EXPECT_FALSE(regKeyExists(HKEY_CURRENT_USER, kUninstallKey));
    const std::string first = machineMarker();
    EXPECT_EQ(0u, first.rfind(utf8(kVersion) + " {", 0)) << first;
    EXPECT_EQ("", machineMarker(kMachineView == KEY_WOW64_64KEY ? KEY_WOW64_32KEY : KEY_WOW64_64KEY))
        << "the marker belongs in the view that the launcher reads";

    SessionFile session;
    std::vector<std::wstring> log;
    EXPECT_EQ(0, openSession(session, HKEY_LOCAL_MACHINE, log));
    EXPECT_TRUE(has(log, L"Detected per-machine deployment."));
    EXPECT_TRUE(has(log, L"Executable path: " + dir));
    EXPECT_TRUE(has(log, kCopyLine));
    EXPECT_EQ(1u, javawRecords(1).size());
    EXPECT_EQ(first, userMarker());

    // The administrator's file rules: the session is prepared but not started.
    std::string edited = readFile(admin);
    size_t at = edited.find("doNotLaunchVcaSession=false");
    ASSERT_NE(std::string::npos, at);
    edited.replace(at, 27, "doNotLaunchVcaSession=true");
    ASSERT_TRUE(writeFile(admin, edited));
    EXPECT_EQ(0, openSession(session, HKEY_LOCAL_MACHINE, log));
    EXPECT_TRUE(has(log, L"Launching " + session.path()));
    EXPECT_FALSE(has(log, kCopyLine));
    EXPECT_EQ(1u, javawRecords().size()) << "Java must not have been started again";

    // Protected by its administrator: no reason to refuse the upgrade.
    ASSERT_TRUE(SetFileAttributesW(admin.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_EQ(setupDone, runSetup(L"/S /ALLUSERS"));
    EXPECT_EQ(edited, readFile(admin)) << "an upgrade keeps the administrator's file";
    const std::string second = machineMarker();
    EXPECT_NE(first, second);
    EXPECT_EQ(0u, second.rfind(utf8(kVersion) + " {", 0)) << second;

    // The next start of each user refreshes the working copy.
    EXPECT_EQ(0, openSession(session, HKEY_LOCAL_MACHINE, log));
    EXPECT_TRUE(has(log, kCopyLine));
    EXPECT_EQ(second, userMarker());
    EXPECT_TRUE(javawRecords().empty()) << "fresh working copy, and still not started";
}

TEST_F(InstallerTest, InstallationFolderMustSuitTheKindOfInstallation) {
    const std::wstring outside = L"C:\\ConvocaTests\\" + uniqueName(L"setup");
    EXPECT_EQ(setupWrongFolder, runSetup(L"/S /D=" + outside));
    EXPECT_FALSE(dirExists(outside));
    EXPECT_FALSE(regKeyExists(HKEY_CURRENT_USER, kUninstallKey));
    EXPECT_FALSE(regKeyExists(HKEY_CURRENT_USER, classes(kProgId)));

    const std::wstring inProfile = shellFolder(CSIDL_PROFILE) + L"\\" + uniqueName(L"setup");
    EXPECT_EQ(setupWrongFolder, runSetup(L"/S /ALLUSERS /D=" + inProfile));
    EXPECT_FALSE(dirExists(inProfile));
    EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, kMachineView));
    EXPECT_EQ("", machineMarker());

    EXPECT_EQ(setupUsage, runSetup(L"/S /ALLUSERS /CURRENTUSER"));
    EXPECT_FALSE(dirExists(perMachineInstallDirectory()));
    EXPECT_FALSE(dirExists(perUserInstallDirectory()));

    // Any folder below the profile suits a per-user installation.
    EXPECT_EQ(setupDone, runSetup(L"/S /D=" + inProfile));
    expectAssociation(HKEY_CURRENT_USER, 0, inProfile);
    expectUninstallEntry(HKEY_CURRENT_USER, 0, inProfile);
    removeTree(inProfile);
}

TEST_F(InstallerTest, PerUserUninstallRemovesProgramAndRegistrationAndKeepsUserData) {
    // Another program that can open session files too.
    ASSERT_TRUE(regSetString(HKEY_CURRENT_USER, classes(".vca\\OpenWithProgids"), "Other.Viewer", ""));
    ASSERT_EQ(setupDone, runSetup(L"/S"));
    SessionFile session;
    std::vector<std::wstring> log;
    ASSERT_EQ(0, openSession(session, HKEY_CURRENT_USER, log));
    ASSERT_EQ(1u, javawRecords(1).size());
    const std::wstring dir = perUserInstallDirectory();
    // Not the real library's habit; a file that setup did not install would
    // rightly keep the folder.
    DeleteFileW((dir + L"\\" + kUpdateLibraryRecord).c_str());

    ASSERT_TRUE(runQuietUninstall(HKEY_CURRENT_USER));

    EXPECT_FALSE(dirExists(dir));
    expectNoAssociation(HKEY_CURRENT_USER, 0);
    std::string value;
    EXPECT_FALSE(regGetString(HKEY_CURRENT_USER, classes(".vca\\OpenWithProgids"), kProgId, value));
    EXPECT_TRUE(regGetString(HKEY_CURRENT_USER, classes(".vca\\OpenWithProgids"), "Other.Viewer", value))
        << "another program's registration stays";
    EXPECT_FALSE(fileExists(startMenuShortcut(false)));
    EXPECT_FALSE(listFiles(supportDirectory() + L"\\logs").empty()) << "the logs stay";
    EXPECT_TRUE(fileExists(javawRecordPath())) << "the working copy stays";
    EXPECT_EQ("0", userMarker());
}

TEST_F(InstallerTest, PerMachineUninstallRemovesProgramRegistrationAndMarker) {
    ASSERT_EQ(setupDone, runSetup(L"/S /ALLUSERS"));
    const std::wstring dir = perMachineInstallDirectory();
    ASSERT_TRUE(SetFileAttributesW((dir + L"\\" + kAdminFile).c_str(), FILE_ATTRIBUTE_READONLY));

    ASSERT_TRUE(runQuietUninstall(HKEY_LOCAL_MACHINE, kMachineView));

    EXPECT_FALSE(dirExists(dir));
    expectNoAssociation(HKEY_LOCAL_MACHINE, kMachineView);
    EXPECT_FALSE(fileExists(startMenuShortcut(true)));
    EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, kLauncherRegistryKey, kMachineView));
}

TEST_F(InstallerTest, UninstallerTellsThatTheUserDataIsKept) {
    ASSERT_EQ(setupDone, runSetup(L"/S"));
    const std::wstring dir = perUserInstallDirectory();
    robot.clear();

    // Run in place (no copy in the temporary folder), so that its end is seen.
    EXPECT_EQ(0, runProcess(quoted(dir + L"\\Uninstall.exe") + L" _?=" + dir, 120000));

    const std::wstring text =
        L"Tavisto Convoca Launcher has been removed. Your settings, logs and working copy of the "
        L"Java runtime were kept, in\r\n" +
        shellFolder(CSIDL_LOCAL_APPDATA) + L"\\Tavisto\\Tavisto Convoca Launcher\r\nand\r\n" +
        shellFolder(CSIDL_APPDATA) + L"\\Tavisto\\Tavisto Convoca Launcher\r\n" +
        L"Delete these folders to remove them too.";
    const Box expected{L"Tavisto Convoca Launcher " + kVersion + L" Uninstall", text};
    std::vector<Box> boxes = robot.boxes();
    EXPECT_NE(boxes.end(), std::find(boxes.begin(), boxes.end(), expected))
        << "boxes: " << boxes.size() << (boxes.empty() ? "" : ", last: " + utf8(boxes.back().text));
    EXPECT_FALSE(fileExists(dir + L"\\ConvocaLauncher.exe"));
    EXPECT_FALSE(regKeyExists(HKEY_CURRENT_USER, kUninstallKey));
}

TEST_F(InstallerTest, RunningLauncherIsNotReplacedOrRemoved) {
    ASSERT_EQ(setupDone, runSetup(L"/S"));
    const std::wstring dir = perUserInstallDirectory();

    // Another launcher's setup lock keeps this one waiting, running from dir.
    ASSERT_TRUE(makeDirs(supportDirectory()));
    handles::File lock(CreateFileW((supportDirectory() + L"\\lock.lck").c_str(),
                                   GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    RunningProcess launcher(quoted(dir + L"\\ConvocaLauncher.exe"));
    Sleep(2000);
    ASSERT_TRUE(launcher.running());
    const Tree before = treeContents(dir, {});

    EXPECT_EQ(setupInUse, runSetup(L"/S"));
    EXPECT_EQ("", treeChanges(before, treeContents(dir, {}))) << "a failed update changes nothing";

    EXPECT_EQ(setupInUse, runProcess(quoted(dir + L"\\Uninstall.exe") + L" /S _?=" + dir, 120000));
    EXPECT_EQ("", treeChanges(before, treeContents(dir, {}))) << "a failed uninstall removes nothing";
    EXPECT_TRUE(regKeyExists(HKEY_CURRENT_USER, kUninstallKey));

    // Interactively the user is told; the robot's answer cancels.
    robot.clear();
    EXPECT_EQ(setupInUse, runSetup(L""));
    const std::wstring advice =
        L" is in use.\r\n\r\nClose the Convoca Launcher settings window and wait until a session "
        L"that is starting has started, then click Retry. Cancel leaves the installed version as it is.";
    const std::wstring start = L"Tavisto Convoca Launcher is running from " + dir +
                               L" and cannot be updated now: " + dir + L"\\";
    std::vector<Box> boxes = robot.boxes();
    auto box = std::find_if(boxes.begin(), boxes.end(), [&](const Box& b) {
        return b.text == start + L"ConvocaLauncher.exe" + advice || b.text == start + L"WinSparkle.dll" + advice;
    });
    EXPECT_NE(boxes.end(), box) << "boxes: " << boxes.size()
                                << (boxes.empty() ? "" : ", last: " + utf8(boxes.back().text));
    if (box != boxes.end()) {
        EXPECT_EQ(L"Tavisto Convoca Launcher " + kVersion + L" Setup", box->title);
    }
    EXPECT_EQ("", treeChanges(before, treeContents(dir, {})));

    launcher.kill();
    lock.reset();
    EXPECT_EQ(setupDone, runSetup(L"/S"));
    expectInstalledFiles(dir, {L"ConvocaSession.ico", L"Uninstall.exe"});
}

} // namespace
