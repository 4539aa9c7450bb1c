// Opening a session file: the choice of file, Java's command line and environment, and the failure box.
#include "SessionFixture.h"
#include "deployment/ReplaceAll.h"

namespace {

using SessionTest = LauncherTest;

// The first existing ".vca" file, in any case, is launched; other files are logged, folders skipped. In the golden
// command line and options, $J is the working copy's runtime, $S the support folder and $V the session file.
TEST_F(SessionTest, LaunchesTheFirstSessionFileWithTheWholeCommandLineAndEnvironment) {
    LauncherInstall install(InstallKind::perMachine);
    const std::wstring a = session(L"a.txt"), vca = session(L"b.VCA"), c = session(L"c.vca"), J = workingJreHome();
    const LauncherResult r = run(install, {files / L"missing.vca", files.path(), a, vca, c});
    ASSERT_EQ(0, r.exitCode) << (r.boxes.empty() ? "" : utf8(r.boxes[0].text));
    for (const std::wstring& line :
         {L"Ignoring extra parameter: " + a, L"Ignoring extra vca file: " + c, L"Launching " + vca})
        EXPECT_TRUE(r.logHas(line)) << utf8(line);
    EXPECT_FALSE(r.logHas(L"Ignoring extra parameter: " + files.path()));
    std::wstring command =
        LR"("$J\bin\javaw.exe" -classpath  "$J\lib\deploy.jar" -Xbootclasspath/a:"$J\lib\javaws.jar";)"
        LR"("$J\lib\deploy.jar";"$J\lib\plugin.jar" -Xms512m -Xmx512m -Xincgc -Xverify:remote -DtrustProxy=true )"
        LR"(-Djavaplugin.user.profile="$S\deployment" -Dsun.awt.warmup=true -Djnlpx.home="$J\bin" )"
        LR"(-Djnlpx.jvm="$J\bin\javaw.exe" -Djnlpx.remove=false -Djnlpx.origFilenameArg="$V" -Dfile.encoding=UTF-8 )"
        LR"(com.sun.javaws.Main -notWebJava "$V")";
    std::wstring options = LR"(-Djava.library.path= -Djava.ext.dirs="$J\lib\ext" -Djava.io.tmpdir="$S\Temp" )"
                           LR"(-Djava.security.policy="$J\lib\security\javaws.policy")";
    for (std::wstring* text : {&command, &options})
        replaceAll(*text, L"$J", J), replaceAll(*text, L"$S", supportDirectory()), replaceAll(*text, L"$V", vca);
    const std::vector<JavawRecord> records = javawRecords(1);
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ(command, records[0].commandLine);
    std::map<std::wstring, std::wstring> variables = {{L"_JAVA_OPTIONS", options}};
    for (const wchar_t* name :
         {L"JAVA_HOME", L"JRE_HOME", L"LATEST_JRE_HOME", L"FORCED_FX_ROOT", L"FORCED_JRE_ROOT", L"FORCED_DEPLOY_ROOT"})
        variables.emplace(name, L"\"" + J + L"\"");
    EXPECT_EQ(variables, records[0].environment);
    // The banner just before the launch shows the same values, the paths unquoted.
    for (const std::wstring& line : {L"set FORCED_DEPLOY_ROOT=" + J, L"set _JAVA_OPTIONS=" + options, command})
        EXPECT_TRUE(r.logHas(line)) << utf8(line);
}

// An invalid session file, or a deployment file that cannot be written, aborts the launch with its logged boxes: a
// deployment file's writer tells its own failure first.
TEST_F(SessionTest, FailuresAbortTheLaunchWithTheirLoggedBoxes) {
    const std::wstring invalid =
        L"There is a problem with the .vca file used to open your session or recording. It may "
        L"be damaged or may be from an invalid source. Please open the link in your browser "
        L"again to download the .vca file again. If the problem persists, contact your system "
        L"administrator or Tavisto Convoca Technical Support.";
    const struct {
        const wchar_t* removed; // from the install
        std::string codebase;
        std::vector<std::wstring> boxes;
    } rows[] = {
        {nullptr, "https://evil.example.com/", {invalid}},
        {L"deployment.config.tmpl",
         "https://meet.convoca.com/client/",
         {L"Error reading deployment config template file.",
          L"Cannot create \"deployment.config\" file. Launch aborted."}},
        {L"deployment.properties.tmpl",
         "https://meet.convoca.com/client/",
         {L"Error reading deployment properties template file.",
          L"Cannot create \"deployment.properties\" file. Launch aborted."}},
    };
    for (const auto& row : rows) {
        LauncherInstall install(InstallKind::perMachine);
        ASSERT_TRUE(!row.removed || removeTree(install.path(row.removed)));
        const LauncherResult r = run(install, {session(L"s.vca", sessionXml(row.codebase))});
        EXPECT_EQ(-1, r.exitCode);
        EXPECT_EQ(row.boxes, boxTexts(r.boxes));
        EXPECT_NE(std::search(r.log.begin(), r.log.end(), row.boxes.begin(), row.boxes.end()), r.log.end());
        EXPECT_TRUE(javawRecords().empty());
    }
}

} // namespace
