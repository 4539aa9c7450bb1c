// Robustness of the session file check: generated and mutated session files,
// case i from the fixed seed firstSeed + i, judged by an oracle written here
// without regular expressions.
#include "LogTail.h"
#include "TestFiles.h"
#include "validation/AllowedHostPatterns.h"
#include "validation/SessionFileValidator.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <map>
#include <random>

namespace {

const uint32_t firstSeed = 0x5E551000;
const int caseCount = 10200;
const std::string labelSet = "abcdefghijklmnopqrstuvwxyz0123456789-_.~";

std::string lower(std::string text) {
    for (char& c : text) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    return text;
}

// "*.D" allows X.D, X being one or more characters of the label set.
bool oracleAllows(const std::string& host) {
    for (const std::string pattern : allowedHostPatterns) {
        const size_t split = host.size() - (pattern.size() - 1);
        if (host.size() >= pattern.size() && host.substr(split) == pattern.substr(1) &&
            host.find_first_not_of(labelSet) >= split)
            return true;
    }
    return false;
}

// The detail the validator should log, or empty for an acceptance.
std::wstring judge(const std::string& bytes) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(bytes.data(), bytes.size());
    if (parsed.status != pugi::status_ok)
        return L"    Error description: " + fromUtf8(parsed.description()) +
               L"\n    Error offset: " + std::to_wstring(parsed.offset);
    const pugi::xml_node top = document.first_child();
    if (!top) return L"    The jnlp node could not be found.\n";
    if (top.next_sibling()) return L"    The jnlp node must have no siblings.\n";
    if (lower(top.name()) != "jnlp")
        return L"    The root node must be \"jnlp\" not \"" + fromUtf8(lower(top.name())) + L"\"\n";
    pugi::xml_attribute codebase = top.first_attribute();
    while (codebase && std::string(codebase.name()) != "codebase") codebase = codebase.next_attribute();
    if (!codebase) return L"    The \"codebase\" attribute of the \"jnlp\" node is missing.\n";
    const std::string value = lower(codebase.value());
    if (value.substr(0, 8) != "https://")
        return L"    The \"codebase\" value of the \"jnlp\" node must begin with \"https://\".\n";
    std::string host;
    for (size_t i = 8; i < value.size() && value[i] != '/' && value[i] != '?' && value[i] != '#'; ++i)
        host += value[i];
    return oracleAllows(host) ? L"" : L"    The \"codebase\" host \"" + fromUtf8(host) + L"\" is invalid.\n";
}

// Each kind of input from the random numbers of one seed.
struct Generator {
    std::mt19937 rng;

