#pragma once
// Conversions between the launcher's wide strings and the narrow texts that
// Java children, file URLs and properties files need.
#include <string>
#include <windows.h>

// Converts with no best-fit substitutes: a character without an exact
// equivalent, or an unpaired surrogate for UTF-8, fails the conversion (last
// error 1113). CP_ACP is the system's ANSI code page, which may be UTF-8.
// Appends on success only.
bool wideToMultiByte(const std::wstring& input, UINT codePage, std::string& output);

// The WideCharToMultiByte arguments that make a conversion exact. UTF-8
// refuses WC_NO_BEST_FIT_CHARS, a default character and the used-default
// report, and takes WC_ERR_INVALID_CHARS alone; failure then shows in the
// returned count. Other code pages substitute the default character for an
// inexact character and report that they did.
struct MultiByteArguments {
    DWORD flags;
    const char* defaultChar; // with the used-default report; null for neither
};
MultiByteArguments multiByteArgumentsFor(UINT codePage);

// ANSI code page. The output is cleared first.
bool toAnsi(const std::wstring& input, std::string& output);

std::wstring fromAnsi(const std::string& input);

// UTF-8 with percent-escapes, appended to output. False, with the conversion's
// last error, when the input cannot be converted.
bool urlEncode(const std::wstring& input, std::string& output);

void percentEncode(const std::string& input, std::string& output);

// Java properties escapes: \t \n \r \\ and \uXXXX (lower case) from 0x80 up.
std::string escapeForProperties(const std::wstring& input);
