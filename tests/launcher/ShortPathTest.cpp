// A user whose folders are named outside the ANSI code page ("Łódź", "Пользователь" on a Western system): Java and
// the utility window get short ASCII forms naming the same files, while the deployment files keep the long forms.
#include "SessionFixture.h"
#include "launcher/SessionMode.h"
#include "logging/Logger.h"

#include <set>

namespace {

const wchar_t kUserShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const std::wstring kLocal = L"C:\\\u0141\u00f3d\u017a",
                   kRoaming = L"C:\\\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c";

// Points one of the user's shell folders at another folder while it lives.
struct ShellFolderRedirect {
    ShellFolderRedirect(const wchar_t* name, const std::wstring& folder) : name(name), folder(folder) {
        DWORD size = sizeof old;
        had = RegGetValueW(HKEY_CURRENT_USER, kUserShellFolders, name,
                           RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, old, &size) == ERROR_SUCCESS;
        makeDirs(folder);
        set(REG_EXPAND_SZ, folder.c_str());
    }
    ~ShellFolderRedirect() {
        had ? set(type, old) : void(RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserShellFolders, name));
        removeTree(folder);
    }
    void set(DWORD valueType, const wchar_t* value) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kUserShellFolders, name, valueType, value,
                        static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    }
    const wchar_t* name;
    std::wstring folder;
    wchar_t old[MAX_PATH] = {};
    DWORD type = REG_EXPAND_SZ;
    bool had = false;
};

// The long form of a path, also of one that does not exist yet.
std::wstring longForm(const std::wstring& path) {
    wchar_t buffer[MAX_PATH] = {};
    if (GetLongPathNameW(path.c_str(), buffer, MAX_PATH)) return buffer;
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : longForm(path.substr(0, slash)) + path.substr(slash);
}

// The long forms of the texts between `open` and `close` in an all-ASCII text.
std::vector<std::wstring> namedPaths(const std::wstring& text, wchar_t open = L'"', wchar_t close = L'"') {
    for (wchar_t c : text) EXPECT_LT(c, 0x80) << utf8(text);
    std::vector<std::wstring> paths;
    for (size_t at = text.find(open), end; at != std::wstring::npos; at = text.find(open, end + 1)) {
        end = text.find(close, at + 1);
        if (end == std::wstring::npos) break;
        paths.push_back(longForm(text.substr(at + 1, end - at - 1)));
    }
    return paths;
}

class ShortPathTest : public LauncherTest {
protected:
    void SetUp() override {
        if (GetACP() == CP_UTF8) GTEST_SKIP() << "the ANSI code page is UTF-8 here";
        LauncherTest::SetUp();
    }
    ShellFolderRedirect local{L"Local AppData", kLocal + L"\\Local"};
    ShellFolderRedirect roaming{L"AppData", kRoaming + L"\\Roaming"};
};

TEST_F(ShortPathTest, JavaAndTheUtilityWindowGetShortAsciiPathsThatNameTheRightFiles) {
    LauncherInstall install(InstallKind::perMachine);
    const std::wstring vca = kLocal + L"\\\u4f1a\u8bae.vca", jre = workingJreHome(), S = supportDirectory();
    ASSERT_TRUE(writeFile(vca, sessionXml()));
    LauncherResult r = run(install, {vca});
    ASSERT_EQ(0, r.exitCode) << (r.boxes.empty() ? "" : utf8(r.boxes[0].text));
    const std::vector<JavawRecord> records = javawRecords(1);
    ASSERT_EQ(1u, records.size());
    std::wstring passed = records[0].commandLine;
    for (const auto& variable : records[0].environment) passed += L" " + variable.second;
    const std::vector<std::wstring> named = namedPaths(passed);
    EXPECT_EQ(
        (std::set<std::wstring>{jre, jre + L"\\bin", jre + L"\\bin\\javaw.exe", jre + L"\\lib\\deploy.jar",
                                jre + L"\\lib\\javaws.jar", jre + L"\\lib\\plugin.jar", jre + L"\\lib\\ext",
                                jre + L"\\lib\\security\\javaws.policy", S + L"\\deployment", S + L"\\Temp", vca}),
        std::set<std::wstring>(named.begin(), named.end()));
    // Java reads the long forms in its deployment files, which take any character.
    EXPECT_NE(std::string::npos, readFile(jre + L"\\lib\\deployment.config")
                                     .find("file:///C:/%C5%81%C3%B3d%C5%BA/Local/Tavisto/Tavisto%20Convoca%20Launcher/"
                                           "embedded/Java/jre1.7.0_40"));

    r = run(install, {});
    ASSERT_EQ(0, r.exitCode);
    const std::vector<std::string> record = splitLines(readFile(jre + L"\\bin\\java.record.txt"));
    ASSERT_GE(record.size(), 2u);
    // "args: [-classpath] [jar] [main] [-settings] [file] [-cache] [folder] [-version] [1.5.0.0] [-admin]" after the command line
    const std::vector<std::wstring> values = namedPaths(fromUtf8(record[0] + record[1]), L'[', L']');
    ASSERT_EQ(10u, values.size()) << record[1];
    EXPECT_EQ(roamingSettingsDirectory() + L"\\ConvocaLauncherUser.properties", values[4]) << "a file not made yet";
    EXPECT_EQ(S + L"\\vcaLauncherCache", values[6]);
}

