#include "TestFiles.h"
#include "platform/Text.h"

#include <gtest/gtest.h>
#include <tuple>

TEST(Text, PercentEncodePassesExactlyTheUnreservedBytes) {
    const std::string unreserved = "!$'()*-./0123456789:@ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz~\x7F";
    const char hex[] = "0123456789ABCDEF";
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        std::string out;
        percentEncode(std::string(1, c), out);
        const bool passes = unreserved.find(c) != std::string::npos;
        EXPECT_EQ(out, passes ? std::string(1, c) : std::string({'%', hex[b >> 4], hex[b & 15]})) << b;
    }
}

TEST(Text, EscapeForPropertiesEscapesControlsBackslashesAndEveryUnitFrom0x80) {
    const std::pair<std::wstring, std::string> rows[] = {{L"C:\\Program Files\\Java", "C:\\\\Program Files\\\\Java"},
                                                         {L"\x00E9\x0080\x007F", "\\u00e9\\u0080\x7F"},
                                                         {L"a\tb\nc\rd", "a\\tb\\nc\\rd"},
                                                         {L" k=v:#!\x01", " k=v:#!\x01"},
                                                         {std::wstring(L"a\0b", 3), std::string("a\0b", 3)}};
    for (const auto& [input, escaped] : rows) EXPECT_EQ(escapeForProperties(input), escaped);
}

TEST(Text, ConversionsAreExactOrFailWith1113UnlessAskedToReplace) {
    const std::tuple<UINT, Inexact, const wchar_t*, const char*> rows[] = {
        {1252, Inexact::fail, L"Ren\x00E9 \x20AC", "Ren\xE9 \x80"},
        {1252, Inexact::fail, L"\x0394", nullptr}, // Greek capital delta: the best fit "D" is no exact equivalent
        {1252, Inexact::replace, L"a\x4E2D", "a?"},
        {CP_UTF8, Inexact::fail, L"\xD83D\xDE00\x00E9", "\xF0\x9F\x98\x80\xC3\xA9"},
        {CP_UTF8, Inexact::fail, L"a\xD800", nullptr},
        {CP_UTF8, Inexact::fail, L"\xDE00z", nullptr},
        {CP_UTF8, Inexact::replace, L"a\xD800", "a\xEF\xBF\xBD"}, // what the log writes
    };
    for (const auto& [codePage, inexact, text, converted] : rows) {
        std::string out = "<";
        const Win32Result result = wideToMultiByte(text, codePage, out, inexact);
        EXPECT_EQ(result.error(), converted ? ERROR_SUCCESS : ERROR_NO_UNICODE_TRANSLATION) << utf8(text);
        EXPECT_EQ(static_cast<bool>(result), converted != nullptr) << utf8(text);
        EXPECT_EQ(out, converted ? std::string("<") + converted : "<") << utf8(text);
    }
    std::string out = "previous";
    EXPECT_TRUE(toAnsi(L"C:\\Java", out) && out == "C:\\Java");
    EXPECT_EQ(fromAnsi(std::string("before\0after", 12)), L"before");
    EXPECT_EQ(multiByteToWide("\xC3\xA9\xFF.", CP_UTF8), L"\x00E9\xFFFD.");
}
