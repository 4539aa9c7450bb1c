// Robustness of the session file check: case i is generated from the fixed seed firstSeed + i and judged
// by an oracle written here without regular expressions.
#include "LogTail.h"
#include "validation/AllowedHostPatterns.h"
#include "validation/SessionFileValidator.h"

#include <map>
#include <pugixml.hpp>
#include <random>

static const uint32_t firstSeed = 0x5E551000;
static const int caseCount = 10200;
static const std::string labelSet = "abcdefghijklmnopqrstuvwxyz0123456789-_.~";

static std::string lower(std::string text) {
    for (char& c : text) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    return text;
}

// The detail the validator should log, or empty for an acceptance.
static std::wstring judge(const std::string& bytes) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(bytes.data(), bytes.size());
    if (parsed.status != pugi::status_ok)
        return L"    Error description: " + fromUtf8(parsed.description()) + L"\n    Error offset: " +
               std::to_wstring(parsed.offset);
    const pugi::xml_node top = document.first_child();
    if (!top) return L"    The jnlp node could not be found.\n";
    if (top.next_sibling()) return L"    The jnlp node must have no siblings.\n";
    if (lower(top.name()) != "jnlp")
        return L"    The root node must be \"jnlp\" not \"" + fromUtf8(lower(top.name())) + L"\"\n";
    if (!top.attribute("codebase")) return L"    The \"codebase\" attribute of the \"jnlp\" node is missing.\n";
    const std::string value = lower(top.attribute("codebase").value());
    if (value.substr(0, 8) != "https://")
        return L"    The \"codebase\" value of the \"jnlp\" node must begin with \"https://\".\n";
    const std::string host = value.substr(8, value.find_first_of("/?#", 8) - 8);
    for (const std::string pattern : allowedHostPatterns) // "*.D": one or more of the label set, then ".D"
        if (const size_t split = host.size() - pattern.size() + 1; host.size() >= pattern.size() &&
            host.substr(split) == pattern.substr(1) && host.find_first_not_of(labelSet) >= split)
            return L"";
    return L"    The \"codebase\" host \"" + fromUtf8(host) + L"\" is invalid.\n";
}

