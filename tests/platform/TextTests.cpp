#include "BoxRobot.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

namespace {

std::string percent(const std::string& input) {
    std::string out;
    percentEncode(input, out);
    return out;
}

std::string properties(const std::wstring& input) {
    std::string out;
    EXPECT_TRUE(escapeForProperties(input, out));
    return out;
}

bool ansiLacksCjk() {
    UINT acp = GetACP();
    return acp != CP_UTF8 && acp != 932 && acp != 936 && acp != 949 && acp != 950;
}

} // namespace

TEST(PercentEncode, EscapesPathsAndReservedBytes) {
    EXPECT_EQ(percent("C:\\Program Files\\x"), "C:%5CProgram%20Files%5Cx");
    EXPECT_EQ(percent("k+v=1&n"), "k%2Bv%3D1%26n");
    EXPECT_EQ(percent("100%"), "100%25");
    EXPECT_EQ(percent("\x7F"), "\x7F");
    EXPECT_EQ(percent("\x80"), "%80");
    EXPECT_EQ(percent(std::string("\0\xFF", 2)), "%00%FF");
    EXPECT_EQ(percent(""), "");
}

TEST(PercentEncode, PassesExactlyTheUnreservedBytes) {
    const std::string unreserved =
        "!$'()*-./0123456789:@ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz~\x7F";
    ASSERT_EQ(unreserved.size(), 76u);
    const char hex[] = "0123456789ABCDEF";
    for (int b = 0; b < 256; ++b) {
        char c = static_cast<char>(b);
        std::string expected = unreserved.find(c) != std::string::npos
                                   ? std::string(1, c)
                                   : std::string{'%', hex[b >> 4], hex[b & 15]};
        EXPECT_EQ(percent(std::string(1, c)), expected) << "byte " << b;
    }
}

TEST(PercentEncode, AppendsToTheOutput) {
    std::string out = "file:///";
    percentEncode("C:\\a b", out);
    EXPECT_EQ(out, "file:///C:%5Ca%20b");
}

TEST(UrlEncode, EncodesUtf8BytesIncludingSurrogatePairs) {
    std::string out = "prefix/";
    EXPECT_TRUE(urlEncode(L"C:\\Users\\Ren\x00E9\\\xD83D\xDE00 x", out));
    EXPECT_EQ(out, "prefix/C:%5CUsers%5CRen%C3%A9%5C%F0%9F%98%80%20x");
}

TEST(UrlEncode, AnEmptyInputGivesAnEmptyOutputWithoutABox) {
    BoxRobot robot;
    std::string out = "kept";
    EXPECT_TRUE(urlEncode(L"", out));
    EXPECT_EQ(out, "kept");
    Sleep(100);
    EXPECT_TRUE(robot.boxes().empty());
}

TEST(EscapeForProperties, EscapesControlsBackslashesAndEverythingFrom0x80) {
    EXPECT_EQ(properties(L"C:\\Program Files\\Java"), "C:\\\\Program Files\\\\Java");
    EXPECT_EQ(properties(L"\x00E9"), "\\u00e9");
    EXPECT_EQ(properties(L"\xD83D\xDE00"), "\\ud83d\\ude00");
    EXPECT_EQ(properties(L"\xFFFF\x0080\x007F"), "\\uffff\\u0080\x7F");
    EXPECT_EQ(properties(L"a\tb\nc\rd"), "a\\tb\\nc\\rd");
    // Nothing else is escaped.
    EXPECT_EQ(properties(L" k=v:#!\x01"), " k=v:#!\x01");
    EXPECT_EQ(properties(std::wstring(L"a\0b", 3)), std::string("a\0b", 3));

    std::string out = "key=";
    EXPECT_TRUE(escapeForProperties(L"\x20AC", out));
    EXPECT_EQ(out, "key=\\u20ac");
}

TEST(ToAnsi, FailsWith1113ForACharacterOutsideTheAnsiCodePage) {
    if (!ansiLacksCjk()) GTEST_SKIP() << "the ANSI code page has CJK characters";
    std::string out = "previous";
    SetLastError(0);
    EXPECT_FALSE(toAnsi(L"C:\\Users\\\x4E2D\x6587", out));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_EQ(out, "");
}

TEST(ToAnsi, NeverSubstitutesABestFitCharacter) {
    if (GetACP() != 1252) GTEST_SKIP() << "expects code page 1252";
    std::string out;
    // Greek capital delta has a best fit ("D") in 1252 but no exact equivalent.
    SetLastError(0);
    EXPECT_FALSE(toAnsi(L"\x0394", out));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_EQ(out, "");
}

TEST(ToAnsi, ConvertsRepresentableTextAndReplacesTheOutput) {
    std::string out = "previous";
    EXPECT_TRUE(toAnsi(L"C:\\Program Files\\Java", out));
    EXPECT_EQ(out, "C:\\Program Files\\Java");
    if (GetACP() == 1252) {
        EXPECT_TRUE(toAnsi(L"Ren\x00E9 \x20AC", out));
        EXPECT_EQ(out, "Ren\xE9 \x80");
    }
    EXPECT_TRUE(toAnsi(L"", out));
    EXPECT_EQ(out, "");
}

TEST(WideToMultiByte, AppendsOnSuccessAndLeavesTheOutputOnFailure) {
    std::string out = "head:";
    EXPECT_TRUE(wideToMultiByte(L"\x00E9", CP_UTF8, out));
    EXPECT_EQ(out, "head:\xC3\xA9");
    if (ansiLacksCjk()) {
        EXPECT_FALSE(wideToMultiByte(L"ok \x4E2D", CP_ACP, out));
        EXPECT_EQ(out, "head:\xC3\xA9");
    }
    EXPECT_TRUE(wideToMultiByte(L"\xD83D\xDE00", CP_UTF8, out));
    EXPECT_EQ(out, "head:\xC3\xA9\xF0\x9F\x98\x80");
}

TEST(FromAnsi, ConvertsFromTheAnsiCodePageUpToTheFirstNul) {
    EXPECT_EQ(fromAnsi("plain text"), L"plain text");
    EXPECT_EQ(fromAnsi(std::string("before\0after", 12)), L"before");
    EXPECT_EQ(fromAnsi(""), L"");
    if (GetACP() == 1252) {
        EXPECT_EQ(fromAnsi("Ren\xE9 \x80"), L"Ren\x00E9 \x20AC");
    }
}
