#pragma once
// Conversions between the launcher's wide strings and the narrow texts that
// Java children, file URLs and properties files need.
#include "platform/Win32Result.h"

#include <string>
#include <windows.h>

// What a conversion does with a character that has no exact equivalent.
enum class Inexact {
    fail,    // the conversion fails with error 1113
    replace, // U+FFFD in UTF-8, the code page's best fit or default elsewhere
};

// Converts with no best-fit substitutes: a character without an exact
// equivalent, or an unpaired surrogate for UTF-8, fails the conversion (error
// 1113), unless inexact is replace: then nothing fails it, which is what a
// log line needs. CP_ACP is the system's ANSI code page, which may be UTF-8.
// Appends on success only.
Win32Result wideToMultiByte(const std::wstring& input, UINT codePage, std::string& output,
                            Inexact inexact = Inexact::fail);

// ANSI code page. The output is cleared first.
Win32Result toAnsi(const std::wstring& input, std::string& output);

// The text up to its first NUL; bytes that are not valid in the code page
// become U+FFFD (or the code page's default character). Never fails.
std::wstring multiByteToWide(const std::string& input, UINT codePage);
inline std::wstring fromAnsi(const std::string& input) { return multiByteToWide(input, CP_ACP); }

// UTF-8 with percent-escapes, appended to output. Fails, with the
// conversion's error, when the input cannot be converted.
Win32Result urlEncode(const std::wstring& input, std::string& output);

void percentEncode(const std::string& input, std::string& output);

// Java properties escapes: \t \n \r \\ and \uXXXX (lower case) from 0x80 up.
std::string escapeForProperties(const std::wstring& input);
