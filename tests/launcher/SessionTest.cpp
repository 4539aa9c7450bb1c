// Opening a session file: the choice of file, Java's command line and environment, and the failure box.
#include "SessionFixture.h"

namespace {

using SessionTest = LauncherTest;

std::wstring q(const std::wstring& s) { return L"\"" + s + L"\""; }

// The first existing ".vca" file, in any case, is launched; other files are logged, folders skipped.
TEST_F(SessionTest, LaunchesTheFirstSessionFileWithTheWholeCommandLineAndEnvironment) {
    LauncherInstall install(Deployment::perMachine);
    const std::wstring a = session(L"a.txt"), vca = session(L"b.VCA"), c = session(L"c.vca"), J = workingJreHome(),
                       S = supportDirectory();
    const LauncherResult r = run(install, {files / L"missing.vca", files.path(), a, vca, c});
    ASSERT_EQ(0, r.exitCode) << (r.boxes.empty() ? "" : utf8(r.boxes[0].text));
    for (const std::wstring& line :
         {L"Ignoring extra parameter: " + a, L"Ignoring extra vca file: " + c, L"Launching " + vca})
        EXPECT_TRUE(r.logHas(line)) << utf8(line);
    EXPECT_FALSE(r.logHas(L"Ignoring extra parameter: " + files.path()));
    const std::wstring options = L"-Djava.library.path= -Djava.ext.dirs=" + q(J + L"\\lib\\ext") +
                                 L" -Djava.io.tmpdir=" + q(S + L"\\Temp") + L" -Djava.security.policy=" +
                                 q(J + L"\\lib\\security\\javaws.policy");
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
    std::map<std::wstring, std::wstring> variables = {{L"_JAVA_OPTIONS", options}};
    for (const wchar_t* name :
         {L"JAVA_HOME", L"JRE_HOME", L"LATEST_JRE_HOME", L"FORCED_FX_ROOT", L"FORCED_JRE_ROOT", L"FORCED_DEPLOY_ROOT"})
        variables.emplace(name, q(J));
    EXPECT_EQ(variables, records[0].environment);
    // The banner just before the launch shows the same values, the paths unquoted.
    for (const std::wstring& line : {L"set FORCED_DEPLOY_ROOT=" + J, L"set _JAVA_OPTIONS=" + options, expected})
        EXPECT_TRUE(r.logHas(line)) << utf8(line);
}

TEST_F(SessionTest, InvalidSessionFileIsNotLaunched) {
    LauncherInstall install(Deployment::perMachine);
    const std::wstring vca = session(L"evil.vca", sessionXml("https://evil.example.com/"));
    const LauncherResult r = run(install, {vca});
    EXPECT_EQ(-1, r.exitCode);
    EXPECT_EQ(std::vector<std::wstring>{L"There is a problem with the .vca file used to open your session or "
                                        L"recording. It may be damaged or may be from an invalid source. Please "
                                        L"open the link in your browser again to download the .vca file again. If "
                                        L"the problem persists, contact your system administrator or Tavisto "
                                        L"Convoca Technical Support."},
              boxTexts(r.boxes));
    EXPECT_TRUE(r.logHas(q(vca) + L" is invalid.")) << "the validator's own lines are unit-tested";
    EXPECT_TRUE(javawRecords().empty());
}

// The security folder is copied at the first start only; an old deployment profile is removed at every start.
TEST_F(SessionTest, SecurityFolderIsCopiedOnceAndTheDeploymentProfileRemoved) {
    LauncherInstall install(Deployment::perMachine);
    const std::wstring profile = supportDirectory() + L"\\deployment";
    for (const char* master : {"first", "second"}) {
        ASSERT_TRUE(writeFile(install.path(L"security\\trusted.certs"), master));
        ASSERT_TRUE(makeDirs(profile + L"\\cache") && writeFile(profile + L"\\cache\\old.idx", "x"));
        ASSERT_EQ(0, run(install, {session()}).exitCode);
        EXPECT_EQ("first", readFile(supportDirectory() + L"\\security\\trusted.certs"));
        EXPECT_FALSE(dirExists(profile));
    }
}

} // namespace
