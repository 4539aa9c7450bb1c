// Robustness of the session file check: generated and mutated session files,
// each from its own fixed seed, judged by an oracle written here without
// regular expressions. Set CONVOCA_FUZZ_CASE to a case number to run that
// case alone.
#include "LogTail.h"
#include "TestFiles.h"
#include "validation/AllowedHostPatterns.h"
#include "validation/SessionFileValidator.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <iostream>
#include <map>
#include <random>

namespace {

const uint32_t firstSeed = 0x5E55'1000;
const int caseCount = 10200;
const size_t logMessageLimit = 4095;

// ---------------------------------------------------------------- oracle

std::string asciiLower(std::string text) {
    for (char& c : text)
        if ('A' <= c && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    return text;
}

bool inLabelSet(char c) {
    return ('a' <= c && c <= 'z') || ('0' <= c && c <= '9') || c == '-' || c == '_' ||
           c == '.' || c == '~';
}

// "*.D" allows a host "X.D" where X is one or more label characters; a
// pattern without a star allows itself only.
bool oracleAllowsHost(const std::string& host) {
    for (const std::string pattern : allowedHostPatterns) {
        if (pattern.find('*') == std::string::npos) {
            if (host == pattern) return true;
            continue;
        }
        const std::string suffix = pattern.substr(1); // ".D"
        if (host.size() <= suffix.size()) continue;
        const size_t split = host.size() - suffix.size();
        if (host.compare(split, suffix.size(), suffix) != 0) continue;
        bool labels = true;
        for (size_t i = 0; i < split; ++i) labels = labels && inLabelSet(host[i]);
        if (labels) return true;
    }
    return false;
}

std::string hostOf(const std::string& lowerCodebase) {
    std::string host;
    for (size_t i = 8; i < lowerCodebase.size(); ++i) {
        const char c = lowerCodebase[i];
        if (c == '/' || c == '?' || c == '#') break;
        host += c;
    }
    return host;
}

enum Outcome { accepted, parseFailure, notSingle, wrongRoot, noCodebase, wrongScheme, wrongHost };

struct Verdict {
    Outcome outcome;
    std::wstring detail; // as the log entry's detail should read
};

Verdict judge(const std::string& bytes) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(bytes.data(), bytes.size());
    if (parsed.status != pugi::status_ok)
        return {parseFailure, L"    Error description: " + fromUtf8(parsed.description()) +
                                  L"\n    Error offset: " + std::to_wstring(parsed.offset)};

    const pugi::xml_node top = document.first_child();
    if (!top) return {notSingle, L"    The jnlp node could not be found.\n"};
    if (top.next_sibling()) return {notSingle, L"    The jnlp node must have no siblings.\n"};
    const std::string name = asciiLower(top.name());
    if (name != "jnlp")
        return {wrongRoot, L"    The root node must be \"jnlp\" not \"" + fromUtf8(name) + L"\"\n"};

    pugi::xml_attribute codebase;
    for (pugi::xml_attribute a = top.first_attribute(); a && !codebase; a = a.next_attribute())
        if (std::string(a.name()) == "codebase") codebase = a;
    if (!codebase)
        return {noCodebase, L"    The \"codebase\" attribute of the \"jnlp\" node is missing.\n"};

    const std::string value = asciiLower(codebase.value());
    if (value.rfind("https://", 0) != 0)
        return {wrongScheme,
                L"    The \"codebase\" value of the \"jnlp\" node must begin with \"https://\".\n"};
    const std::string host = hostOf(value);
    if (!oracleAllowsHost(host))
        return {wrongHost, L"    The \"codebase\" host \"" + fromUtf8(host) + L"\" is invalid.\n"};
    return {accepted, L""};
}

// ---------------------------------------------------------------- generator

class Generator {
public:
    explicit Generator(uint32_t seed) : rng(seed) {}

