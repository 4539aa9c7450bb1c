// The Windows Installer package under Wine's msiexec, in a Wine prefix of its own: a silent installation with
// administrator settings, a session opened through the association, an upgrade, an administrator's file in another
// encoding, refused settings, the setup program beside it, and the removal.
#include "Installation.h"

namespace {

const std::wstring kMsi = CONVOCA_MSI_WIN, kNextMsi = CONVOCA_NEXT_MSI_WIN;
const std::string kVersion = utf8(CONVOCA_VERSION_W), kNextVersion = utf8(CONVOCA_NEXT_VERSION_W);
const std::string kUninstallRoot = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kSetupEntry = kUninstallRoot + "\\Tavisto Convoca Launcher"; // the setup program's
const wchar_t* const kAdminFile = L"ConvocaLauncherAdmin.properties";
enum : long { msiDone = 0, msiFailed = 1603, setupOverMsi = 7 };
const std::string kUtf16File("\xff\xfe#\0\xfc\0\r\0\n\0", 10); // as Windows PowerShell's ">" writes "#ü"

struct Setting {
    std::wstring property;
    std::string key;
    std::wstring value; // in the file as ISO 8859-1, one byte per character
};

struct MsiRun {
    long exitCode;
    std::string log;
};

MsiRun msiexec(const std::wstring& arguments) {
    TempDir dir;
    const std::wstring log = dir / L"msi.log";
    const long exitCode = runProcess(L"msiexec " + arguments + L" /qn /l*v " + quoted(log), 300000);
    return {exitCode, readFile(log)};
}

MsiRun install(const std::wstring& msi, const std::vector<Setting>& settings) {
    std::wstring arguments = L"/i " + quoted(msi);
    for (const Setting& s : settings) arguments += L" " + s.property + L"=" + quoted(s.value);
    return msiexec(arguments);
}

// The versions of this product's Add/Remove Programs entries.
std::vector<std::string> productEntries() {
    std::vector<std::string> versions;
    handles::RegKey root;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallRoot.c_str(), 0, KEY_READ | kMachineView, root.put());
    char name[256];
    DWORD size = sizeof name;
    for (DWORD i = 0; RegEnumKeyExA(root.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) == 0;
         ++i, size = sizeof name) {
        const std::string entry = kUninstallRoot + "\\" + name;
        if (regString(HKEY_LOCAL_MACHINE, entry, "DisplayName", kMachineView) == "Tavisto Convoca Launcher")
            versions.push_back(regString(HKEY_LOCAL_MACHINE, entry, "DisplayVersion", kMachineView));
    }
    return versions;
}

// The administrator's file with each setting's line set to its value.
std::string withSettings(std::string text, const std::vector<Setting>& settings) {
    for (const Setting& s : settings) {
        const size_t at = text.find("\n" + s.key + "=") + s.key.size() + 2;
        text.replace(at, text.find('\r', at) - at, std::string(s.value.begin(), s.value.end()));
    }
    return text;
}

size_t lineCount(const std::string& text, const std::string& line) {
    const std::vector<std::string> lines = splitLines(text);
    return std::count(lines.begin(), lines.end(), line);
}

// Nothing but the files left in the installation folder.
void expectNothingInstalled(const std::vector<std::wstring>& left = {}) {
    EXPECT_EQ(!left.empty(), dirExists(perMachineDir()));
    EXPECT_EQ(left, listFiles(perMachineDir()));
    for (const RegRow& row : association(perMachineDir()))
        EXPECT_EQ("<none>", regString(HKEY_LOCAL_MACHINE, row.subKey, row.name, kMachineView)) << row.subKey;
    EXPECT_FALSE(regKeyExists(HKEY_LOCAL_MACHINE, kProgIdKey, kMachineView));
    EXPECT_FALSE(fileExists(shortcut(true)) || fileExists(shortcut(false))) << "the utility window's shortcut";
    EXPECT_EQ("<none>", machineMarker());
    EXPECT_TRUE(productEntries().empty());
}

class MsiTest : public LauncherTest {
protected:
    void TearDown() override {
        for (const std::wstring& msi : {kNextMsi, kMsi}) msiexec(L"/x " + quoted(msi));
        regDeleteTree(HKEY_LOCAL_MACHINE, kSetupEntry, kMachineView);
        removeTree(perMachineDir());
        LauncherTest::TearDown();
    }