    size_t below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); }
    bool chance(size_t percent) { return below(100) < percent; }
    template <size_t N> std::string pick(const char* const (&items)[N]) { return items[below(N)]; }

    // A scheme, user information, labels of the set with capitals, percent-escapes and
    // non-ASCII characters, a whole or cut allowed domain, and a port, more labels or a tail.
    std::string codebase() {
        static const char* const schemes[] = {"HTTPS://", "Https://", "http://", "https:/", "", " https://"};
        static const char* const users[] = {"user@", "u:p@", "@"};
        static const char* const odd[] = {"%2e", "%41", "\xC3\xBC", "\xE6\x97\xA5", "\xF0\x9F\x98\x80",
                                          " ", ":", "@", "\xFF", "A", "Z"};
        static const char* const ends[] = {"", "", "", "", "", ":443", ":", ".", "x", ".evil.example",
                                           "/", "/client/", "?a=b", "#f", "/?#"};
        std::string text = (chance(85) ? "https://" : pick(schemes)) + (chance(10) ? pick(users) : "");
        for (size_t labels = chance(90) ? 1 + below(3) : 0; labels > 0; --labels, text += ".")
            for (size_t n = 1 + below(8); n > 0; --n)
                text += chance(4) ? pick(odd) : std::string(1, labelSet[below(labelSet.size())]);
        std::string domain = allowedHostPatterns[below(allowedHostPatterns.size())] + 2;
        for (char& c : domain) c = chance(1) ? static_cast<char>(toupper(c)) : c;
        return text + (chance(5) ? domain.substr(below(domain.size())) : domain) + pick(ends);
    }

    std::string document() {
        static const char* const roots[] = {"JNLP", "Jnlp", "jnlpx", "foo", "jnlp:x"};
        static const char* const names[] = {"CodeBase", "codeBase", "code_base"};
        const std::string root = chance(85) ? "jnlp" : pick(roots);
        std::string text = (chance(50) ? "<?xml version=\"1.0\"?><!-- s --><?pi x?>\n<" : "<") + root +
                           " " + (chance(90) ? "codebase" : pick(names)) + "=\"";
        for (char c : codebase()) text += c == '.' && chance(3) ? std::string("&#46;") : std::string(1, c);
        text += chance(3) ? "\" codebase=\"http://duplicate.example/\"" : "\"";
        text += chance(30) ? "/>" : "><title>A &amp; B</title><![CDATA[<jnlp/>]]></" + root + ">";
        return chance(20) ? text + "<!-- end -->\n" : text;
    }

    // Byte flips, inserted bytes, cuts and truncations.
    std::string mutate(std::string text) {
        for (size_t n = 1 + below(4); n > 0 && !text.empty(); --n) {
            const size_t at = below(text.size()), kind = below(5);
            if (kind == 0) text[at] = static_cast<char>(text[at] ^ (1 << below(8)));
            else if (kind == 1) text.insert(at, 1 + below(8), static_cast<char>(below(256)));
            else if (kind == 2) text.insert(at, 1, "<>\"'&/="[below(7)]);
            else if (kind == 3) text.erase(at, 1 + below(16));
            else text.resize(at);
        }
        return text;
    }

    // UTF-8 with a byte-order mark, or UTF-16 in either order, mostly with one.
    std::string encode(const std::string& text) {
        if (chance(25)) return "\xEF\xBB\xBF" + text;
        const bool big = chance(50);
        std::string out = chance(70) ? (big ? "\xFE\xFF" : "\xFF\xFE") : "";
        for (wchar_t c : fromUtf8(text))
            out += big ? std::string{char(c >> 8), char(c)} : std::string{char(c), char(c >> 8)};
        return out;
    }

    // A huge codebase, siblings, or deep nesting.
    std::string structure(bool megabyte) {
        const std::string jnlp = "<jnlp codebase=\"" + codebase() + "\"";
        std::string open, close, host(megabyte ? 1u << 20 : 4096 + below(128 * 1024), 'a');
        switch (megabyte ? 0 : below(3)) {
        case 0:
            for (char& c : host) c = labelSet[below(labelSet.size())];
            if (chance(30)) host[below(host.size())] = "A:@%!"[below(5)];
            return "<jnlp codebase=\"https://" + host + (allowedHostPatterns[below(6)] + 1) + "\"/>";
        case 1: return chance(50) ? jnlp + "/><jnlp/>" : "text " + jnlp + "/> text";
        }
        for (size_t depth = 1 + below(chance(10) ? 200000 : 2000); depth > 0; --depth)
            open += "<a>", close += "</a>";
        return jnlp + ">" + open + (chance(80) ? close : "") + "</jnlp>";
    }
};

TEST(SessionFileRobustness, GeneratedFilesAreJudgedAsTheOracleJudgesThem) {
    TempDir dir;
    const std::wstring path = dir / L"fuzz.vca";
    LogTail log;
    std::wstring expected;
    std::map<size_t, int> entryCase{{0, -1}}; // where each case's entry begins in expected
    std::map<std::wstring, int> outcomes;
    for (int index = 0, failures = 0; index < caseCount && failures < 10; ++index) {
        const uint32_t seed = firstSeed + static_cast<uint32_t>(index);
        Generator g{std::mt19937(seed)};
        const int kind = index % 10;
        const std::string bytes = kind < 4 ? g.document() : kind < 7 ? g.mutate(g.document())
                                  : kind == 7 ? g.encode(g.document()) : g.structure(index % 1000 == 9);
        ASSERT_TRUE(writeFile(path, bytes));
        const std::wstring detail = judge(bytes);
        const bool valid = validateSessionFile(path);
        ++outcomes[detail.substr(0, 22)];
        if (valid != detail.empty() && ++failures)
            ADD_FAILURE() << "case " << index << " (seed 0x" << std::hex << seed << ") "
                          << (valid ? "accepted" : "rejected") << "; the oracle says "
                          << (valid ? utf8(detail) : "accept");
        if (valid) continue;
        entryCase[expected.size()] = index;
        expected += (L"\"" + path + L"\" is invalid.\n" + detail + L"\n").substr(0, 4095) + L"\n";
    }
    // One entry for each rejection and none for an acceptance.
    const std::wstring logged = log.text();
    const size_t at = std::mismatch(logged.begin(), logged.end(), expected.begin(), expected.end()).first -
                      logged.begin();
    const auto entry = std::prev(entryCase.upper_bound(at));
    EXPECT_TRUE(logged == expected) << "the log differs in the entry of case " << entry->second << ":\n"
                                    << utf8(logged.substr(entry->first, 400)) << "\nexpected:\n"
                                    << utf8(expected.substr(entry->first, 400));
    EXPECT_EQ(outcomes.size(), 7u) << "every verdict is reached";
    EXPECT_GT(outcomes[L""], caseCount / 10);
    EXPECT_GT(outcomes[L"    Error description:"], caseCount / 20);
}

} // namespace