struct NoShortNames : ShortPathSource {
    std::wstring shortForm(const std::wstring&) const override { return L""; }
};

// Notes, at its first release, how many boxes had been shown and the log's last line.
struct RecordingLock : HeldLock {
    explicit RecordingLock(const BoxRobot& robot) : robot(robot) {}
    void release() override {
        if (releases++ == 0)
            boxesBefore = robot.boxes().size(), lastLine = logMessages(tvs::Logger::currentLogPath()).back();
    }
    const BoxRobot& robot;
    int releases = 0;
    size_t boxesBefore = 0;
    std::wstring lastLine;
};

// The setup lock goes before any box (the locale message without short names, after which the exit sequence is
// skipped; an invalid session file), and otherwise once Java has been started, right after the launch banner.
TEST_F(ShortPathTest, TheSessionModeReleasesTheSetupLockBeforeItsBoxOrOnceJavaIsStarted) {
    LauncherInstall install(InstallKind::perMachine);
    const std::wstring vca = kLocal + L"\\\u4f1a\u8bae.vca";
    LauncherPaths paths;
    paths.arguments = {install.exe(), vca};
    paths.executableDirectory = install.directory();
    paths.supportDirectory = supportDirectory();
    paths.embeddedJreHome = install.path(L"Resources\\Java\\jre1.7.0_40");
    paths.userPropertiesPath = paths.adminPropertiesPath = install.path(L"ConvocaLauncherAdmin.properties");
    paths.cacheDirectory = supportDirectory() + L"\\vcaLauncherCache";
    const NoShortNames none;
    const struct {
        const ShortPathSource& shortPaths;
        std::string codebase;
        int status;
        std::wstring box; // its beginning; none when empty
    } rows[] = {
        {none, "https://meet.convoca.com/", 1113, L"Tavisto Convoca Launcher cannot launch Java Virtual Machine."},
        {systemShortPaths(), "https://evil.example/", -1, L"There is a problem with the .vca file"},
        {systemShortPaths(), "https://meet.convoca.com/", 0, L""}};
    for (const auto& row : rows) {
        ASSERT_TRUE(writeFile(vca, sessionXml(row.codebase)));
        robot.clear();
        SettingsFiles settings(paths.userPropertiesPath, paths.adminPropertiesPath);
        RecordingLock lock(robot);
        ASSERT_TRUE(tvs::Logger::initialize().started);
        const SessionOutcome outcome =
            runSessionMode(paths, StartupSwitches(), settings, lock, nullptr, row.shortPaths);
        tvs::Logger::shutdown();
        EXPECT_EQ(row.status, outcome.status);
        EXPECT_EQ(row.status == 1113, outcome.bypassExitSequence);
        EXPECT_TRUE(lock.releases > 0 && lock.boxesBefore == 0) << row.status;
        const std::vector<Box> boxes = robot.boxes();
        EXPECT_TRUE(row.box.empty() ? boxes.empty() : boxes.size() == 1 && boxes[0].text.rfind(row.box, 0) == 0);
        EXPECT_TRUE(!row.box.empty() || lock.lastLine == std::wstring(64, L'=')) << "released after the banner";
    }
    Sleep(1000); // the started stand-in, before its install goes
}

} // namespace
