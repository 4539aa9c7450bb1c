#include "AdminSettings.h"

#include <iterator>

namespace adminsettings {

const std::vector<Setting>& settings() {
    static const std::vector<Setting> all(std::begin(kInstallerProperties), std::end(kInstallerProperties));
    return all;
}

namespace {

bool isDecimal(const std::string& value, size_t maxDigits) {
    if (value.empty() || value.size() > maxDigits) return false;
    for (char c : value)
        if (c < '0' || c > '9') return false;
    // The launcher reads numbers as C's "%i" does: a leading zero means octal.
    return value == "0" || value[0] != '0';
}

std::string checkKind(const Setting& setting, const std::string& value) {
    switch (setting.kind) {
    case Kind::flag:
        return value == "true" || value == "false" ? "" : "must be true or false";
    case Kind::selection: {
        if (value.size() == 1 && value[0] >= '0' && value[0] <= '0' + setting.maxSelection) return "";
        std::string choices = "0";
        for (int i = 1; i < setting.maxSelection; ++i) choices += ", " + std::to_string(i);
        return "must be " + choices + " or " + std::to_string(setting.maxSelection);
    }
    case Kind::port:
        return isDecimal(value, 5) && std::stoul(value) <= 65535 ? "" : "must be a port number from 0 to 65535";
    case Kind::text:
        break;
    }
    return "";
}

} // namespace

std::string checkValue(const Setting& setting, const std::string& value) {
    for (unsigned char c : value)
        if (c < 0x20 || c == 0x7f) return "must be a single line without control characters";
    // A key and "=" inside a value would be read as that key's setting.
    for (const Setting& other : settings())
        if (value.find(std::string(other.key) + "=") != std::string::npos)
            return std::string("must not hold \"") + other.key + "=\", which starts a setting";
    return checkKind(setting, value);
}

namespace {

bool atLineStart(const std::string& text, size_t at) { return at == 0 || text[at - 1] == '\n'; }

bool assignOne(std::string& text, const Assignment& assignment, std::string& error) {
    const std::string pattern = std::string(assignment.setting->key) + "=";
    const size_t first = text.find(pattern);
    if (first == std::string::npos) {
        const std::string newline = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
        if (!text.empty() && text.back() != '\n') text += newline;
        text += pattern + assignment.value + newline;
        return true;
    }
    if (!atLineStart(text, first) || text.find(pattern, first + 1) != std::string::npos) {
        error = std::string("holds \"") + pattern + "\" elsewhere than once at the start of a line, so " +
                assignment.setting->property + " cannot be set";
        return false;
    }
    const size_t valueAt = first + pattern.size();
    const size_t end = text.find_first_of("\r\n", valueAt);
    text.replace(valueAt, end == std::string::npos ? std::string::npos : end - valueAt, assignment.value);
    return true;
}

} // namespace

bool isLatin1Text(const std::string& text) {
    return text.find('\0') == std::string::npos && text.rfind("\xff\xfe", 0) != 0 && text.rfind("\xfe\xff", 0) != 0;
}

bool assign(std::string& text, const std::vector<Assignment>& assignments, std::string& error) {
    if (!assignments.empty() && !isLatin1Text(text)) {
        error = std::string("is not ISO 8859-1 text (it holds a zero byte or starts with a UTF-16 byte order "
                            "mark), so ") +
                assignments.front().setting->property + " cannot be set";
        return false;
    }
    for (const Assignment& assignment : assignments)
        if (!assignOne(text, assignment, error)) return false;
    return true;
}

} // namespace adminsettings
