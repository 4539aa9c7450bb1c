#include "validation/SessionFileValidator.h"

#include "logging/Logger.h"
#include "platform/Text.h"
#include "validation/AllowedHostPatterns.h"
#include "validation/HostMatcher.h"

#include <pugixml.hpp>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace {

const char* const kRootElementName = "jnlp";
const char* const kRequiredPrefix = "https://";
const size_t kRequiredPrefixLength = 8;
const char* const kHostTerminators = "/?#";

// Byte-wise lower-casing in the classic locale: only A to Z change.
std::string lowerCase(const char* text) {
    std::string result = text ? text : "";
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

// Names and values from the document are UTF-8; bytes that are not valid
// UTF-8 show as replacement characters in the log.
std::wstring fromUtf8(const std::string& text) { return multiByteToWide(text, CP_UTF8); }

bool isAllowedHost(const std::string& host) {
    for (const char* pattern : kAllowedHostPatterns)
        if (hostMatchesPattern(host, pattern)) return true;
    return false;
}

bool hasHttpsPrefix(const std::string& lowered) {
    return lowered.size() >= kRequiredPrefixLength && lowered.compare(0, kRequiredPrefixLength, kRequiredPrefix) == 0;
}

// The host of a lower-cased address that begins with "https://".
std::string hostOf(const std::string& lowered) {
    const size_t end = lowered.find_first_of(kHostTerminators, kRequiredPrefixLength);
    return lowered.substr(kRequiredPrefixLength,
                          end == std::string::npos ? std::string::npos : end - kRequiredPrefixLength);
}

// Elements whose "href" names code or a session file that Java Web Start
// fetches. Icons and the runtime's download location are not among them.
const char* const kCodeElements[] = {"jnlp", "jar", "nativelib", "extension"};

bool isCodeElement(const std::string& name) {
    for (const char* element : kCodeElements)
        if (name == element) return true;
    return false;
}

// An address with a scheme, such as "http:", or a network path, such as
// "//host/x.jar", leaves the codebase. Java ignores leading blanks.
bool isRelativeAddress(const std::string& href) {
    size_t start = 0;
    while (start < href.size() && static_cast<unsigned char>(href[start]) <= ' ') ++start;
    if (href.compare(start, 2, "//") == 0) return false;
    for (size_t i = start; i < href.size(); ++i) {
        const char c = href[i];
        if (c == ':') return false;
        if (c == '/' || c == '?' || c == '#') return true;
    }
    return true;
}

bool isAllowedResource(const std::string& href) {
    if (isRelativeAddress(href)) return true;
    const std::string lowered = lowerCase(href.c_str());
    return hasHttpsPrefix(lowered) && isAllowedHost(hostOf(lowered));
}

// The element after node in document order within root, without recursion,
// so that deeply nested documents are safe.
pugi::xml_node nextElement(pugi::xml_node node, const pugi::xml_node& root) {
    if (node.first_child()) return node.first_child();
    while (node != root && !node.next_sibling()) node = node.parent();
    return node == root ? pugi::xml_node() : node.next_sibling();
}

// An internal subset declares entities and attribute defaults, which change
// what a reader that applies them sees. Outside the quoted literals of the
// external identifier, its "[" (or a declaration's "<") gives it away.
bool hasInternalSubset(const char* doctype) {
    char quote = 0;
    for (const char* c = doctype; *c; ++c) {
        if (quote) {
            if (*c == quote) quote = 0;
        } else if (*c == '"' || *c == '\'') {
            quote = *c;
        } else if (*c == '[' || *c == '<') {
            return true;
        }
    }
    return false;
}

// The detail line for the first attribute, in document order, that repeats a
// name on its element: readers differ in which of the values they take.
// Sorting keeps the work at n log n for any names a file may hold.
std::wstring findRepeatedAttribute(const pugi::xml_node& jnlp) {
    std::vector<std::pair<std::string_view, size_t>> names; // name and position
    for (pugi::xml_node node = jnlp; node; node = nextElement(node, jnlp)) {
        names.clear();
        for (pugi::xml_attribute attribute = node.first_attribute(); attribute; attribute = attribute.next_attribute())
            names.emplace_back(attribute.name(), names.size());
        std::sort(names.begin(), names.end());
        const std::pair<std::string_view, size_t>* repeat = nullptr;
        for (size_t i = 1; i < names.size(); ++i)
            if (names[i].first == names[i - 1].first && (!repeat || names[i].second < repeat->second))
                repeat = &names[i];
        if (repeat)
            return L"    The \"" + fromUtf8(std::string(repeat->first)) + L"\" attribute of the \"" +
                   fromUtf8(lowerCase(node.name())) + L"\" node is repeated.\n";
    }
    return std::wstring();
}

// The detail line for the first code address outside the allowed hosts.
std::wstring findForeignResource(const pugi::xml_node& jnlp) {
    for (pugi::xml_node node = jnlp; node; node = nextElement(node, jnlp)) {
        if (node.type() != pugi::node_element) continue;
        const std::string name = lowerCase(node.name());
        const pugi::xml_attribute href = node.attribute("href");
        if (!href || !isCodeElement(name) || isAllowedResource(href.value())) continue;
        return L"    The \"href\" value \"" + fromUtf8(href.value()) + L"\" of the \"" + fromUtf8(name) +
               L"\" node is not an https:// address on an allowed host.\n";
    }
    return std::wstring();
}

// The detail line of the first check that fails, or empty when all pass.
std::wstring findProblem(const pugi::xml_document& document) {
    const pugi::xml_node root = document.root();
    if (!root) return L"    The root node could not be found.\n";

    // A document type declaration may come first; it is no second top-level node.
    pugi::xml_node jnlp = root.first_child();
    if (jnlp.type() == pugi::node_doctype) {
        if (hasInternalSubset(jnlp.value()))
            return L"    The document type declaration must have no internal subset.\n";
        jnlp = jnlp.next_sibling();
    }
    if (!jnlp) return L"    The jnlp node could not be found.\n";
    if (root.last_child() != jnlp) return L"    The jnlp node must have no siblings.\n";

    const std::string name = lowerCase(jnlp.name());
    if (name != kRootElementName) return L"    The root node must be \"jnlp\" not \"" + fromUtf8(name) + L"\"\n";

    const std::wstring repeated = findRepeatedAttribute(jnlp);
    if (!repeated.empty()) return repeated;

    const pugi::xml_attribute codebase = jnlp.attribute("codebase");
    if (!codebase) return L"    The \"codebase\" attribute of the \"jnlp\" node is missing.\n";

    const std::string value = lowerCase(codebase.value());
    if (!hasHttpsPrefix(value))
        return L"    The \"codebase\" value of the \"jnlp\" node must begin with \"https://\".\n";

    const std::string host = hostOf(value);
    if (!isAllowedHost(host)) return L"    The \"codebase\" host \"" + fromUtf8(host) + L"\" is invalid.\n";
    return findForeignResource(jnlp);
}

std::wstring describeParseFailure(const pugi::xml_parse_result& result) {
    return L"    Error description: " + fromUtf8(result.description()) + L"\n    Error offset: " +
           std::to_wstring(static_cast<long long>(result.offset));
}

bool reportInvalidSessionFile(const std::wstring& path, const std::wstring& detail) {
    const std::wstring entry = L"\"" + path + L"\" is invalid.\n" + detail + L"\n";
    tvs::Logger::getInstance().log(L"%ls", entry.c_str());
    return false;
}

} // namespace

bool validateSessionFile(const std::wstring& path) {
    pugi::xml_document document;
    const pugi::xml_parse_result loaded = document.load_file(path.c_str(), pugi::parse_default | pugi::parse_doctype);
    if (loaded.status != pugi::status_ok) return reportInvalidSessionFile(path, describeParseFailure(loaded));

    const std::wstring problem = findProblem(document);
    if (!problem.empty()) return reportInvalidSessionFile(path, problem);
    return true;
}
