#pragma once
// The ANSI form of a path for a Java child, with a fallback to the short form
// logged as "No ANSI form of <path>: <recipient> given its short form <short>".
#include "platform/ShortPath.h"

#include <string>

// recipient is, for example, L"Java is". On failure the last error is the
// conversion's, and text is unchanged.
bool toLoggedAnsiPath(const std::wstring& path, const ShortPathSource& shortPaths, const wchar_t* recipient,
                      std::string& text);