    // Opens the session file as a browser does: the deployment.properties written for it, and whether it refreshed.
    std::string openSession(bool refreshed) {
        DeleteFileW(javawRecordPath().c_str());
        EXPECT_EQ(0, shellOpenAndWait(vca));
        EXPECT_EQ(1u, javawRecords(1).size()) << "the stand-in Java was started";
        const std::vector<std::wstring> log = lastRunLog();
        EXPECT_EQ(refreshed, std::count(log.begin(), log.end(), kCopyLine) == 1);
        return readFile(workingJreHome() + L"\\lib\\deployment.properties");
    }

    const std::wstring vca = session(L"session.vca");
};

TEST_F(MsiTest, InstallsWithSettingsOpensSessionsUpgradesAndUninstalls) {
    const std::vector<Setting> given = {{L"PROXYSELECTION", "proxySelection", L"1"},
                                        {L"PROXYHTTPHOST", "httpProxyAddress", L"proxy.corp"},
                                        {L"PROXYHTTPPORT", "httpProxyPort", L"8080"},
                                        {L"PROXYBYPASSLIST", "doNotUseProxyServerAddressList", L"*.b\u00fccher.de"},
                                        {L"DONOTRUNUPDATER", "doNotRunUpdater", L"true"}};
    ASSERT_EQ(msiDone, install(kMsi, given).exitCode);
    const std::wstring dir = perMachineDir(), admin = dir + L"\\" + kAdminFile;
    expectInstalledFiles(dir, {kAdminFile, L"ConvocaSession.ico"});
    const std::string written = withSettings(readFile(CONVOCA_ADMIN_TEMPLATE_WIN), given);
    EXPECT_EQ(written, readFile(admin)) << "each given setting on its line, the rest the defaults";
    for (const RegRow& row : association(dir))
        EXPECT_EQ(row.value, regString(HKEY_LOCAL_MACHINE, row.subKey, row.name, kMachineView)) << row.subKey;
    EXPECT_EQ(0u, machineMarker().rfind(kVersion + " {", 0)) << machineMarker();
    EXPECT_EQ(std::vector<std::string>{kVersion}, productEntries());
    EXPECT_TRUE(fileExists(shortcut(true)) || fileExists(shortcut(false))) << "the utility window's shortcut";
    std::string deployment = openSession(true);
    openSession(false);
    for (const char* line : {"deployment.proxy.type=1", "deployment.proxy.http.host=proxy.corp",
                             "deployment.proxy.http.port=8080", "deployment.proxy.bypass.list=*.b\\u00fccher.de"})
        EXPECT_EQ(1u, lineCount(deployment, line)) << line;

    // Two installations for all users never share the folder.
    EXPECT_EQ(setupOverMsi, runProcess(quoted(CONVOCA_SETUP_EXE_WIN) + L" /S /ALLUSERS", 120000));
    EXPECT_FALSE(fileExists(dir + L"\\Uninstall.exe"));

    // The upgrade keeps the administrator's edit and changes what is given.
    const std::string edited = withSettings(written, {{L"", "proxyOverrideHostsList", L"intranet.corp"}});
    ASSERT_TRUE(writeFile(admin, edited));
    ASSERT_EQ(msiDone, install(kNextMsi, {{L"PROXYHTTPPORT", "httpProxyPort", L"3128"}}).exitCode);
    EXPECT_EQ(withSettings(edited, {{L"", "httpProxyPort", L"3128"}}), readFile(admin));
    EXPECT_EQ(0u, machineMarker().rfind(kNextVersion + " {", 0)) << machineMarker();
    EXPECT_EQ(std::vector<std::string>{kNextVersion}, productEntries());
    deployment = openSession(true);
    for (const char* line : {"deployment.proxy.http.port=3128", "deployment.proxy.override.hosts=intranet.corp"})
        EXPECT_EQ(1u, lineCount(deployment, line)) << line;

    // A file in another encoding is kept byte for byte.
    ASSERT_TRUE(writeFile(admin, kUtf16File));
    const MsiRun repair = msiexec(L"/i " + quoted(kNextMsi) + L" REINSTALL=ALL REINSTALLMODE=vomus");
    EXPECT_EQ(msiDone, repair.exitCode);
    EXPECT_NE(std::string::npos, repair.log.find("byte order mark; it is left as it is.")) << "the repair read it";
    EXPECT_EQ(kUtf16File, readFile(admin)) << "after a repair";

    // A removal is REMOVE=ALL in any case; it deletes the administrator's file.
    ASSERT_TRUE(writeFile(admin, edited));
    ASSERT_EQ(msiDone, msiexec(L"/i " + quoted(kNextMsi) + L" REMOVE=all").exitCode);
    expectNothingInstalled();
    EXPECT_FALSE(listFiles(supportDirectory() + L"\\logs").empty()) << "the logs stay";
    EXPECT_TRUE(fileExists(javawRecordPath())) << "the working copy stays";
}

