#include "TestFiles.h"
#include "platform/FileSystem.h"
#include "platform/Handles.h"

#include <gtest/gtest.h>

namespace {

handles::File openWithoutSharing(const std::wstring& path) {
    return handles::File(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A small tree with read-only, hidden and system files and a read-only
// subdirectory.
void buildAwkwardTree(const std::wstring& root) {
    ASSERT_TRUE(makeDirs(root + L"\\sub\\deeper"));
    ASSERT_TRUE(writeFile(root + L"\\plain.txt", "p"));
    ASSERT_TRUE(writeFile(root + L"\\readonly.txt", "r"));
    ASSERT_TRUE(writeFile(root + L"\\sub\\hidden system.bin", "h"));
    ASSERT_TRUE(writeFile(root + L"\\sub\\deeper\\readonly too", "r"));
    ASSERT_TRUE(SetFileAttributesW((root + L"\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesW((root + L"\\sub\\hidden system.bin").c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesW((root + L"\\sub\\deeper\\readonly too").c_str(),
                                   FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesW((root + L"\\sub").c_str(), FILE_ATTRIBUTE_READONLY));
}

} // namespace

TEST(FindParentDirectory, TakesTheTextBeforeTheLastBackslashExceptAtARoot) {
    EXPECT_EQ(findParentDirectory(L"C:\\a"), L"");
    EXPECT_EQ(findParentDirectory(L"C:\\a\\b"), L"C:\\a");
    EXPECT_EQ(findParentDirectory(L"C:\\a\\b\\"), L"C:\\a\\b");
    EXPECT_EQ(findParentDirectory(L"name"), L"");
    EXPECT_EQ(findParentDirectory(L"C:"), L"");
    EXPECT_EQ(findParentDirectory(L"\\a"), L"");
    EXPECT_EQ(findParentDirectory(L""), L"");
    EXPECT_EQ(findParentDirectory(L"a\\b"), L"a");
    EXPECT_EQ(findParentDirectory(L"ab\\c"), L"ab");   // third character, no colon
    EXPECT_EQ(findParentDirectory(L"\\\\server\\share\\x"), L"\\\\server\\share");
    EXPECT_EQ(findParentDirectory(L"C:/a/b"), L"");     // slash is no separator
}

TEST(IsDirectory, TellsDirectoriesFromFilesAndMissingPaths) {
    TempDir dir;
    ASSERT_TRUE(writeFile(dir / L"file", "x"));
    EXPECT_TRUE(isDirectory(dir.path()));
    EXPECT_FALSE(isDirectory(dir / L"file"));
    EXPECT_FALSE(isDirectory(dir / L"missing"));
    EXPECT_FALSE(isDirectory(L""));
}

TEST(GetLongPath, ExpandsShortNamesOfExistingPathsAndKeepsOthers) {
    TempDir dir;
    std::wstring longName = dir / L"A Rather Long Directory Name";
    ASSERT_TRUE(makeDirs(longName));
    EXPECT_EQ(getLongPath(longName), longName);
    EXPECT_EQ(getLongPath(dir / L"does not exist\\x"), dir / L"does not exist\\x");
    EXPECT_EQ(getLongPath(L""), L"");

    wchar_t shortName[MAX_PATH] = {};
    DWORD n = GetShortPathNameW(longName.c_str(), shortName, MAX_PATH);
    if (n == 0 || longName == shortName) GTEST_SKIP() << "no 8.3 name for the directory";
    EXPECT_EQ(getLongPath(shortName), longName);
}

TEST(CreateDirectoryChain, CreatesEveryMissingParentButNotAnExistingDirectory) {
    TempDir dir;
    std::wstring z = dir / L"x\\y\\z";
    EXPECT_TRUE(createDirectoryChain(z));
    EXPECT_TRUE(isDirectory(dir / L"x"));
    EXPECT_TRUE(isDirectory(dir / L"x\\y"));
    EXPECT_TRUE(isDirectory(z));

    EXPECT_FALSE(createDirectoryChain(z)); // exists already
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

TEST(CreateDirectoryChain, FailsWhenAFileStandsInTheWay) {
    TempDir dir;
    ASSERT_TRUE(writeFile(dir / L"x", "a file"));
    EXPECT_FALSE(createDirectoryChain(dir / L"x\\y\\z"));
    EXPECT_EQ(readFile(dir / L"x"), "a file");
    EXPECT_FALSE(createDirectoryChain(dir / L"x"));
}

TEST(DeleteTree, RemovesReadOnlyHiddenAndSystemEntries) {
    TempDir dir;
    std::wstring root = dir / L"tree";
    buildAwkwardTree(root);
    ASSERT_TRUE(SetFileAttributesW(root.c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_TRUE(deleteTree(root, false));
    EXPECT_FALSE(isDirectory(root));
    EXPECT_FALSE(fileExists(root));
}

TEST(DeleteTree, AMissingPathCountsAsDeletedUnlessProbed) {
    TempDir dir;
    EXPECT_TRUE(deleteTree(dir / L"missing", false));
    EXPECT_FALSE(deleteTree(dir / L"missing", true)); // nothing there to rename
}

TEST(DeleteTree, PassesOverDottedEntriesAndSoKeepsTheirDirectories) {
    TempDir dir;
    std::wstring root = dir / L"tree";
    ASSERT_TRUE(makeDirs(root + L"\\sub\\.dotted dir"));
    ASSERT_TRUE(writeFile(root + L"\\sub\\.dotted dir\\inside", "i"));
    ASSERT_TRUE(writeFile(root + L"\\.dotfile", "d"));

    EXPECT_FALSE(deleteTree(root, false));
    EXPECT_EQ(listFiles(root), (std::vector<std::wstring>{L".dotfile", L"sub\\.dotted dir\\inside"}));
    EXPECT_FALSE(deleteTree(root, true));
    EXPECT_TRUE(isDirectory(root));
}

TEST(DeleteTree, StopsAtAFileThatCannotBeDeleted) {
    TempDir dir;
    std::wstring root = dir / L"tree";
    ASSERT_TRUE(makeDirs(root + L"\\busy"));
    ASSERT_TRUE(writeFile(root + L"\\busy\\open.txt", "open"));
    handles::File held = openWithoutSharing(root + L"\\busy\\open.txt");
    ASSERT_TRUE(held);

    EXPECT_FALSE(deleteTree(root, false));
    held.reset();
    EXPECT_EQ(readFile(root + L"\\busy\\open.txt"), "open");
    EXPECT_TRUE(deleteTree(root, false));
    EXPECT_FALSE(isDirectory(root));
}

TEST(DeleteTree, WithTheProbeATreeHoldingAnOpenFileIsLeftWhole) {
    TempDir dir;
    std::wstring root = dir / L"tree";
    ASSERT_TRUE(makeDirs(root + L"\\sub"));
    ASSERT_TRUE(writeFile(root + L"\\a.txt", "a"));
    ASSERT_TRUE(writeFile(root + L"\\sub\\open.txt", "open"));
    handles::File held = openWithoutSharing(root + L"\\sub\\open.txt");
    ASSERT_TRUE(held);

    if (canRenameDirectory(root))
        GTEST_SKIP() << "Wine renames a directory while a file inside it is open";
    EXPECT_FALSE(isDirectory(root + L"_tmpDD_"));
    EXPECT_FALSE(deleteTree(root, true));
    EXPECT_EQ(listFiles(root), (std::vector<std::wstring>{L"a.txt", L"sub\\open.txt"}));
}

TEST(CanRenameDirectory, MovesTheDirectoryBackAfterTheProbe) {
    TempDir dir;
    std::wstring root = dir / L"tree";
    ASSERT_TRUE(makeDirs(root));
    ASSERT_TRUE(writeFile(root + L"\\f", "f"));
    EXPECT_TRUE(canRenameDirectory(root));
    EXPECT_EQ(readFile(root + L"\\f"), "f");
    EXPECT_FALSE(isDirectory(root + L"_tmpDD_"));
    EXPECT_FALSE(canRenameDirectory(dir / L"missing"));
}

TEST(CanRenameDirectory, RemovesTheLeftoverOfAnInterruptedProbe) {
    TempDir dir;
    std::wstring root = dir / L"tree";
    std::wstring leftover = root + L"_tmpDD_";
    ASSERT_TRUE(makeDirs(root));
    ASSERT_TRUE(writeFile(root + L"\\kept", "kept"));
    buildAwkwardTree(leftover);

    EXPECT_TRUE(canRenameDirectory(root));
    EXPECT_FALSE(isDirectory(leftover));
    EXPECT_EQ(readFile(root + L"\\kept"), "kept");

    buildAwkwardTree(leftover);
    EXPECT_TRUE(deleteTree(root, true));
    EXPECT_FALSE(isDirectory(root));
    EXPECT_FALSE(isDirectory(leftover));
}

TEST(CopyTree, CopiesADirectoryWithItsContentsToANewDestination) {
    TempDir dir;
    std::wstring source = dir / L"source";
    ASSERT_TRUE(makeDirs(source + L"\\lib\\security"));
    ASSERT_TRUE(writeFile(source + L"\\bin.exe", std::string("MZ\0\x01", 4)));
    ASSERT_TRUE(writeFile(source + L"\\lib\\security\\java.policy", "grant {};"));
    ASSERT_TRUE(makeDirs(source + L"\\empty"));

    std::wstring destination = dir / L"new\\parent\\copy";
    EXPECT_TRUE(copyTree(source, destination));
    EXPECT_EQ(listFiles(destination), listFiles(source));
    EXPECT_EQ(readFile(destination + L"\\bin.exe"), std::string("MZ\0\x01", 4));
    EXPECT_EQ(readFile(destination + L"\\lib\\security\\java.policy"), "grant {};");
    EXPECT_TRUE(isDirectory(destination + L"\\empty"));
    EXPECT_EQ(readFile(source + L"\\lib\\security\\java.policy"), "grant {};");
}

TEST(CopyTree, FailsForAMissingSourceWithoutCreatingTheDestination) {
    TempDir dir;
    EXPECT_FALSE(copyTree(dir / L"missing", dir / L"copy"));
    EXPECT_FALSE(isDirectory(dir / L"copy"));
}