    std::string next(int index, const char*& kind) {
        switch (index % 10) {
        case 0: case 1: case 2: case 3: kind = "grammar"; return document(codebase());
        case 4: case 5: case 6: kind = "mutated"; return mutate(document(codebase()));
        case 7: kind = "encoding"; return encode(document(codebase()));
        case 8: kind = "structure"; return structure();
        default: kind = "huge"; return huge(index % 1000 == 9);
        }
    }

private:
    size_t below(size_t n) { return n ? std::uniform_int_distribution<size_t>(0, n - 1)(rng) : 0; }
    bool chance(int percent) { return below(100) < static_cast<size_t>(percent); }
    template <typename T, size_t N> const T& pick(const T (&items)[N]) { return items[below(N)]; }

    std::string domain() {
        std::string d = std::string(allowedHostPatterns[below(allowedHostPatterns.size())]).substr(2);
        if (chance(70)) return chance(15) ? mixCase(d) : d;
        switch (below(7)) {
        case 0: return d.substr(1);
        case 1: return d + "x";
        case 2: return d + ".evil.example";
        case 3: { std::string u = d; u[u.find('.')] = '_'; return u; }
        case 4: return d.substr(d.rfind('.') + 1);
        case 5: return "evil.example";
        default: return "";
        }
    }

    std::string mixCase(std::string text) {
        for (char& c : text)
            if (chance(50)) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        return text;
    }

    std::string label() {
        static const char* const odd[] = {"%2e", "%41", "\xC3\xBC", "\xC3\xA9", "\xE6\x97\xA5",
                                          "\xF0\x9F\x98\x80", " ", ":", "@", "\\", "!", "\xFF"};
        static const std::string plain = "abcdefghijklmnopqrstuvwxyz0123456789-_~";
        std::string result;
        const size_t length = 1 + below(8);
        for (size_t i = 0; i < length; ++i) {
            if (chance(2)) result += pick(odd);
            else if (chance(10)) result += static_cast<char>('A' + below(26));
            else result += plain[below(plain.size())];
        }
        return result;
    }

    std::string codebase() {
        static const char* const schemes[] = {"https://", "https://", "https://", "https://",
                                              "https://", "https://", "https://", "https://",
                                              "https://", "https://", "HTTPS://", "Https://",
                                              "http://", "https:/", "https:", "", "ftp://",
                                              " https://", "https://https://"};
        static const char* const users[] = {"user@", "u:p@", "@"};
        static const char* const ports[] = {":443", ":", ":8443x"};
        static const char* const tails[] = {"/", "/client/", "?a=b", "#f", "/?#", "?/x", "#/"};
        std::string text = pick(schemes);
        if (chance(10)) text += pick(users);
        const size_t labels = chance(90) ? 1 + below(3) : 0;
        for (size_t i = 0; i < labels; ++i) text += label() + (chance(95) ? "." : chance(50) ? "" : "..");
        text += domain();
        if (chance(5)) text += ".";
        if (chance(8)) text += pick(ports);
        if (chance(60)) text += pick(tails);
        return text;
    }

    std::string escaped(const std::string& value, char quote) {
        std::string result;
        for (char c : value) {
            if (c == '&') result += "&amp;";
            else if (c == '<') result += "&lt;";
            else if (c == quote) result += quote == '"' ? "&quot;" : "&apos;";
            else if (c == '.' && chance(3)) result += "&#46;";
            else if (c == '/' && chance(3)) result += "&#x2F;";
            else result += c;
        }
        return result;
    }

    std::string attribute(const std::string& name, const std::string& value) {
        const char quote = chance(80) ? '"' : '\'';
        return " " + name + "=" + quote + escaped(value, quote) + quote;
    }

