#pragma once
// The administrator's settings as Windows Installer properties: which public
// property sets which key of ConvocaLauncherAdmin.properties, what each key
// accepts, and the file text that results. Texts are ISO 8859-1 bytes, as
// the launcher and the utility window read the file.
#include "deployment/SettingsKeys.h"

#include <string>
#include <vector>

namespace adminsettings {

using Kind = SettingKind;
using Setting = InstallerProperty;

// Every key of the administrator's file, once, in the file's order.
const std::vector<Setting>& settings();

// Empty when the value suits the setting; otherwise what it must be, as
// "must be true or false".
std::string checkValue(const Setting& setting, const std::string& value);

struct Assignment {
    const Setting* setting;
    std::string value;
};

// False for a file that holds a zero byte, where the launcher's reader stops,
// or starts with a UTF-16 byte order mark (Windows PowerShell's default): a
// file in another encoding, which is kept byte for byte.
bool isLatin1Text(const std::string& text);

// Sets each assigned key in the file's text: its line is replaced, or a line
// is added when the key is missing. Fails, with the reason in error, when the
// text is not ISO 8859-1 text, or holds the key other than once at the start
// of a line: the launcher reads the first place where the key and "=" stand,
// which could be a comment. The error names the property.
bool assign(std::string& text, const std::vector<Assignment>& assignments, std::string& error);

} // namespace adminsettings
