#include "TestFiles.h"
#include "platform/FileSystem.h"
#include "platform/WholeFile.h"
#include "handles/Handles.h"

#include <gtest/gtest.h>
#include <algorithm>

// Read-only, hidden and system files below read-only directories.
static void buildAwkwardTree(const std::wstring& root) {
    ASSERT_TRUE(makeDirs(root + L"\\sub\\deeper"));
    for (const wchar_t* name : {L"\\readonly.txt", L"\\sub\\hidden system.bin", L"\\sub\\deeper\\read only"})
        ASSERT_TRUE(writeFile(root + name, "x") &&
                    SetFileAttributesW((root + name).c_str(),
                                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesW((root + L"\\sub").c_str(), FILE_ATTRIBUTE_READONLY) &&
                SetFileAttributesW(root.c_str(), FILE_ATTRIBUTE_READONLY));
}

TEST(FileSystem, FindParentDirectoryTakesTheTextBeforeTheLastBackslashExceptAtARoot) {
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {
        {L"C:\\a", L""}, {L"C:\\a\\b", L"C:\\a"}, {L"C:\\a\\b\\", L"C:\\a\\b"},
        {L"name", L""},  {L"\\a", L""},           {L"C:/a/b", L""}};
    for (const auto& [path, parent] : rows) EXPECT_EQ(findParentDirectory(path), parent) << utf8(path);
}

TEST(FileSystem, CreateDirectoryChainAcceptsAnExistingDirectory) {
    TempDir dir;
    EXPECT_TRUE(createDirectoryChain(dir / L"x\\y") && createDirectoryChain(dir / L"x\\y") &&
                isDirectory(dir / L"x\\y"))
        << "another launcher may just have made it";
}

TEST(FileSystem, DeleteTreeRemovesReadOnlyAndDottedEntriesAndCountsAMissingPathAsDeleted) {
    TempDir dir;
    const std::wstring root = dir / L"tree", leftover = root + L"_tmpDD_";
    buildAwkwardTree(root);
    EXPECT_TRUE(deleteTree(root, false) && !dirExists(root));
    EXPECT_TRUE(deleteTree(root, false));
    EXPECT_EQ(deleteTree(root, true).error(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)); // nothing there to rename
    // The probe moves the directory back and removes the leftover of an interrupted probe.
    ASSERT_TRUE(makeDirs(root + L"\\sub\\.dotted dir") && writeFile(root + L"\\sub\\.dotted dir\\inside", "i") &&
                writeFile(root + L"\\.dotfile", "d"));
    buildAwkwardTree(leftover);
    EXPECT_TRUE(canRenameDirectory(root));
    EXPECT_FALSE(dirExists(leftover));
    EXPECT_EQ(readFile(root + L"\\.dotfile"), "d");
    buildAwkwardTree(leftover);
    EXPECT_TRUE(deleteTree(root, true) && !dirExists(root) && !dirExists(leftover));
}

// Every folder and file keeps its attributes; the progress rises to the master's total. A copy stops at the first
// failure: a destination that exists, a file that another program holds.
TEST(FileSystem, CopyTreeKeepsEveryAttributeAndCountsTheBytesUpToTheTotal) {
    TempDir dir;
    const std::wstring master = dir / L"master", copy = dir / L"copy";
    buildAwkwardTree(master);
    ASSERT_TRUE(writeFile(master + L"\\sub\\big", std::string(300000, 'b')));
    std::vector<std::pair<unsigned long long, unsigned long long>> reports;
    ASSERT_TRUE(copyTree(master, copy, [&](auto done, auto total) { reports.push_back({done, total}); }));
    for (const wchar_t* entry : {L"", L"\\readonly.txt", L"\\sub", L"\\sub\\big", L"\\sub\\hidden system.bin",
                                 L"\\sub\\deeper", L"\\sub\\deeper\\read only"})
        EXPECT_EQ(GetFileAttributesW((master + entry).c_str()), GetFileAttributesW((copy + entry).c_str())) << entry;
    EXPECT_EQ(listFiles(master), listFiles(copy));
    EXPECT_EQ(readFile(copy + L"\\sub\\big"), std::string(300000, 'b'));
    ASSERT_GE(reports.size(), 4u);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_EQ(reports.back(), std::make_pair(300003ull, 300003ull));

    EXPECT_EQ(copyTree(master, copy).error(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    {
        const std::wstring held = master + L"\\sub\\big";
        const handles::File holder(CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_EQ(copyTree(master, dir / L"second").error(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
}

TEST(FileSystem, DeleteTreeWithTheProbeTouchesNothingWhileAFileInsideIsOpen) {
    TempDir dir;
    const std::wstring root = dir / L"tree", open = root + L"\\sub\\open.txt";
    ASSERT_TRUE(makeDirs(root + L"\\sub") && writeFile(open, "open") && writeFile(root + L"\\a.txt", "a"));
    const handles::File held(CreateFileW(open.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    if (canRenameDirectory(root)) GTEST_SKIP() << "Wine renames a directory while a file inside it is open";
    EXPECT_FALSE(deleteTree(root, true));
    EXPECT_EQ(listFiles(root), (std::vector<std::wstring>{L"a.txt", L"sub\\open.txt"}));
}

TEST(FileSystem, GetLongPathExpandsShortNamesOfExistingPathsOnly) {
    TempDir dir;
    const std::wstring longName = dir / L"A Rather Long Directory Name";
    ASSERT_TRUE(makeDirs(longName));
    EXPECT_EQ(getLongPath(longName + L"\\missing"), longName + L"\\missing");
    wchar_t shortName[MAX_PATH] = {};
    const DWORD n = GetShortPathNameW(longName.c_str(), shortName, MAX_PATH);
    if (n == 0 || longName == shortName) GTEST_SKIP() << "no 8.3 name for the directory";
    EXPECT_EQ(getLongPath(shortName), longName);
}

TEST(FileSystem, ReadWholeFileReadsToTheSizeAndRefusesAFileOverTheLimitUnread) {
    TempDir dir;
    const std::string text = std::string(70000, 'x') + "\r\n\x1A";
    ASSERT_TRUE(writeFile(dir / L"f", text));
    const handles::File file(CreateFileW((dir / L"f").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    const WholeFile refused = readWholeFile(file.get(), text.size() - 1), whole = readWholeFile(file.get());
    EXPECT_TRUE(refused.result.error() == ERROR_FILE_TOO_LARGE && refused.bytes.empty() && !refused.result);
    EXPECT_TRUE(whole.result && whole.size == text.size() && whole.bytes == text);
}
