// Opening a session file with the real launcher: the Java command line and
// environment as the stand-in javaw.exe received them, the argument choice,
// the switches and the failure boxes.
#include "SessionFixture.h"

#include <shellapi.h>

namespace {

const std::wstring kInvalidBox =
    L"There is a problem with the .vca file used to open your session or recording. It may be "
    L"damaged or may be from an invalid source. Please open the link in your browser again to "
    L"download the .vca file again. If the problem persists, contact your system administrator or "
    L"Tavisto Convoca Technical Support.";

using SessionTest = LauncherTest;

std::wstring q(const std::wstring& s) { return L"\"" + s + L"\""; }

TEST_F(SessionTest, LaunchesJavaWebStartWithTheWholeCommandLineAndEnvironment) {
    LauncherInstall install(Deployment::perMachine);
    const std::wstring vca = session(L"meeting.vca");
    const LauncherResult r = run(install, {vca});
    ASSERT_EQ(0, r.exitCode) << (r.boxes.empty() ? "" : utf8(r.boxes[0].text));
    EXPECT_TRUE(r.boxes.empty());

    const std::wstring J = workingJreHome(), S = supportDirectory();
    const std::wstring options = L"-Djava.library.path= -Djava.ext.dirs=" + q(J + L"\\lib\\ext") + L" -Djava.io.tmpdir=" +
                                 q(S + L"\\Temp") + L" -Djava.security.policy=" + q(J + L"\\lib\\security\\javaws.policy");
    const std::wstring expected =
        q(J + L"\\bin\\javaw.exe") + L" -classpath  " + q(J + L"\\lib\\deploy.jar") + L" -Xbootclasspath/a:" +
        q(J + L"\\lib\\javaws.jar") + L";" + q(J + L"\\lib\\deploy.jar") + L";" + q(J + L"\\lib\\plugin.jar") +
        L" -Xms512m -Xmx512m -Xincgc -Xverify:remote -DtrustProxy=true -Djavaplugin.user.profile=" +
        q(S + L"\\deployment") + L" -Dsun.awt.warmup=true -Djnlpx.home=" + q(J + L"\\bin") + L" -Djnlpx.jvm=" +
        q(J + L"\\bin\\javaw.exe") + L" -Djnlpx.remove=false -Djnlpx.origFilenameArg=" + q(vca) +
        L" -Dfile.encoding=UTF-8 com.sun.javaws.Main -notWebJava " + q(vca);
    const std::vector<JavawRecord> records = javawRecords(1);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(expected, records[0].commandLine);
    int argc = 0;
    handles::LocalMemory argv(CommandLineToArgvW(records[0].commandLine.c_str(), &argc));
    EXPECT_EQ(19, argc);
    std::map<std::wstring, std::wstring> variables = {{L"_JAVA_OPTIONS", options}};
    for (const wchar_t* name : {L"JAVA_HOME", L"JRE_HOME", L"LATEST_JRE_HOME", L"FORCED_FX_ROOT", L"FORCED_JRE_ROOT",
                                L"FORCED_DEPLOY_ROOT"})
        variables[name] = q(J);
    EXPECT_EQ(variables, records[0].environment);

    // The banner: one message of many lines, logged just before the launch.
    const size_t at = r.logFind(L"Launching Convoca with environment variables:");
    ASSERT_NE(std::wstring::npos, at);
    const std::vector<std::wstring> banner = {
        std::wstring(64, L'='), L"Launching Convoca with environment variables:", std::wstring(64, L'-'),
        L"set JAVA_HOME=" + J, L"set JRE_HOME=" + J, L"set LATEST_JRE_HOME=" + J, L"set FORCED_FX_ROOT=" + J,
        L"set FORCED_JRE_ROOT=" + J, L"set FORCED_DEPLOY_ROOT=" + J, L"set _JAVA_OPTIONS=" + options,
        std::wstring(64, L'-'), L"and command line:", std::wstring(64, L'-'), expected, std::wstring(64, L'='),
        L"Exiting Launcher Session mode."};
    ASSERT_LE(at + banner.size(), r.log.size() + 1);
    EXPECT_EQ(banner, std::vector<std::wstring>(r.log.begin() + at - 1, r.log.begin() + at - 1 + banner.size()));
    for (const std::wstring& made : {J + L"\\lib\\deployment.config", J + L"\\lib\\deployment.properties"})
        EXPECT_TRUE(fileExists(made)) << utf8(made);
    EXPECT_TRUE(dirExists(S + L"\\Temp"));
}

TEST_F(SessionTest, ChoosesTheFirstSessionFileAndLogsTheOthers) {
    LauncherInstall install(Deployment::perMachine);
    const std::wstring a = session(L"a.txt"), b = session(L"b.VCA"), c = session(L"c.vca");
    const LauncherResult r = run(install, {files / L"missing.vca", files.path(), a, b, c});
    ASSERT_EQ(0, r.exitCode);
    for (const std::wstring& line : {L"Ignoring extra parameter: " + a, L"Ignoring extra vca file: " + c, L"Launching " + b})
        EXPECT_TRUE(r.logHas(line)) << utf8(line);
    EXPECT_FALSE(r.logHas(L"Ignoring extra parameter: " + files.path()));
    const std::vector<JavawRecord> records = javawRecords(1);
    ASSERT_EQ(1u, records.size());
    EXPECT_NE(std::wstring::npos, records[0].commandLine.find(L"-notWebJava " + q(b)));
}

TEST_F(SessionTest, InvalidSessionFileIsNotLaunched) {
    LauncherInstall install(Deployment::perMachine);
    const std::wstring vca = session(L"evil.vca", sessionXml("https://evil.example.com/"));
    const LauncherResult r = run(install, {vca});
    EXPECT_EQ(-1, r.exitCode);
    EXPECT_EQ(std::vector<std::wstring>{kInvalidBox}, boxTexts(r.boxes));
    EXPECT_TRUE(r.logHas(L"\"" + vca + L"\" is invalid."));
    EXPECT_TRUE(r.logHas(L"    The \"codebase\" host \"evil.example.com\" is invalid."));
    EXPECT_TRUE(javawRecords().empty());
    EXPECT_FALSE(fileExists(workingJreHome() + L"\\lib\\deployment.config"));
}

// The user's security folder is copied at the first start and never
// refreshed; a previous deployment profile is removed at every start.
TEST_F(SessionTest, SecurityFolderIsCopiedOnceAndTheDeploymentProfileRemoved) {
    LauncherInstall install(Deployment::perMachine);
    const std::wstring profile = supportDirectory() + L"\\deployment", copy = supportDirectory() + L"\\security\\trusted.certs";
    for (const char* master : {"first", "second"}) {
        ASSERT_TRUE(writeFile(install.path(L"security\\trusted.certs"), master));
        ASSERT_TRUE(makeDirs(profile + L"\\cache") && writeFile(profile + L"\\cache\\old.idx", "x"));
        const LauncherResult r = run(install, {session(L"s.vca")});
        ASSERT_EQ(0, r.exitCode) << (r.boxes.empty() ? "" : utf8(r.boxes[0].text));
        EXPECT_EQ("first", readFile(copy));
        EXPECT_FALSE(dirExists(profile));
    }
}

// A session file named outside the ANSI code page, nested so deep that its
// short form would not fit in 4,096 characters either.
TEST_F(SessionTest, PathWithNeitherAnAnsiNorAShortFormExitsWithTheConversionErrorAfterClosingTheUpdater) {
    if (GetACP() == CP_UTF8) GTEST_SKIP() << "the ANSI code page is UTF-8 here";
    const char* const onWine = "Wine cannot nest folders past the host's 4,096-byte path limit, and gives every other "
                               "folder a short name (Windows does neither); ShortPathTest covers the message in-process";
    // Wine fails only after hundreds of ever slower nested creations.
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) GTEST_SKIP() << onWine;
    const std::wstring top = L"\\\\?\\" + files.path() + L"\\d1234567";
    std::wstring deep = top;
    for (bool made = CreateDirectoryW(deep.c_str(), nullptr); deep.size() < 4200 && made;)
        made = CreateDirectoryW((deep += L"\\d1234567").c_str(), nullptr);
    if (deep.size() < 4200 || !dirExists(deep)) {
        removeTree(top);
        GTEST_SKIP() << onWine;
    }
    LauncherInstall install(Deployment::perUser);
    const std::wstring vca = deep + L"\\\u4f1a\u8b70.vca";
    ASSERT_TRUE(writeFile(vca, sessionXml()));
    const LauncherResult r = run(install, {vca});
    removeTree(top);
    EXPECT_EQ(1113, r.exitCode);
    ASSERT_EQ(1u, r.boxes.size());
    EXPECT_EQ(0u, r.boxes[0].text.find(L"Tavisto Convoca Launcher cannot launch Java Virtual Machine."));
    EXPECT_EQ(std::wstring::npos, r.logFind(L"Exiting Launcher"));
    EXPECT_TRUE(javawRecords().empty());
    const std::vector<std::string> sparkle = splitLines(readFile(install.path(L"WinSparkle.record.txt")));
    EXPECT_EQ(1, std::count(sparkle.begin(), sparkle.end(), "win_sparkle_init"));
    EXPECT_EQ("win_sparkle_cleanup", sparkle.back());
}

} // namespace
