// The host matcher and the session file check, case by case, each with its exact log entry.
#include "LogTail.h"
#include "validation/AllowedHostPatterns.h"
#include "validation/HostMatcher.h"
#include "validation/SessionFileValidator.h"

TEST(HostMatcher, EachStarStandsForOneOrMoreLabelCharactersAndAllElseForItself) {
    const std::string dots(1 << 20, '.'), pattern = "*.tavisto.com";
    for (const std::string& host :
         std::vector<std::string>{"meet.tavisto.com", "a.b-c_d~e.tavisto.com", "..tavisto.com", dots + ".tavisto.com"})
        EXPECT_TRUE(hostMatchesPattern(host, pattern)) << host.substr(0, 40);
    for (const char* host : {".tavisto.com", "tavisto.com", "meet.tavisto.com.", "Meet.tavisto.com",
                             "meet.tavisto.com:443", "evil.example/.tavisto.com", "meetXtavisto.com", "a.tavisto.comm"})
        EXPECT_FALSE(hostMatchesPattern(host, pattern)) << host;
    EXPECT_TRUE(hostMatchesPattern("ab", "**") && hostMatchesPattern("", ""));
    EXPECT_FALSE(hostMatchesPattern("a", "**") || hostMatchesPattern("a", "") ||
                 hostMatchesPattern(dots + ":443", "*.*.*"));
}

static const std::string domain = std::string(kAllowedHostPatterns[0]).substr(2), meet = "meet." + domain;

// A declaration, a comment and a processing instruction before the root, a comment after it.
static std::string session(const std::string& codebase, const std::string& root = "jnlp") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- a session -->\n<?pi x?>\n<" + root + " codebase=\"" +
           codebase + "\" href=\"s.vca\">\n  <information/>\n</" + root + ">\n<!-- end -->\n";
}
static std::string https(const std::string& rest) { return session("https://" + rest); }
static std::wstring badHost(const std::string& host) {
    return L"    The \"codebase\" host \"" + fromUtf8(host) + L"\" is invalid.\n";
}

// Addresses of code that Java Web Start fetches must stay on the allowed hosts; other addresses are free.
static std::string code(const std::string& jnlpHref, const std::string& resources) {
    return "<jnlp codebase=\"https://" + meet + "/\" href=\"" + jnlpHref + "\"><resources>" + resources +
           "</resources></jnlp>";
}
static std::wstring foreign(const std::string& element, const std::string& href) {
    return L"    The \"href\" value \"" + fromUtf8(href) + L"\" of the \"" + fromUtf8(element) +
           L"\" node is not an https:// address on an allowed host.\n";
}

TEST(SessionFileValidation, EachCaseIsJudgedAndLoggedExactly) {
    const std::string label(1 << 20, 'a'), jnlp = "<jnlp codebase=\"https://a." + domain + "\">", u8 = "m\xC3\xBCt.",
                                           evil = "https://evil.example/x.jar",
                                           plain = "http://cdn." + domain + "/x.jar";
    std::string loud = "HTTPS://" + meet + "/CLIENT/", many = "<jnlp codebase=\"https://a." + domain + "\"";
    for (int n = 0; n < 200000; ++n) many += " a" + std::to_string(n) + "=\"\"";
    const std::wstring subset = L"    The document type declaration must have no internal subset.\n";
    for (char& c : loud) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    struct Row {
        std::string bytes;
        std::wstring detail = L"";
    }; // accepted when detail is empty
    std::vector<Row> rows = {
        {session(loud, "JNLP")},
        {"<jnlp CodeBase=\"https://a." + domain + "\"/>",
         L"    The \"codebase\" attribute of the \"jnlp\" node is missing.\n"},
        {session("http://" + meet), L"    The \"codebase\" value of the \"jnlp\" node must begin with \"https://\".\n"},
        {https(""), badHost("")},
        {https(meet + ":443/"), badHost(meet + ":443")},
        {https("user@" + meet), badHost("user@" + meet)},
        {https("evil.example?x=" + meet), badHost("evil.example")},
        {https(u8 + domain), badHost(u8 + domain)},
        {https(label + ".evil.example/"), badHost(label + ".evil.example")},
        {jnlp + "</jnlp><jnlp/>", L"    The jnlp node must have no siblings.\n"},
        {jnlp + "</jnlpx>",
         L"    Error description: Start-end tags mismatch\n    Error offset: " + std::to_wstring(jnlp.size() + 2)},
        {"", L"    Error description: File was not found\n    Error offset: 0"}, // not written
        {code("https://" + meet + "/s.vca", "<jar href=\"HTTPS://CDN." + domain + "/x.jar\"/>")},
        {code("s.vca", "<icon href=\"https://vendor.example/i.png\"/><j2se href=\"http://vendor.example/\"/>")},
        {code("s.vca", "<jar href=\"" + evil + "\"/>"), foreign("jar", evil)},
        {code("s.vca", "<jar href=\" //evil.example/x.jar\"/>"), foreign("jar", " //evil.example/x.jar")},
        {code("https://evil.example/s.jnlp", ""), foreign("jnlp", "https://evil.example/s.jnlp")},
        {code("s.vca", "<jar href=\"lib/x.jar\"/><nativelib href=\"" + evil + "\"/>"), foreign("nativelib", evil)},
        {code("s.vca", "<extension href=\"" + plain + "\"/>"), foreign("extension", plain)},
        {code("s.vca", "<jar href=\"a.jar\" HREF=\"b\" href=\"" + evil + "\"/>"),
         L"    The \"href\" attribute of the \"jar\" node is repeated.\n"},
        {code("s.vca", "<jar href=\"a.jar\" href=\"" + evil + "\"/>"),
         L"    The \"href\" attribute of the \"jar\" node is repeated.\n"}, // just the two
        {code("s.vca", "<jar aa=\"1\" href=\"a.jar\" aa=\"2\"/>"),
         L"    The \"aa\" attribute of the \"jar\" node is repeated.\n"}, // first in name order
        {many + " codebase=\"https://evil.example/\"/>",
         L"    The \"codebase\" attribute of the \"jnlp\" node is repeated.\n"},
        {"<!DOCTYPE jnlp PUBLIC \"-//x//DTD JNLP 6.0//EN\" 'http://x/[1]<2>.dtd'>" + code("s.vca", "")},
        {"<!DOCTYPE jnlp [<!ENTITY e \"" + evil + "\">]>" + code("s.vca", "<jar href=\"&e;\"/>"), subset},
        {"<!DOCTYPE jnlp SYSTEM \"x.dtd\"[<!ATTLIST jar href CDATA \"" + evil + "\">]>" + code("s.vca", "<jar/>"),
         subset}};
    for (const char* pattern : kAllowedHostPatterns) rows.push_back({https("meet" + std::string(pattern + 1))});
    TempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes.substr(0, 200));
        const std::wstring path = dir / (row.bytes.empty() ? L"missing.vca" : L"S\u00e9ance \u65e5\u672c \u0414.vca");
        ASSERT_TRUE(row.bytes.empty() || writeFile(path, row.bytes));
        LogTail log;
        EXPECT_EQ(validateSessionFile(path), row.detail.empty());
        const std::wstring entry = L"\"" + path + L"\" is invalid.\n" + row.detail + L"\n";
        EXPECT_EQ(log.text(), row.detail.empty() ? L"" : entry.substr(0, 4095) + L"\n") << "messages keep 4,095 chars";
    }
}
