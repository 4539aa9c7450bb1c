#pragma once
// The administrator's settings as Windows Installer properties: which public
// property sets which key of ConvocaLauncherAdmin.properties, what each key
// accepts, and the file text that results. Texts are UTF-8.
#include <string>
#include <vector>

namespace adminsettings {

enum class Kind { flag, selection, port, text };

struct Setting {
    const char* property; // for example PROXYHTTPPORT
    const char* key;      // for example httpProxyPort
    Kind kind;
};

// Every key of the administrator's file, once.
const std::vector<Setting>& settings();

// Empty when the value suits the setting; otherwise what it must be, as
// "must be true or false".
std::string checkValue(const Setting& setting, const std::string& value);

struct Assignment {
    const Setting* setting;
    std::string value;
};

// Sets each assigned key in the file's text: its line is replaced, or a line
// is added when the key is missing. Fails, with the reason in error, when the
// text holds the key other than once at the start of a line: the launcher
// reads the first place where the key and "=" stand, which could be a comment.
// The error names the key and the property.
bool assign(std::string& text, const std::vector<Assignment>& assignments, std::string& error);

} // namespace adminsettings
