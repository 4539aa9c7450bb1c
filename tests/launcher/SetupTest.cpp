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

    ASSERT_TRUE(setUserMarker(std::string(511, '0')) && writeFile(embeddedDirectory() + L"\\sentinel", "old"));
    javawRecords(1);
    EXPECT_EQ(1u, run(install, {session()}).logCount(kCopyLine));
    EXPECT_EQ("0", userMarker());
    expectCompleteWorkingCopy(install);
}

// Undeletable leftovers: a staging folder is never copied into, the current copy staying in use, unmarked, till a
// later start; an old copy never stands in the way of a refresh.
TEST_F(SetupTest, UndeletableStagingFolderPostponesTheRefreshAnOldCopyNever) {
    LauncherInstall install(Deployment::perUser);
    ASSERT_EQ(0, run(install, {session()}).exitCode);
    const std::wstring sentinel = embeddedDirectory() + L"\\sentinel", held = embeddedDirectory() + L".partial\\held",
                       old = embeddedDirectory() + L".old", oldLine = L"Cannot remove the old working copy " + old;
    ASSERT_TRUE(writeFile(sentinel, "current") && makeDirs(embeddedDirectory() + L".partial") && writeFile(held, "x") &&
                makeDirs(old) && writeFile(old + L"\\held", "x") && setUserMarker("stale"));
    javawRecords(1);
    handles::File oldHolder(
        CreateFileW((old + L"\\held").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    {
        handles::File holder(CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder && oldHolder);
        const LauncherResult r = run(install, {session()});
        EXPECT_FALSE(r.logHas(kCopyLine));
        EXPECT_EQ(1u, r.logCount(L"Cannot remove the leftover " + embeddedDirectory() + L".partial (error "));
        EXPECT_EQ("current", readFile(sentinel));
        EXPECT_EQ("stale", userMarker());
    }
    javawRecords(2);
    const LauncherResult r = run(install, {session()});
    EXPECT_TRUE(r.logHas(kCopyLine));
    EXPECT_EQ(1u, r.logCount(oldLine + L" (error 32); a later start tries again."));
    EXPECT_EQ("0", userMarker());
    expectCompleteWorkingCopy(install);
    oldHolder.reset();
    EXPECT_FALSE(run(install, {session()}).logHas(kCopyLine));
    EXPECT_FALSE(dirExists(old) || dirExists(old + L"2"));
}

// Directory links made on the Unix side, in the profile folder and in the working copy, to the user's documents.
// Wine refuses to remove a link to a non-empty folder: the old copy holding one stays, and blocks no later refresh.
TEST_F(SetupTest, LaunchesAndRefreshesNeverDeleteThroughALink) {
    LauncherInstall install(Deployment::perUser);
    ASSERT_EQ(0, run(install, {session()}).exitCode);
    javawRecords(1);
    TempDir documents;
    const std::wstring profile = supportDirectory() + L"\\deployment";
    ASSERT_TRUE(writeFile(documents / L"thesis.doc", "years") && makeDirs(documents / L"notes") &&
                writeFile(documents / L"notes\\n.txt", "n") && makeDirs(profile));
    const std::string to = " '" + unixPath(documents.path()) + "' '";
    ASSERT_EQ(0, runUnixShell("ln -s" + to + unixPath(profile) + "/link' && ln -s" + to + unixPath(workingJreHome()) +
                              "/link'"));
    for (const char* marker : {"stale", "stale again"}) {
        ASSERT_TRUE(setUserMarker(marker));
        const LauncherResult r = run(install, {session()});
        EXPECT_EQ(0, r.exitCode);
        EXPECT_TRUE(r.logHas(kCopyLine));
        EXPECT_EQ(1u, javawRecords(1).size());
        expectCompleteWorkingCopy(install);
        EXPECT_EQ(listFiles(documents.path()), (std::vector<std::wstring>{L"notes\\n.txt", L"thesis.doc"}));
        EXPECT_EQ("years", readFile(documents / L"thesis.doc"));
    }
    EXPECT_EQ(0, runUnixShell("find '" + unixPath(supportDirectory()) + "' -type l -delete"));
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

// Four session links opened at once on a first start.
TEST_F(SetupTest, ConcurrentFirstStartsShareOneIntactWorkingCopy) {
    LauncherInstall install(Deployment::perUser);
    const std::wstring vca = session();
    std::vector<std::unique_ptr<LauncherProcess>> launchers;
    for (int i = 0; i < 4; ++i) launchers.push_back(std::make_unique<LauncherProcess>(install, std::vector{vca}));
    for (auto& launcher : launchers) EXPECT_EQ(0, launcher->wait(180000));
    EXPECT_EQ(std::vector<std::wstring>{}, boxTexts(robot.boxes()));
    EXPECT_EQ(4u, javawRecords(4).size());
    expectCompleteWorkingCopy(install);
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

// The support folder on a small volume that fills up during the first copy, and then gets more room.
TEST_F(SetupTest, AFullDiskLeavesNoRuntimeAndTheFirstStartWithRoomCopiesAgain) {
    LauncherInstall install(Deployment::perUser);
    const std::wstring big = install.path(L"Resources\\Java\\jre1.7.0_40\\lib\\big"),
                       volume = supportDirectory().substr(0, supportDirectory().rfind(L'\\'));
    ASSERT_TRUE(makeDirs(big) && makeDirs(volume));
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(writeFile(big + L"\\part" + std::to_wstring(i), std::string(1 << 20, 'x')));
    const std::string mountPoint = "'" + unixPath(volume) + "'";
    if (runUnixShell("mount -t tmpfs -o size=8m tmpfs " + mountPoint) != 0) GTEST_SKIP() << "cannot mount a tmpfs";
    const struct Unmount {
        std::string point;
        ~Unmount() { runUnixShell("umount -l " + point); }
    } unmount{mountPoint};
    const LauncherResult full = run(install, {session()});
    EXPECT_EQ(0, full.exitCode);
    EXPECT_EQ(std::vector<std::wstring>{L"No JRE found: " + workingJreHome()}, boxTexts(full.boxes));
    EXPECT_FALSE(dirExists(embeddedDirectory()));
    ASSERT_EQ(0, runUnixShell("mount -o remount,size=64m " + mountPoint));
    const LauncherResult r = run(install, {session()});
    EXPECT_EQ(0, r.exitCode);
    EXPECT_TRUE(r.logHas(kCopyLine));
    expectCompleteWorkingCopy(install);
    EXPECT_EQ(1u, javawRecords(1).size());
}

} // namespace