TEST_F(MsiTest, RefusedSettingsAnUnreadableFileAndTheSetupProgramsInstallationLeaveNothing) {
    // An administrator's file placed beforehand, held open but for the last row: each value is refused unread.
    const std::wstring admin = perMachineDir() + L"\\" + kAdminFile;
    ASSERT_TRUE(makeDirs(perMachineDir()) && writeFile(admin, kUtf16File));
    handles::File held(CreateFileW(admin.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    const struct {
        std::wstring property;
        std::string log;
        bool held = true;
    } refused[] = {
        {L"PROXYHTTPPORT=65536",
         "PROXYHTTPPORT=\"65536\" is refused: httpProxyPort must be a port number from 0 to 65535."},
        {L"PROXYSOCKSPORT=0100",
         "PROXYSOCKSPORT=\"0100\" is refused: socksProxyPort must be a port number from 0 to 65535."},
        {L"PROXYSELECTION=4", "PROXYSELECTION=\"4\" is refused: proxySelection must be 0, 1, 2 or 3."},
        {L"DONOTRUNUPDATER=yes", "DONOTRUNUPDATER=\"yes\" is refused: doNotRunUpdater must be true or false."},
        {L"PROXYHTTPHOST=\"proxy.corp httpProxyPort=1\"",
         "PROXYHTTPHOST=\"proxy.corp httpProxyPort=1\" is refused: "
         "httpProxyAddress must not hold \"httpProxyPort=\", which starts a setting."},
        {L"PROXYSCRIPTURL=\"http://pac.corp/\tx\"",
         "PROXYSCRIPTURL=\"http://pac.corp/?x\" is refused: "
         "automaticProxyConfigScriptLocation must be a single line without control characters."},
        {L"PROXYBYPASSLIST=\"*.corp;\x0133.nl\"",
         "PROXYBYPASSLIST=\"*.corp;?.nl\" is refused: "
         "doNotUseProxyServerAddressList must hold only characters of ISO 8859-1 (Western European)."},
        {L"PROXYHTTPPORT=8080", "Cannot read " + utf8(admin) + " (error 32)."},
        {L"PROXYHTTPPORT=8080",
         utf8(admin) + " is not ISO 8859-1 text (it holds a zero byte or starts with a UTF-16 byte order mark), so "
                       "PROXYHTTPPORT cannot be set. Correct the file, then install again.",
         false}};
    for (const auto& row : refused) {
        if (!row.held) held.close();
        const MsiRun run = msiexec(L"/i " + quoted(kMsi) + L" " + row.property);
        EXPECT_EQ(msiFailed, run.exitCode) << utf8(row.property);
        EXPECT_NE(std::string::npos, run.log.find(row.log + " Nothing has been changed.")) << row.log;
        expectNothingInstalled({kAdminFile});
    }
    EXPECT_EQ(kUtf16File, readFile(admin));

    // The setup program's installation for all users, of this architecture and of the other.
    const std::string setupDir = "C:\\Program Files\\Tavisto Convoca Launcher";
    std::string log;
    for (const REGSAM view : {kMachineView, kOtherView}) {
        ASSERT_TRUE(regSetString(HKEY_LOCAL_MACHINE, kSetupEntry, "InstallLocation", setupDir, view));
        const MsiRun run = msiexec(L"/i " + quoted(kMsi));
        EXPECT_EQ(msiFailed, run.exitCode) << view;
        expectNothingInstalled({kAdminFile});
        regDeleteTree(HKEY_LOCAL_MACHINE, kSetupEntry, view);
        log += run.log;
    }
    if (log.find("Tavisto Convoca Launcher is installed") == std::string::npos)
        GTEST_SKIP() << "Wine's msiexec does not log the message of a failed launch condition (Windows does)";
    for (const std::string& message :
         {"by its setup program, in " + setupDir + ". Remove that installation in Add/Remove Programs, then",
          "as the " + utf8(kOtherArch) + " package. The 32-bit and the 64-bit launcher do not share a computer."})
        EXPECT_NE(std::string::npos, log.find("Tavisto Convoca Launcher is installed for all users " + message));
}

} // namespace
