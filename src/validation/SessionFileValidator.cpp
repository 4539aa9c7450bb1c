#include "validation/SessionFileValidator.h"

#include "logging/Logger.h"
#include "validation/AllowedHostPatterns.h"
#include "validation/HostMatcher.h"

#include <pugixml.hpp>
#include <windows.h>

#include <cstring>

namespace {

const char* const rootElementName = "jnlp";
const char* const requiredPrefix = "https://";
const size_t requiredPrefixLength = 8;
const char* const hostTerminators = "/?#";

// Byte-wise lower-casing in the classic locale: only A to Z change.
std::string lowerCase(const char* text) {
    std::string result = text ? text : "";
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

// Names and values from the document are UTF-8; bytes that are not valid
// UTF-8 show as replacement characters in the log.
std::wstring fromUtf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return std::wstring();
    std::wstring result(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), length, &result[0], needed);
    return result;
}

bool isAllowedHost(const std::string& host) {
    for (const char* pattern : allowedHostPatterns)
        if (hostMatchesPattern(host, pattern)) return true;
    return false;
}

// The detail line of the first check that fails, or empty when all pass.
std::wstring findProblem(const pugi::xml_document& document) {
    const pugi::xml_node root = document.root();
    if (!root) return L"    The root node could not be found.\n";

    const pugi::xml_node jnlp = root.first_child();
    if (!jnlp) return L"    The jnlp node could not be found.\n";
    if (root.last_child() != jnlp) return L"    The jnlp node must have no siblings.\n";

    const std::string name = lowerCase(jnlp.name());
    if (name != rootElementName)
        return L"    The root node must be \"jnlp\" not \"" + fromUtf8(name) + L"\"\n";

    const pugi::xml_attribute codebase = jnlp.attribute("codebase");
    if (!codebase) return L"    The \"codebase\" attribute of the \"jnlp\" node is missing.\n";

    const std::string value = lowerCase(codebase.value());
    if (value.size() < requiredPrefixLength ||
        value.compare(0, requiredPrefixLength, requiredPrefix) != 0)
        return L"    The \"codebase\" value of the \"jnlp\" node must begin with \"https://\".\n";

    const size_t end = value.find_first_of(hostTerminators, requiredPrefixLength);
    const std::string host = value.substr(
        requiredPrefixLength, end == std::string::npos ? std::string::npos : end - requiredPrefixLength);
    if (!isAllowedHost(host))
        return L"    The \"codebase\" host \"" + fromUtf8(host) + L"\" is invalid.\n";
    return std::wstring();
}

std::wstring describeParseFailure(const pugi::xml_parse_result& result) {
    return L"    Error description: " + fromUtf8(result.description()) +
           L"\n    Error offset: " + std::to_wstring(static_cast<long long>(result.offset));
}

bool reportInvalidSessionFile(const std::wstring& path, const std::wstring& detail) {
    const std::wstring entry = L"\"" + path + L"\" is invalid.\n" + detail + L"\n";
    tvs::Logger::getInstance().log(L"%ls", entry.c_str());
    return false;
}

} // namespace

bool validateSessionFile(const std::wstring& path) {
    pugi::xml_document document;
    const pugi::xml_parse_result loaded = document.load_file(path.c_str());
    if (loaded.status != pugi::status_ok)
        return reportInvalidSessionFile(path, describeParseFailure(loaded));

    const std::wstring problem = findProblem(document);
    if (!problem.empty()) return reportInvalidSessionFile(path, problem);
    return true;
}
