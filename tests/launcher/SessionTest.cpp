// Opening a session file with the real launcher: the Java command line and
// environment as the stand-in javaw.exe received them, the argument choice,
// the switches and the failure boxes.
#include "SessionFixture.h"

#include <shellapi.h>

#include <algorithm>

namespace {

const std::wstring kInvalidBox =
    L"There is a problem with the .vca file used to open your session or recording. It may be "
    L"damaged or may be from an invalid source. Please open the link in your browser again to "
    L"download the .vca file again. If the problem persists, contact your system administrator or "
    L"Tavisto Convoca Technical Support.";
const std::wstring kNoVcaBox = L"No '.vca' file found in argument list. Launch aborted.";

class SessionTest : public LauncherTest {
protected:
    TempDir files;
    std::wstring session(const std::wstring& name, const std::string& xml = sessionXml()) {
        std::wstring path = files / name;
        EXPECT_TRUE(writeFile(path, xml));
        return path;
    }
};

std::wstring q(const std::wstring& s) { return L"\"" + s + L"\""; }

TEST_F(SessionTest, LaunchesJavaWebStartWithTheWholeCommandLineAndEnvironment) {
    LauncherInstall install(Deployment::perMachine);
    const std::wstring vca = session(L"meeting.vca");
    LauncherResult r = run(install, {vca});
    ASSERT_EQ(0, r.exitCode) << (r.boxes.empty() ? "" : utf8(r.boxes[0].text));
    EXPECT_TRUE(r.boxes.empty());

    const std::wstring J = workingJreHome(), S = supportDirectory();
    const std::wstring options = L"-Djava.library.path= -Djava.ext.dirs=" + q(J + L"\\lib\\ext") +
                                 L" -Djava.io.tmpdir=" + q(S + L"\\Temp") +
                                 L" -Djava.security.policy=" +
                                 q(J + L"\\lib\\security\\javaws.policy");
    const std::wstring expected =
        q(J + L"\\bin\\javaw.exe") + L" -classpath  " + q(J + L"\\lib\\deploy.jar") +
        L" -Xbootclasspath/a:" + q(J + L"\\lib\\javaws.jar") + L";" + q(J + L"\\lib\\deploy.jar") +
        L";" + q(J + L"\\lib\\plugin.jar") +
        L" -Xms512m -Xmx512m -Xincgc -Xverify:remote -DtrustProxy=true -Djavaplugin.user.profile=" +
        q(S + L"\\deployment") + L" -Dsun.awt.warmup=true -Djnlpx.home=" + q(J + L"\\bin") +
        L" -Djnlpx.jvm=" + q(J + L"\\bin\\javaw.exe") +
        L" -Djnlpx.remove=false -Djnlpx.origFilenameArg=" + q(vca) +
        L" -Dfile.encoding=UTF-8 com.sun.javaws.Main -notWebJava " + q(vca);

    std::vector<JavawRecord> records = javawRecords(1);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(expected, records[0].commandLine);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(records[0].commandLine.c_str(), &argc);
    LocalFree(argv);
    EXPECT_EQ(19, argc);
    for (const wchar_t* name : {L"JAVA_HOME", L"JRE_HOME", L"LATEST_JRE_HOME", L"FORCED_FX_ROOT",
                                L"FORCED_JRE_ROOT", L"FORCED_DEPLOY_ROOT"})
        EXPECT_EQ(q(J), records[0].variable(name)) << utf8(name);
    EXPECT_EQ(options, records[0].variable(L"_JAVA_OPTIONS"));

    // The banner: one message of many lines, logged just before the launch.
    size_t at = r.logFind(L"Launching Convoca with environment variables:");
    ASSERT_NE(std::wstring::npos, at);
    EXPECT_EQ(std::wstring(64, L'='), r.log[at - 1]);
    EXPECT_EQ(std::wstring(64, L'-'), r.log[at + 1]);
    EXPECT_EQ(L"set JAVA_HOME=" + J, r.log[at + 2]);
    EXPECT_EQ(L"set FORCED_DEPLOY_ROOT=" + J, r.log[at + 7]);
    EXPECT_EQ(L"set _JAVA_OPTIONS=" + options, r.log[at + 8]);
    EXPECT_EQ(L"and command line:", r.log[at + 10]);
    EXPECT_EQ(expected, r.log[at + 12]);
    EXPECT_EQ(std::wstring(64, L'='), r.log[at + 13]);
    EXPECT_EQ(L"Exiting Launcher Session mode.", r.log[at + 14]);

    EXPECT_TRUE(fileExists(J + L"\\lib\\deployment.config"));
    EXPECT_TRUE(fileExists(J + L"\\lib\\deployment.properties"));
    EXPECT_TRUE(dirExists(S + L"\\Temp"));
    EXPECT_TRUE(dirExists(S + L"\\security"));
}

TEST_F(SessionTest, ChoosesTheFirstSessionFileAndLogsTheOthers) {
    LauncherInstall install(Deployment::perMachine);
    const std::wstring a = session(L"a.txt"), b = session(L"b.VCA"), c = session(L"c.vca");
    LauncherResult r = run(install, {files / L"missing.vca", files.path(), a, b, c});
    ASSERT_EQ(0, r.exitCode);
    EXPECT_TRUE(r.logHas(L"Ignoring extra parameter: " + a));
    EXPECT_TRUE(r.logHas(L"Ignoring extra vca file: " + c));
    EXPECT_TRUE(r.logHas(L"Launching " + b));
    EXPECT_EQ(std::wstring::npos, r.logFind(L"Ignoring extra parameter: " + files.path()));
    std::vector<JavawRecord> records = javawRecords(1);
    ASSERT_EQ(1u, records.size());
    EXPECT_NE(std::wstring::npos, records[0].commandLine.find(L"-notWebJava " + q(b)));
}

TEST_F(SessionTest, NoSessionFileStillEnsuresTheSecurityFolder) {
    LauncherInstall install(Deployment::perMachine);
    LauncherResult r = run(install, {files / L"missing.vca", files.path()});
    EXPECT_EQ(-1, r.exitCode);
    EXPECT_EQ(std::vector<std::wstring>{kNoVcaBox}, boxTexts(r.boxes));
    EXPECT_TRUE(dirExists(supportDirectory() + L"\\security"));
    EXPECT_TRUE(javawRecords().empty());
    EXPECT_TRUE(r.logHas(L"Exiting Launcher Session mode."));
    EXPECT_TRUE(r.logHas(L"Exiting Launcher with status  -1"));
}

TEST_F(SessionTest, InvalidSessionFileIsNotLaunched) {
    LauncherInstall install(Deployment::perMachine);
    const std::wstring vca = session(L"evil.vca", sessionXml("https://evil.example.com/"));
    LauncherResult r = run(install, {vca});
    EXPECT_EQ(-1, r.exitCode);
    EXPECT_EQ(std::vector<std::wstring>{kInvalidBox}, boxTexts(r.boxes));
    EXPECT_TRUE(r.logHas(L"\"" + vca + L"\" is invalid."));
    EXPECT_TRUE(r.logHas(L"    The \"codebase\" host \"evil.example.com\" is invalid."));
    EXPECT_TRUE(javawRecords().empty());
    EXPECT_FALSE(fileExists(workingJreHome() + L"\\lib\\deployment.config"));
}

TEST_F(SessionTest, SwitchesTurnValidationAndLaunchOff) {
    LauncherInstall install(Deployment::perMachine);
    const std::wstring vca = session(L"evil.vca", sessionXml("http://anything/"));
    ASSERT_TRUE(install.writeAdminSettings("doNotValidateVcaFile=true\r\n"));
    LauncherResult r = run(install, {vca});
    EXPECT_EQ(0, r.exitCode);
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_EQ(1u, javawRecords(1).size());

    ASSERT_TRUE(install.writeAdminSettings("doNotValidateVcaFile=true\r\ndoNotLaunchVcaSession=true\r\n"));
    r = run(install, {vca});
    EXPECT_EQ(0, r.exitCode);
    EXPECT_EQ(1u, javawRecords().size()) << "nothing more was started";
    EXPECT_TRUE(r.logHas(L"Launching Convoca with environment variables:"));
    EXPECT_TRUE(r.logHas(L"Exiting Launcher with status  0"));
}

// A session file named outside the ANSI code page, nested so deep that its
// short form would not fit in 4,096 characters either.
TEST_F(SessionTest, PathWithNeitherAnAnsiNorAShortFormExitsWithTheConversionErrorAfterClosingTheUpdater) {
    if (GetACP() == CP_UTF8) GTEST_SKIP() << "the ANSI code page is UTF-8 here";
    TempDir dir;
    const std::wstring top = L"\\\\?\\" + dir.path() + L"\\d1234567";
    std::wstring deep = top;
    for (bool made = CreateDirectoryW(deep.c_str(), nullptr); deep.size() < 4200 && made;)
        made = CreateDirectoryW((deep += L"\\d1234567").c_str(), nullptr);
    if (deep.size() < 4200 || !dirExists(deep)) {
        removeTree(top);
        GTEST_SKIP() << "Wine cannot nest folders past the host's 4,096-byte path limit, and gives every other "
                        "folder a short name (Windows does neither); ShortPathTest covers the message in-process";
    }
    LauncherInstall install(Deployment::perUser);
    const std::wstring vca = deep + L"\\\u4f1a\u8b70.vca";
    ASSERT_TRUE(writeFile(vca, sessionXml()));
    LauncherResult r = run(install, {vca});
    removeTree(top);
    EXPECT_EQ(1113, r.exitCode);
    ASSERT_EQ(1u, r.boxes.size());
    EXPECT_EQ(0u, r.boxes[0].text.find(L"Tavisto Convoca Launcher cannot launch Java Virtual Machine."));
    EXPECT_FALSE(r.logHas(L"Exiting Launcher Session mode."));
    for (const auto& line : r.log) EXPECT_EQ(std::wstring::npos, line.find(L"Exiting Launcher with status"));
    EXPECT_TRUE(javawRecords().empty());
    const std::vector<std::string> sparkle = splitLines(readFile(install.path(L"WinSparkle.record.txt")));
    EXPECT_EQ(1, std::count(sparkle.begin(), sparkle.end(), "win_sparkle_init"));
    EXPECT_EQ("win_sparkle_cleanup", sparkle.back());
}

TEST_F(SessionTest, SecurityFolderIsCopiedOnceAndNeverRefreshed) {
    LauncherInstall install(Deployment::perMachine);
    ASSERT_TRUE(writeFile(install.path(L"security\\trusted.certs"), "first"));
    const std::wstring vca = session(L"s.vca");
    ASSERT_EQ(0, run(install, {vca}).exitCode);
    const std::wstring copy = supportDirectory() + L"\\security\\trusted.certs";
    EXPECT_EQ("first", readFile(copy));
    ASSERT_TRUE(writeFile(install.path(L"security\\trusted.certs"), "second"));
    ASSERT_EQ(0, run(install, {vca}).exitCode);
    EXPECT_EQ("first", readFile(copy));
}

TEST_F(SessionTest, PreviousDeploymentProfileIsRemoved) {
    LauncherInstall install(Deployment::perMachine);
    const std::wstring profile = supportDirectory() + L"\\deployment";
    ASSERT_TRUE(makeDirs(profile + L"\\cache"));
    ASSERT_TRUE(writeFile(profile + L"\\cache\\old.idx", "x"));
    LauncherResult r = run(install, {session(L"s.vca")});
    ASSERT_EQ(0, r.exitCode) << (r.boxes.empty() ? "" : utf8(r.boxes[0].text));
    EXPECT_FALSE(dirExists(profile));
}

} // namespace
