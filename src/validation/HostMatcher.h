#pragma once
// Matching of a session file's codebase host against the allowed patterns.
#include <string>

// True when the whole host matches the pattern. Without a "*" the host must
// equal the pattern; otherwise each "*" stands for one or more characters of
// a-z, 0-9, "-", "_", "." and "~", and every other character for itself.
// Runs in time proportional to host length times pattern length and uses no
// recursion, so hosts of any size are safe.
bool hostMatchesPattern(const std::string& host, const std::string& pattern);
