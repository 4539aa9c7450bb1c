#pragma once
#include <string>

// Checks a session file before anything is launched for it: well-formed XML
// without repeated attributes, with a single top-level element "jnlp" whose
// "codebase" is an https:// address on an allowed host, and no document type
// declaration other than a plain one (no internal subset) before it. Throws
// nothing for any content of the file.
// Writes nothing on success and exactly one log entry, with the reason, on
// failure; the user is told by the caller.
bool validateSessionFile(const std::wstring& path);
