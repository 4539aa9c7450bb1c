#include "BoxRobot.h"
#include "TestLogger.h"
#include "logging/Logger.h"
#include "platform/ErrorBox.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kTitle = L"Convoca Launcher Error";

std::wstring systemText(DWORD code) {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                                 FORMAT_MESSAGE_FROM_SYSTEM,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result = n && text ? std::wstring(text, n) : L"";
    LocalFree(text);
    return result;
}

} // namespace

TEST(ErrorBox, TheLoggedFormLogsTheTextAndThenShowsIt) {
    ScopedTestLogger logger;
    BoxRobot robot;
    showErrorBox(L"No data directory:\n  C:\\x %s %d", true);
    std::vector<Box> boxes = robot.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], (Box{kTitle, L"No data directory:\n  C:\\x %s %d"}));
    std::vector<std::wstring> messages = logger.messages();
    // The text is logged verbatim, not used as a format.
    EXPECT_EQ(messages, (std::vector<std::wstring>{L"Started up", L"No data directory:", L"  C:\\x %s %d"}));
}

TEST(ErrorBox, TheUnloggedFormOnlyShowsTheBox) {
    ScopedTestLogger logger;
    BoxRobot robot;
    showErrorBox(L"Please use an absolute path when launching the executable.", false);
    EXPECT_EQ(robot.boxes(),
              (std::vector<Box>{{kTitle, L"Please use an absolute path when launching the executable."}}));
    EXPECT_EQ(logger.messages(), (std::vector<std::wstring>{L"Started up"}));
}

TEST(ErrorBox, TheLoggedFormNeedsTheLogger) {
    BoxRobot robot;
    try {
        showErrorBox(L"too early", true);
        FAIL() << "no exception";
    } catch (const tvs::Logger::LoggerException& e) {
        EXPECT_STREQ(e.what(), "Logger not initialized");
    }
    Sleep(100);
    EXPECT_TRUE(robot.boxes().empty());
}

TEST(ConversionErrorBox, AnUnknownCodeShowsItInDecimalAndHexadecimal) {
    const DWORD code = 0x2000ABCD; // customer range: the system has no text for it
    ASSERT_EQ(systemText(code), L"");
    ScopedTestLogger logger;
    BoxRobot robot;
    showConversionErrorBox(code);
    EXPECT_EQ(robot.boxes(),
              (std::vector<Box>{{kTitle, L"UTF8 encoding problem.\n\nUnknown Win32 error:#536914893 = 0x2000ABCD"}}));
    EXPECT_EQ(logger.messages(), (std::vector<std::wstring>{L"Started up"})); // not logged
}

TEST(ConversionErrorBox, AKnownCodeShowsTheSystemText) {
    std::wstring text = systemText(ERROR_NO_UNICODE_TRANSLATION);
    ASSERT_FALSE(text.empty());
    BoxRobot robot;
    showConversionErrorBox(ERROR_NO_UNICODE_TRANSLATION);
    std::vector<Box> boxes = robot.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, kTitle);
    // The static control may drop a trailing line end of the system text.
    std::wstring expected = L"UTF8 encoding problem.\n\n" + text;
    EXPECT_EQ(boxes[0].text.substr(0, 24), expected.substr(0, 24));
    EXPECT_EQ(boxes[0].text, expected.substr(0, boxes[0].text.size()));
    EXPECT_GE(boxes[0].text.size(), expected.find_last_not_of(L"\r\n") + 1);
}