// Case index from its own seed: a document around a codebase from a grammar of labels, dots, ports, user
// information, case, percent-escapes and non-ASCII hosts; kinds 4 to 6 are then mutated, 7 encoded anew,
// 8 given a huge host and 9 deep nesting. Siblings, text and comments may surround the root.
static std::string generate(int index) {
    std::mt19937 rng(firstSeed + static_cast<uint32_t>(index));
    auto below = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    auto chance = [&](size_t percent) { return below(100) < percent; };
    auto pick = [&](std::initializer_list<const char*> list) { return std::string(list.begin()[below(list.size())]); };
    const int kind = index % 10;
    std::string url = chance(85) ? "https://" : pick({"HTTPS://", "Https://", "http://", "https:/", "", " https://"});
    url += chance(10) ? pick({"user@", "u:p@", "@"}) : "";
    const size_t huge = index % 1000 == 8 ? 1 << 20 : 4096 + below(128 * 1024), odd = kind == 8 ? 0 : 4;
    for (size_t labels = chance(90) ? 1 + below(3) : 0; labels > 0; --labels, url += ".")
        for (size_t n = kind == 8 ? huge : 1 + below(8); n > 0; --n)
            url += chance(odd) ? pick({"%2e", "%41", "\xC3\xBC", "\xE6\x97\xA5", "\xF0\x9F\x98\x80", " ", "@", "\xFF"})
                               : std::string(1, chance(2) ? 'A' : labelSet[below(labelSet.size())]);
    std::string domain = allowedHostPatterns[below(allowedHostPatterns.size())] + 2;
    for (char& c : domain) c = chance(1) ? static_cast<char>(toupper(c)) : c;
    url += chance(5) ? domain.substr(below(domain.size())) : domain;
    url += pick({"", "", "", "", "", ":443", ":", ".", "x", ".evil.example", "/", "/client/", "?a=b", "#f", "/?#"});
    const std::string root = chance(85) ? "jnlp" : pick({"JNLP", "Jnlp", "jnlpx", "foo", "jnlp:x"});
    std::string text = pick({"", "", "<?xml version=\"1.0\"?><!-- s --><?pi x?>\n", "text "}) + "<" + root + " ";
    text += (chance(90) ? "codebase" : pick({"CodeBase", "codeBase", "code_base"})) + "=\"";
    for (char c : url) text += c == '.' && chance(3) ? std::string("&#46;") : std::string(1, c);
    text += chance(3) ? "\" codebase=\"http://duplicate.example/\"" : "\"";
    std::string open, close;
    for (size_t depth = kind == 9 ? 1 + below(chance(10) ? 200000 : 2000) : 0; depth > 0; --depth)
        open += "<a>", close += "</a>";
    if (kind != 9 && chance(30)) text += "/>";
    else text += "><title>A &amp; B</title><![CDATA[<jnlp/>]]>" + open + (chance(80) ? close : "") + "</" + root + ">";
    text += pick({"", "", "", "", "<!-- end -->\n", "<jnlp/>", " text"});
    if (kind >= 4 && kind <= 6) // byte flips, inserted bytes, cuts and truncations
        for (size_t n = 1 + below(4); n > 0 && !text.empty(); --n) {
            const size_t at = below(text.size()), change = below(5);
            if (change == 0) text[at] = static_cast<char>(text[at] ^ (1 << below(8)));
            else if (change == 1) text.insert(at, 1 + below(8), static_cast<char>(below(256)));
            else if (change == 2) text.insert(at, 1, "<>\"'&/="[below(7)]);
            else if (change == 3) text.erase(at, 1 + below(16));
            else text.resize(at);
        }
    if (kind != 7 || chance(25)) return kind == 7 ? "\xEF\xBB\xBF" + text : text;
    const bool big = chance(50); // UTF-16 in either order, mostly with a byte-order mark
    std::string out = chance(70) ? (big ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (wchar_t c : fromUtf8(text)) out += std::string{char(big ? c >> 8 : c), char(big ? c : c >> 8)};
    return out;
}

TEST(SessionFileRobustness, GeneratedFilesAreJudgedAsTheOracleJudgesThem) {
    TempDir dir;
    const std::wstring path = dir / L"fuzz.vca";
    LogTail log;
    std::vector<std::pair<int, std::wstring>> entries; // the expected entry of each rejected case
    std::map<std::wstring, int> outcomes;
    for (int index = 0, failures = 0; index < caseCount && failures < 10; ++index) {
        const std::string bytes = generate(index);
        ASSERT_TRUE(writeFile(path, bytes));
        const std::wstring detail = judge(bytes);
        const bool valid = validateSessionFile(path);
        ++outcomes[detail.substr(0, 22)];
        if (valid != detail.empty() && ++failures)
            ADD_FAILURE() << "case " << index << " (seed 0x" << std::hex << firstSeed + index << ") "
                          << (valid ? "accepted; the oracle says " + utf8(detail) : "rejected; the oracle accepts");
        if (!valid)
            entries.emplace_back(index, (L"\"" + path + L"\" is invalid.\n" + detail + L"\n").substr(0, 4095) + L"\n");
    }
    const std::wstring logged = log.text();
    size_t at = 0; // one entry for each rejection and none for an acceptance
    for (const auto& [index, entry] : entries) {
        ASSERT_EQ(logged.substr(at, entry.size()), entry) << "case " << index;
        at += entry.size();
    }
    EXPECT_EQ(at, logged.size());
    EXPECT_EQ(outcomes.size(), 7u) << "every verdict is reached";
    EXPECT_GT(outcomes[L""], caseCount / 10);
    EXPECT_GT(outcomes[L"    Error description:"], caseCount / 20);
}
