// The user's working copy: first start, refresh, the registry marker and starts at once.
#include "SessionFixture.h"

#include <memory>

namespace {

using SetupTest = LauncherTest;

// A per-user working copy is made and marked at the first start, kept while current, and made again when deleted by
// hand or when the marker reads as absent (512 bytes or more); the security folder is copied at the first start only,
// an old deployment profile removed at every start. No start deletes through a link (made on the Unix side) in the
// profile folder, as the leftover of its rename probe or in the working copy; Wine may refuse to remove one.
TEST_F(SetupTest, WorkingCopyIsMadeOnceAndRefreshedWhenMissingOrUnmarked) {
    LauncherInstall install(InstallKind::perUser);
    const std::wstring certs = L"security\\trusted.certs", profile = supportDirectory() + L"\\deployment";
    ASSERT_TRUE(writeFile(install.path(certs), "first"));
    EXPECT_EQ(1u, run(install, {session()}).logCount(kCopyLine));
    EXPECT_EQ("0", userMarker());
    expectCompleteWorkingCopy(install);

    ASSERT_TRUE(writeFile(embeddedDirectory() + L"\\sentinel", "kept") && writeFile(install.path(certs), "second") &&
                makeDirs(profile + L"\\cache") && writeFile(profile + L"\\cache\\old.idx", "x"));
    EXPECT_FALSE(run(install, {session()}).logHas(kCopyLine));
    EXPECT_TRUE(fileExists(embeddedDirectory() + L"\\sentinel") && !dirExists(profile));
    EXPECT_EQ("first", readFile(supportDirectory() + L"\\" + certs));

    javawRecords(1); // the launched stand-in Java may still run from the working copy
    for (int attempt = 0; attempt < 100 && !removeTree(embeddedDirectory()); ++attempt) Sleep(50);
    EXPECT_EQ(1u, run(install, {session()}).logCount(kCopyLine));

    TempDir documents;
    const std::string link = "ln -s '" + unixPath(documents.path()) + "' '", support = unixPath(supportDirectory());
    ASSERT_TRUE(writeFile(documents / L"thesis.doc", "years") && makeDirs(profile) &&
                writeFile(embeddedDirectory() + L"\\sentinel", "old") &&
                regSetString(HKEY_CURRENT_USER, kLauncherRegistryKey, "NeedsEmbeddedUpdate", std::string(511, '0')));
    ASSERT_EQ(0, runUnixShell(link + support + "/deployment/link' && " + link + support + "/deployment_tmpDD_' && " +
                              link + unixPath(workingJreHome()) + "/link'"));
    javawRecords(1);
    const LauncherResult r = run(install, {session()});
    EXPECT_TRUE(r.exitCode == 0 && r.logCount(kCopyLine) == 1 && javawRecords(1).size() == 1 && userMarker() == "0");
    expectCompleteWorkingCopy(install);
    EXPECT_EQ("years", readFile(documents / L"thesis.doc"));
    EXPECT_EQ(0, runUnixShell("find '" + support + "' -type l -delete"));
}

// Four session links opened at once on a first start: one intact working copy, and every run's log kept once.
TEST_F(SetupTest, ConcurrentFirstStartsShareOneIntactWorkingCopy) {
    LauncherInstall install(InstallKind::perUser);
    const std::vector<std::wstring> sessions = {session(L"a.vca"), session(L"b.vca"), session(L"c.vca"),
                                                session(L"d.vca")};
    std::vector<std::unique_ptr<LauncherProcess>> launchers;
    for (const auto& vca : sessions) launchers.push_back(std::make_unique<LauncherProcess>(install, std::vector{vca}));
    for (auto& launcher : launchers) EXPECT_EQ(0, launcher->wait(180000));
    EXPECT_EQ(std::vector<std::wstring>{}, boxTexts(robot.boxes()));
    EXPECT_EQ(4u, javawRecords(4).size());
    expectCompleteWorkingCopy(install);
    const std::wstring logsFolder = supportDirectory() + L"\\logs\\ConvocaLauncher";
    const std::string logs = readFile(logsFolder + L".old.log") + readFile(logsFolder + L".log"); // all collected
    for (const std::wstring& vca : sessions) {
        const std::string line = " Launching " + utf8(vca) + "\r\n";
        EXPECT_TRUE(logs.find(line) != std::string::npos && logs.find(line) == logs.rfind(line)) << line;
    }
}

} // namespace
