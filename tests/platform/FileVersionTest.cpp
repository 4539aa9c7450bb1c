#include "TestFiles.h"
#include "platform/FileVersion.h"

#include <gtest/gtest.h>

TEST(FileVersion, ReadsFileVersionThroughTheFirstTranslationOrTellsWhatIsMissing) {
    const struct {
        const wchar_t *dll, *version;
        std::vector<std::wstring> problems;
    } rows[] = {
        {L"version_several.dll", L"2.7.1.0 (de)", {}}, // German first, then 040904b0
        {L"version_none.dll", L"", {L"Executable doesn't have the required VERSIONINFO resource"}},
        {L"version_no_translation.dll",
         L"",
         {L"Executable doesn't have the required VERSIONINFO\\VarFileInfo\\Translation resource",
          L"Executable doesn't have the required VERSIONINFO FileVersion resource"}},
    };
    for (const auto& row : rows) {
        const FileVersion read = readFileVersion(CONVOCA_TEST_BIN_DIR_WIN L"\\" + std::wstring(row.dll));
        EXPECT_EQ(read.version, row.version) << utf8(row.dll);
        EXPECT_EQ(read.problems, row.problems) << utf8(row.dll);
    }
}
