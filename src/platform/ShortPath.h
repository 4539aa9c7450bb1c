#pragma once
// ANSI forms of paths for Java children, which take their command line and
// environment in the ANSI code page. A path whose long form has characters
// outside that code page is passed in its short (8.3) form, made of ASCII.
#include "platform/Win32Result.h"

#include <string>

// Where short forms come from: the file system by default, and tests give
// their own to produce a volume without short names.
class ShortPathSource {
public:
    virtual ~ShortPathSource() = default;
    // The short form of an existing path; empty when it cannot be had.
    virtual std::wstring shortForm(const std::wstring& path) const;
};

const ShortPathSource& systemShortPaths();

struct AnsiPath {
    Win32Result converted;
    bool shortened = false; // the short form was converted
    std::string text;
};

// The long form converted with toAnsi when it converts; otherwise the short
// form, where a part that does not exist yet is appended to the short form
// of its nearest existing folder. When neither converts, converted holds the
// long form's conversion error (1113).
AnsiPath toAnsiPath(const std::wstring& path, const ShortPathSource& shortPaths = systemShortPaths());
