#pragma once
// Conversions between the launcher's wide strings and the narrow texts that
// Java children, file URLs and properties files need.
#include <string>
#include <windows.h>

// Converts with no best-fit substitutes: a character without an exact
// equivalent fails the conversion (last error 1113). Appends on success only.
bool wideToMultiByte(const std::wstring& input, UINT codePage, std::string& output);

// ANSI code page. The output is cleared first.
bool toAnsi(const std::wstring& input, std::string& output);

std::wstring fromAnsi(const std::string& input);

// UTF-8 with percent-escapes, appended to output. False, with the conversion's
// last error, when the input cannot be converted.
bool urlEncode(const std::wstring& input, std::string& output);

void percentEncode(const std::string& input, std::string& output);

// Java properties escapes: \t \n \r \\ and \uXXXX (lower case) from 0x80 up.
std::string escapeForProperties(const std::wstring& input);
