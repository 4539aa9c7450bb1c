// The user's working copy: first start, refresh, the registry marker, the lock and an interrupted copy.
#include "SessionFixture.h"

namespace {

std::string userMarker() { return regString(HKEY_CURRENT_USER, kLauncherRegistryKey, "NeedsEmbeddedUpdate"); }
bool setUserMarker(const std::string& value) {
    return regSetString(HKEY_CURRENT_USER, kLauncherRegistryKey, "NeedsEmbeddedUpdate", value);
}

using SetupTest = LauncherTest;

// A per-user working copy is made and marked at the first start, kept while current, and made again when
// deleted by hand or when the marker reads as absent (512 bytes or more).
TEST_F(SetupTest, WorkingCopyIsMadeOnceAndRefreshedWhenMissingOrUnmarked) {
    LauncherInstall install(Deployment::perUser);
    EXPECT_EQ(1u, run(install, {session()}).logCount(kCopyLine));
    EXPECT_EQ("0", userMarker());
    expectCompleteWorkingCopy(install);

    ASSERT_TRUE(writeFile(embeddedDirectory() + L"\\sentinel", "kept"));
    EXPECT_FALSE(run(install, {session()}).logHas(kCopyLine));
    EXPECT_TRUE(fileExists(embeddedDirectory() + L"\\sentinel"));

    javawRecords(1); // the launched stand-in Java may still run from the working copy
    for (int attempt = 0; attempt < 100 && !removeTree(embeddedDirectory()); ++attempt) Sleep(50);
    EXPECT_EQ(1u, run(install, {session()}).logCount(kCopyLine));

    ASSERT_TRUE(setUserMarker(std::string(511, '0')));
    javawRecords(1);
    EXPECT_EQ(1u, run(install, {session()}).logCount(kCopyLine));
    EXPECT_EQ("0", userMarker());
}

// An undeletable leftover staging folder is never copied into: the current copy stays, unmarked, till a later start.
TEST_F(SetupTest, UndeletableStagingFolderPostponesTheRefresh) {
    LauncherInstall install(Deployment::perUser);
    ASSERT_EQ(0, run(install, {session()}).exitCode);
    const std::wstring sentinel = embeddedDirectory() + L"\\sentinel", held = embeddedDirectory() + L".partial\\held";
    ASSERT_TRUE(writeFile(sentinel, "current") && makeDirs(embeddedDirectory() + L".partial") && writeFile(held, "x") &&
                setUserMarker("stale"));
    javawRecords(1);
    {
        handles::File holder(CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        const LauncherResult r = run(install, {session()});
        EXPECT_FALSE(r.logHas(kCopyLine));
        EXPECT_EQ(1u, r.logCount(L"Cannot remove the leftover " + embeddedDirectory() + L".partial (error "));
        EXPECT_EQ("current", readFile(sentinel));
        EXPECT_EQ("stale", userMarker());
    }
    javawRecords(2);
    EXPECT_TRUE(run(install, {session()}).logHas(kCopyLine));
    EXPECT_EQ("0", userMarker());
}

// A launcher that holds the lock makes another wait about a minute and give up.
TEST_F(SetupTest, ALiveLockHolderMakesAStartWaitAndGiveUp) {
    LauncherInstall install(Deployment::perUser);
    const std::wstring lock = supportDirectory() + L"\\lock.lck";
    ASSERT_TRUE(makeDirs(supportDirectory()));
    handles::File holder(CreateFileW(lock.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(holder);
    const DWORD started = GetTickCount();
    const LauncherResult r = run(install, {session()});
    EXPECT_GE(GetTickCount() - started, 55000u);
    EXPECT_EQ(-1, r.exitCode);
    const std::wstring box = L"Failed to lock file system for one time setup. If a session is currently launching, "
                             L"please try again in a minute or two.If no other session is launching, you may try "
                             L"again immediately.";
    EXPECT_EQ(std::vector<std::wstring>{box}, boxTexts(r.boxes));
    const size_t line = r.logFind(L"File system lock failed. lock.lck already exists and / or was locked. The lock "
                                  L"has been cleared.");
    ASSERT_NE(std::wstring::npos, line);
    EXPECT_EQ(box, r.log.at(line + 1));
}

// Four session links opened at once on a first start: one intact working copy, and every run's log kept once.
TEST_F(SetupTest, ConcurrentFirstStartsShareOneIntactWorkingCopy) {
    LauncherInstall install(Deployment::perUser);
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

// A start killed in the middle of its first copy of a big master.
TEST_F(SetupTest, InterruptedCopyNeverLeavesAPartialRuntimeNorBlocksTheNextStart) {
    const size_t kParts = 200;
    LauncherInstall install(Deployment::perUser);
    const std::wstring big = install.path(L"Resources\\Java\\jre1.7.0_40\\lib\\big");
    std::string block(1 << 20, 'x');
    ASSERT_TRUE(makeDirs(big));
    for (size_t i = 0; i < kParts; ++i, ++block[0])
        ASSERT_TRUE(writeFile(big + L"\\part" + std::to_wstring(i) + L".bin", block));
    {
        LauncherProcess launcher(install, {session()});
        const std::wstring staging = embeddedDirectory() + L".partial\\Java\\jre1.7.0_40\\lib\\big";
        for (DWORD end = GetTickCount() + 60000; GetTickCount() < end && listFiles(staging).size() < 30;) Sleep(20);
        const size_t copied = listFiles(staging).size();
        launcher.kill();
        ASSERT_GE(copied, 30u) << "the copy was not caught in progress";
        ASSERT_LT(listFiles(staging).size(), kParts) << "the copy finished before the kill";
    }
    EXPECT_FALSE(dirExists(embeddedDirectory())) << "no partial runtime under the real name";
    EXPECT_FALSE(fileExists(supportDirectory() + L"\\lock.lck")) << "the system removed the killed start's lock";

    const DWORD started = GetTickCount();
    const LauncherResult r = run(install, {session()});
    ASSERT_EQ(0, r.exitCode);
    EXPECT_LT(GetTickCount() - started, 50000u) << "no wait for the killed start's lock";
    EXPECT_TRUE(r.logHas(kCopyLine));
    expectCompleteWorkingCopy(install);
}

} // namespace
