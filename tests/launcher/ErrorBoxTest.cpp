#include "BoxRobot.h"
#include "TestLogger.h"
#include "launcher/ErrorBox.h"

#include <gtest/gtest.h>

TEST(ErrorBox, TheLoggedFormLogsTheTextVerbatimAndTheOthersOnlyShowIt) {
    const std::wstring title = L"Convoca Launcher Error";
    ScopedTestLogger logger;
    BoxRobot robot;
    showErrorBox(L"No data directory:\n  C:\\x %s %d", true);
    showErrorBox(L"Please use an absolute path when launching the executable.", false);
    showConversionErrorBox(0x2000ABCD); // customer range: the system has no text for it
    showConversionErrorBox(ERROR_NO_UNICODE_TRANSLATION);
    const std::vector<Box> boxes = robot.boxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(std::vector<Box>(boxes.begin(), boxes.begin() + 3),
              (std::vector<Box>{{title, L"No data directory:\n  C:\\x %s %d"},
                                {title, L"Please use an absolute path when launching the executable."},
                                {title, L"UTF8 encoding problem.\n\nUnknown Win32 error:#536914893 = 0x2000ABCD"}}));
    EXPECT_EQ(boxes[3].text.rfind(L"UTF8 encoding problem.\n\n", 0), 0u) << "then the system's own text";
    EXPECT_TRUE(boxes[3].text.size() > 24 && boxes[3].text.find(L"Unknown Win32 error") == std::wstring::npos);
    EXPECT_EQ(logger.messages(), (std::vector<std::wstring>{L"Started up", L"No data directory:", L"  C:\\x %s %d"}));
}
