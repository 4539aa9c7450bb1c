#pragma once
// Matching of a session file's codebase host against the allowed patterns.
#include <string>

// The character set that a "*" of a host pattern stands for, written as the
// regular expression the patterns were defined with.
extern const char* const hostLabelPattern; // "[a-z0-9\-_.~]+"

// The regular expression that a pattern stands for: every "." escaped, then
// every "*" replaced by hostLabelPattern. Kept as the definition of what
// hostMatchesPattern matches; the matcher itself does not use it.
std::string wildcardToRegex(std::string pattern);

// True when the whole host matches the pattern. Without a "*" the host must
// equal the pattern; otherwise each "*" stands for one or more characters of
// a-z, 0-9, "-", "_", "." and "~", and every other character for itself.
// Runs in time proportional to host length times pattern length and uses no
// recursion, so hosts of any size are safe.
bool hostMatchesPattern(const std::string& host, const std::string& pattern);
