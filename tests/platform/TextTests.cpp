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

TEST(Text, AnsiConversionIsExactOrFailsWith1113LeavingNoOutput) {
    if (GetACP() != 1252) GTEST_SKIP() << "the rows are for code page 1252";
    const std::pair<const wchar_t*, const char*> rows[] = {
        {L"C:\\Program Files\\Java", "C:\\Program Files\\Java"},
        {L"Ren\x00E9 \x20AC", "Ren\xE9 \x80"},
        {L"C:\\Users\\\x4E2D\x6587", nullptr},
        {L"\x0394", nullptr}, // Greek capital delta: the best fit "D" is no exact equivalent
    };
    for (const auto& [text, ansi] : rows) {
        std::string out = "previous";
        SetLastError(0);
        const bool converted = toAnsi(text, out);
        const DWORD error = GetLastError();
        EXPECT_EQ(converted, ansi != nullptr) << utf8(text);
        EXPECT_EQ(out, ansi ? ansi : "");
        EXPECT_TRUE(ansi ? fromAnsi(out) == text : error == ERROR_NO_UNICODE_TRANSLATION) << utf8(text);
    }
    EXPECT_EQ(fromAnsi(std::string("before\0after", 12)), L"before");
}

TEST(Text, ConversionArgumentsFollowTheCodePageAndUtf8RefusesUnpairedSurrogates) {
    const std::tuple<UINT, DWORD, const char*> arguments[] = {{1252, WC_NO_BEST_FIT_CHARS, "?"},
                                                              {CP_UTF8, WC_ERR_INVALID_CHARS, nullptr}};
    for (const auto& [codePage, flags, defaultChar] : arguments) {
        EXPECT_EQ(multiByteArgumentsFor(codePage).flags, flags) << codePage;
        EXPECT_STREQ(multiByteArgumentsFor(codePage).defaultChar, defaultChar) << codePage;
    }
    std::string out = "<";
    EXPECT_TRUE(wideToMultiByte(L"\xD83D\xDE00\x00E9", CP_UTF8, out) && out == "<\xF0\x9F\x98\x80\xC3\xA9") << out;
    for (const wchar_t* unpaired : {L"a\xD800", L"\xDE00z"})
        EXPECT_TRUE(!wideToMultiByte(unpaired, CP_UTF8, out) && GetLastError() == ERROR_NO_UNICODE_TRANSLATION &&
                    out == "<\xF0\x9F\x98\x80\xC3\xA9");
}