    std::string document(const std::string& codebaseValue) {
        static const char* const roots[] = {"jnlp", "jnlp", "jnlp", "jnlp", "jnlp", "jnlp",
                                            "jnlp", "jnlp", "jnlp", "JNLP", "Jnlp", "jnlpx",
                                            "foo", "jnlp:x", "j"};
        static const char* const names[] = {"codebase", "codebase", "codebase", "codebase",
                                            "codebase", "codebase", "CodeBase", "codeBase",
                                            "code_base"};
        std::string text;
        if (chance(50)) text += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
        if (chance(30)) text += "<!-- session " + std::to_string(below(1000)) + " -->\n";
        if (chance(10)) text += "<?xml-stylesheet href=\"s.css\"?>";
        const std::string root = pick(roots);
        text += "<" + root;
        if (chance(40)) text += attribute("version", "1.0+");
        if (chance(95)) text += attribute(pick(names), codebaseValue);
        if (chance(3)) text += attribute("codebase", "http://duplicate.example/");
        if (chance(30)) text += attribute("href", "session.vca");
        if (chance(30)) {
            text += "/>";
        } else {
            text += ">\n  <information><title>Convoca &amp; co</title></information>\n";
            if (chance(20)) text += "  <![CDATA[ <jnlp codebase='https://x'/> ]]>\n";
            text += "</" + root + ">";
        }
        if (chance(20)) text += "\n<!-- end -->";
        if (chance(50)) text += "\n";
        return text;
    }

    std::string mutate(std::string text) {
        const size_t edits = 1 + below(4);
        for (size_t e = 0; e < edits && !text.empty(); ++e) {
            const size_t at = below(text.size());
            switch (below(7)) {
            case 0: text[at] = static_cast<char>(text[at] ^ (1 << below(8))); break;
            case 1: text[at] = static_cast<char>(below(256)); break;
            case 2: text.resize(at); break;
            case 3: text.insert(at, 1 + below(8), static_cast<char>(below(256))); break;
            case 4: text.erase(at, 1 + below(16)); break;
            case 5: text.insert(at, text.substr(at, 1 + below(32))); break;
            default: text.insert(at, 1, "<>\"'&/="[below(7)]); break;
            }
        }
        return text;
    }

    static void appendUnit(std::string& out, uint32_t unit, int bytes, bool big) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = 8 * (big ? bytes - 1 - i : i);
            out += static_cast<char>((unit >> shift) & 0xFF);
        }
    }

    std::string encode(const std::string& utf8Text) {
        const std::wstring wide = fromUtf8(utf8Text);
        switch (below(6)) {
        case 0: return "\xEF\xBB\xBF" + utf8Text;
        case 1: case 2: case 3: {
            const bool big = below(2) == 1;
            std::string out;
            if (below(3) != 0) appendUnit(out, 0xFEFF, 2, big);
            for (wchar_t c : wide) appendUnit(out, static_cast<uint16_t>(c), 2, big);
            return out;
        }
        case 4: {
            std::string out;
            appendUnit(out, 0xFEFF, 4, false);
            for (size_t i = 0; i < wide.size(); ++i) {
                uint32_t c = static_cast<uint16_t>(wide[i]);
                if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size())
                    c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint16_t>(wide[++i]) - 0xDC00);
                appendUnit(out, c, 4, false);
            }
            return out;
        }
        default: {
            // Latin-1 by declaration: a byte above 0x7F is a character of its own.
            std::string text = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><jnlp codebase=\"https://";
            text += chance(50) ? "m\xFC" : "meet";
            return text + "." + domain() + "/\"/>";
        }
        }
    }

    std::string structure() {
        const std::string jnlp = document(codebase());
        switch (below(8)) {
        case 0: return jnlp + "<jnlp/>";
        case 1: return "<!DOCTYPE jnlp [<!ENTITY x 'y'><![IGNORE[<!ELEMENT a ANY>]]>]>" + jnlp;
        case 2: return "text before " + jnlp;
        case 3: return jnlp + " text after";
        case 4: return "<!DOCTYPE a [" + std::string(below(2000), '<') + "]>" + jnlp;
        case 5: {
            const size_t depth = 1 + below(chance(10) ? 200000 : 2000);
            std::string open, close;
            for (size_t i = 0; i < depth; ++i) open += "<a>";
            if (chance(80))
                for (size_t i = 0; i < depth; ++i) close += "</a>";
            return "<jnlp codebase=\"https://meet." + domain() + "/\">" + open + close + "</jnlp>";
        }
        case 6: return "<![CDATA[x]]>" + jnlp;
        default: return std::string(1 + below(50), '\n') + jnlp + std::string(below(50), ' ');
        }
    }

    std::string huge(bool megabyte) {
        const size_t length = megabyte ? (1u << 20) : 4096 + below(128 * 1024);
        static const std::string plain = "abcdefghijklmnopqrstuvwxyz0123456789-_~.";
        std::string host(length, 'a');
        for (char& c : host) c = plain[below(plain.size())];
        if (chance(30)) host[below(host.size())] = "A:@%!"[below(5)];
        switch (below(4)) {
        case 0: return "<jnlp codebase=\"https://" + host + "." + domain() + "/\"/>";
        case 1: return "<jnlp href=\"" + host + "\" codebase=\"https://meet." + domain() + "\"/>";
        case 2: {
            std::string text = "<jnlp";
            const size_t count = 1 + below(5000);
            for (size_t i = 0; i < count; ++i) text += " a" + std::to_string(i) + "=\"v\"";
            return text + attribute("codebase", "https://meet." + domain()) + "/>";
        }
        default: return "<" + host.substr(0, length / 2) + " codebase=\"https://m." + domain() + "\"/>";
        }
    }

    std::mt19937 rng;
};

