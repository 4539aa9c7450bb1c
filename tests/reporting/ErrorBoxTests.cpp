#include "LauncherRun.h"
#include "TestLogger.h"
#include "reporting/ErrorBox.h"
#include "reporting/FileVersionReader.h"

using Lines = std::vector<std::wstring>;
static const std::wstring kTitle = L"Convoca Launcher Error";

static Lines logged(const ScopedTestLogger& logger) { // the lines after "Started up"
    const Lines lines = logger.messages();
    return Lines(lines.begin() + 1, lines.end());
}

TEST(ErrorBox, TheLoggedFormLogsTheTextVerbatimAndTheOthersOnlyShowIt) {
    ScopedTestLogger logger;
    BoxRobot robot;
    showErrorBox(L"No data directory:\n  C:\\x %s %d", true);
    showErrorBox(L"Please use an absolute path when launching the executable.", false);
    showConversionErrorBox(0x2000ABCD); // customer range: the system has no text for it
    showConversionErrorBox(ERROR_NO_UNICODE_TRANSLATION);
    const std::vector<Box> boxes = robot.boxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(std::vector<Box>(boxes.begin(), boxes.begin() + 3),
              (std::vector<Box>{{kTitle, L"No data directory:\n  C:\\x %s %d"},
                                {kTitle, L"Please use an absolute path when launching the executable."},
                                {kTitle, L"UTF8 encoding problem.\n\nUnknown Win32 error:#536914893 = 0x2000ABCD"}}));
    EXPECT_EQ(boxes[3].text.rfind(L"UTF8 encoding problem.\n\n", 0), 0u) << "then the system's own text";
    EXPECT_TRUE(boxes[3].text.size() > 24 && boxes[3].text.find(L"Unknown Win32 error") == std::wstring::npos);
    EXPECT_EQ(logged(logger), (Lines{L"No data directory:", L"  C:\\x %s %d"}));
}

TEST(FileVersionReader, ReadsFileVersionThroughTheFirstTranslationOrReportsWhatIsMissing) {
    const struct {
        const wchar_t *dll, *version;
        Lines boxes;
    } rows[] = {
        {L"version_several.dll", L"2.7.1.0 (de)", {}}, // German first, then 040904b0
        {L"version_none.dll", L"", {L"Executable doesn't have the required VERSIONINFO resource"}},
        {L"version_no_translation.dll",
         L"",
         {L"Executable doesn't have the required VERSIONINFO\\VarFileInfo\\Translation resource",
          L"Executable doesn't have the required VERSIONINFO FileVersion resource"}},
    };
    for (const auto& row : rows) {
        ScopedTestLogger logger;
        BoxRobot robot;
        EXPECT_EQ(FileVersionReader(testBinDirectory() + L"\\" + row.dll).getFileVersion(), row.version)
            << utf8(row.dll);
        EXPECT_EQ(boxTexts(robot.boxes()), row.boxes);
        EXPECT_EQ(logged(logger), row.boxes);
    }
}
