#include "BoxRobot.h"
#include "TestLogger.h"
#include "platform/FileVersionReader.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kTitle = L"Convoca Launcher Error";
const std::wstring kNoResource = L"Executable doesn't have the required VERSIONINFO resource";
const std::wstring kNoFileVersion =
    L"Executable doesn't have the required VERSIONINFO FileVersion resource";
const std::wstring kNoTranslation =
    L"Executable doesn't have the required VERSIONINFO\\VarFileInfo\\Translation resource";

std::wstring besideTests(const std::wstring& name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.rfind(L'\\') + 1) + name;
}

class FileVersionReaderTest : public ::testing::Test {
protected:
    // The logged form's lines, without "Started up".
    std::vector<std::wstring> logged() const {
        std::vector<std::wstring> m = logger.messages();
        return std::vector<std::wstring>(m.begin() + 1, m.end());
    }
    std::vector<std::wstring> texts() const { return boxTexts(robot.boxes()); }

    ScopedTestLogger logger;
    BoxRobot robot;
};

} // namespace

TEST_F(FileVersionReaderTest, ReadsFileVersionThroughTheTranslationTable) {
    FileVersionReader reader(besideTests(L"version_single.dll"));
    EXPECT_EQ(reader.getFileVersion(), L"1.5.0.0");
    EXPECT_TRUE(texts().empty());
    EXPECT_TRUE(logged().empty());
}

TEST_F(FileVersionReaderTest, OnlyTheFirstOfSeveralTranslationsIsUsed) {
    FileVersionReader reader(besideTests(L"version_several.dll"));
    EXPECT_EQ(reader.getFileVersion(), L"2.7.1.0 (de)");
    EXPECT_TRUE(texts().empty());
}

TEST_F(FileVersionReaderTest, ASuccessIsCachedWithoutReadingTheFileAgain) {
    TempDir dir;
    std::wstring copy = dir / L"versioned.dll";
    ASSERT_TRUE(CopyFileW(besideTests(L"version_single.dll").c_str(), copy.c_str(), FALSE));
    FileVersionReader reader(copy);
    EXPECT_EQ(reader.getFileVersion(), L"1.5.0.0");
    ASSERT_TRUE(DeleteFileW(copy.c_str()));
    EXPECT_EQ(reader.getFileVersion(), L"1.5.0.0");
    EXPECT_TRUE(texts().empty());
}

TEST_F(FileVersionReaderTest, AFileWithoutAVersionResourceGivesOneBoxAndNoVersion) {
    FileVersionReader reader(besideTests(L"version_none.dll"));
    EXPECT_EQ(reader.getFileVersion(), L"");
    EXPECT_EQ(robot.boxes(), (std::vector<Box>{{kTitle, kNoResource}}));
    EXPECT_EQ(logged(), (std::vector<std::wstring>{kNoResource}));
}

TEST_F(FileVersionReaderTest, AFailureIsNotCachedSoTheNextCallReadsAndReportsAgain) {
    TempDir dir;
    std::wstring path = dir / L"later.dll";
    FileVersionReader reader(path);
    EXPECT_EQ(reader.getFileVersion(), L"");
    EXPECT_EQ(reader.getFileVersion(), L"");
    ASSERT_TRUE(CopyFileW(besideTests(L"version_single.dll").c_str(), path.c_str(), FALSE));
    EXPECT_EQ(reader.getFileVersion(), L"1.5.0.0");
    EXPECT_EQ(texts(), (std::vector<std::wstring>{kNoResource, kNoResource}));
}

TEST_F(FileVersionReaderTest, ATextFileHasNoVersionResource) {
    TempDir dir;
    ASSERT_TRUE(writeFile(dir / L"readme.txt", "not a program"));
    FileVersionReader reader(dir / L"readme.txt");
    EXPECT_EQ(reader.getFileVersion(), L"");
    EXPECT_EQ(texts(), (std::vector<std::wstring>{kNoResource}));
}

TEST_F(FileVersionReaderTest, AMissingTranslationTableGivesTwoBoxes) {
    FileVersionReader reader(besideTests(L"version_no_translation.dll"));
    EXPECT_EQ(reader.getFileVersion(), L"");
    EXPECT_EQ(robot.boxes(), (std::vector<Box>{{kTitle, kNoTranslation}, {kTitle, kNoFileVersion}}));
    EXPECT_EQ(logged(), (std::vector<std::wstring>{kNoTranslation, kNoFileVersion}));
}

TEST_F(FileVersionReaderTest, AMissingFileVersionValueGivesItsBox) {
    FileVersionReader reader(besideTests(L"version_no_file_version.dll"));
    EXPECT_EQ(reader.getFileVersion(), L"");
    EXPECT_EQ(robot.boxes(), (std::vector<Box>{{kTitle, kNoFileVersion}}));
    EXPECT_EQ(logged(), (std::vector<std::wstring>{kNoFileVersion}));
}