// ---------------------------------------------------------------- test

std::wstring expectedEntry(const std::wstring& path, const std::wstring& detail) {
    return (L"\"" + path + L"\" is invalid.\n" + detail + L"\n").substr(0, logMessageLimit);
}

TEST(SessionFileRobustness, GeneratedFilesAreJudgedAsTheOracleJudgesThem) {
    int first = 0, last = caseCount;
    if (const char* only = std::getenv("CONVOCA_FUZZ_CASE")) {
        first = std::atoi(only);
        last = first + 1;
    }
    TempDir dir;
    const std::wstring path = dir / L"fuzz.vca";
    LogTail tail;
    std::vector<std::wstring> expected;
    std::vector<int> expectedCase;
    std::map<Outcome, int> outcomes;
    int failures = 0;

    for (int index = first; index < last && failures < 10; ++index) {
        const uint32_t seed = firstSeed + static_cast<uint32_t>(index);
        Generator generator(seed);
        const char* kind = "";
        const std::string bytes = generator.next(index, kind);
        ASSERT_TRUE(writeFile(path, bytes));

        const Verdict verdict = judge(bytes);
        const bool valid = validateSessionFile(path);
        ++outcomes[verdict.outcome];
        if (valid != (verdict.outcome == accepted)) {
            ++failures;
            ADD_FAILURE() << "case " << index << " (" << kind << ", seed 0x" << std::hex << seed
                          << std::dec << "): validator " << (valid ? "accepted" : "rejected")
                          << ", oracle says " << (valid ? utf8(verdict.detail) : "accept");
        }
        if (!valid) {
            expected.push_back(expectedEntry(path, verdict.detail));
            expectedCase.push_back(index);
        }
    }

    const std::vector<std::wstring> logged = tail.entries();
    EXPECT_EQ(logged.size(), expected.size()) << "one log entry per rejection, none per acceptance";
    for (size_t i = 0, shown = 0; i < std::min(logged.size(), expected.size()) && shown < 5; ++i) {
        if (logged[i] == expected[i]) continue;
        ++shown;
        ADD_FAILURE() << "log entry of case " << expectedCase[i] << " differs:\n"
                      << utf8(logged[i]) << "\nexpected:\n" << utf8(expected[i]);
    }

    std::cout << "cases " << last - first << ": accepted " << outcomes[accepted] << ", parse "
              << outcomes[parseFailure] << ", siblings " << outcomes[notSingle] << ", root "
              << outcomes[wrongRoot] << ", no codebase " << outcomes[noCodebase] << ", scheme "
              << outcomes[wrongScheme] << ", host " << outcomes[wrongHost] << "\n";
    if (last - first == caseCount) {
        // The generator must reach every verdict, and acceptance often.
        for (Outcome o : {accepted, parseFailure, notSingle, wrongRoot, noCodebase, wrongScheme,
                          wrongHost})
            EXPECT_GT(outcomes[o], 0) << "no case with outcome " << o;
        EXPECT_GT(outcomes[accepted], caseCount / 10);
        EXPECT_GT(outcomes[parseFailure], caseCount / 20);
    }
}

} // namespace
