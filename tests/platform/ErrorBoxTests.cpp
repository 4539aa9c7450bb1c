#include "BoxRobot.h"
#include "TestLogger.h"
#include "platform/ErrorBox.h"
#include "platform/FileVersionReader.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kTitle = L"Convoca Launcher Error";
const std::wstring kNoResource = L"Executable doesn't have the required VERSIONINFO resource";

std::wstring besideTests(const std::wstring& name) {
    wchar_t self[MAX_PATH] = {};
    const std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    return path.substr(0, path.rfind(L'\\') + 1) + name;
}

// The logged form's lines, without "Started up".
std::vector<std::wstring> logged(const ScopedTestLogger& logger) {
    std::vector<std::wstring> messages = logger.messages();
    return std::vector<std::wstring>(messages.begin() + 1, messages.end());
}

} // namespace

TEST(ErrorBox, TheLoggedFormLogsTheTextVerbatimAndTheOtherOnlyShowsIt) {
    ScopedTestLogger logger;
    BoxRobot robot;
    showErrorBox(L"No data directory:\n  C:\\x %s %d", true);
    showErrorBox(L"Please use an absolute path when launching the executable.", false);
    EXPECT_EQ(robot.boxes(),
              (std::vector<Box>{{kTitle, L"No data directory:\n  C:\\x %s %d"},
                                {kTitle, L"Please use an absolute path when launching the executable."}}));
    EXPECT_EQ(logged(logger), (std::vector<std::wstring>{L"No data directory:", L"  C:\\x %s %d"}));
}

TEST(ConversionErrorBox, ShowsTheSystemTextOrForAnUnknownCodeTheCodeInDecimalAndHexadecimal) {
    ScopedTestLogger logger;
    BoxRobot robot;
    showConversionErrorBox(0x2000ABCD); // customer range: the system has no text for it
    showConversionErrorBox(ERROR_NO_UNICODE_TRANSLATION);
    std::vector<Box> boxes = robot.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0],
              (Box{kTitle, L"UTF8 encoding problem.\n\nUnknown Win32 error:#536914893 = 0x2000ABCD"}));
    EXPECT_EQ(boxes[1].title, kTitle);
    EXPECT_GT(boxes[1].text.size(), 24u);
    EXPECT_EQ(boxes[1].text.substr(0, 24), L"UTF8 encoding problem.\n\n");
    EXPECT_EQ(boxes[1].text.find(L"Unknown Win32 error"), std::wstring::npos);
    EXPECT_TRUE(logged(logger).empty());
}

TEST(FileVersionReader, ReadsFileVersionThroughTheFirstTranslationOrReportsWhatIsMissing) {
    const std::wstring kNoTranslation =
        L"Executable doesn't have the required VERSIONINFO\\VarFileInfo\\Translation resource";
    const std::wstring kNoFileVersion =
        L"Executable doesn't have the required VERSIONINFO FileVersion resource";
    const struct {
        const wchar_t* dll;
        const wchar_t* version;
        std::vector<std::wstring> boxes;
    } rows[] = {
        {L"version_single.dll", L"1.5.0.0", {}},        // 040904b0
        {L"version_several.dll", L"2.7.1.0 (de)", {}},  // German first, then 040904b0
        {L"version_none.dll", L"", {kNoResource}},
        {L"version_no_translation.dll", L"", {kNoTranslation, kNoFileVersion}},
    };
    for (const auto& row : rows) {
        ScopedTestLogger logger;
        BoxRobot robot;
        EXPECT_EQ(FileVersionReader(besideTests(row.dll)).getFileVersion(), row.version) << utf8(row.dll);
        EXPECT_EQ(boxTexts(robot.boxes()), row.boxes);
        EXPECT_EQ(logged(logger), row.boxes);
    }
}

TEST(FileVersionReader, ASuccessIsCachedAndAFailureIsNot) {
    ScopedTestLogger logger;
    BoxRobot robot;
    TempDir dir;
    std::wstring path = dir / L"later.dll";
    FileVersionReader reader(path);
    EXPECT_EQ(reader.getFileVersion(), L"");
    ASSERT_TRUE(CopyFileW(besideTests(L"version_single.dll").c_str(), path.c_str(), FALSE));
    EXPECT_EQ(reader.getFileVersion(), L"1.5.0.0");
    ASSERT_TRUE(DeleteFileW(path.c_str()));
    EXPECT_EQ(reader.getFileVersion(), L"1.5.0.0");
    EXPECT_EQ(boxTexts(robot.boxes()), std::vector<std::wstring>{kNoResource});
}
