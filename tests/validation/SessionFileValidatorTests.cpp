// The session file check, case by case, each with its exact log entry.
#include "LogTail.h"
#include "TestFiles.h"
#include "validation/AllowedHostPatterns.h"
#include "validation/SessionFileValidator.h"

#include <gtest/gtest.h>

namespace {

const std::string domain = std::string(allowedHostPatterns[0]).substr(2), meet = "meet." + domain;

// A declaration, a comment and a processing instruction before the root, a
// comment after it.
std::string session(const std::string& codebase, const std::string& root = "jnlp") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- a session -->\n<?pi x?>\n<" + root +
           " codebase=\"" + codebase + "\" href=\"s.vca\">\n  <information/>\n</" + root +
           ">\n<!-- end -->\n";
}

std::wstring badHost(const std::string& host) {
    return L"    The \"codebase\" host \"" + fromUtf8(host) + L"\" is invalid.\n";
}

// As the log holds it: the logger keeps the first 4,095 characters of a message.
std::wstring entry(const std::wstring& path, const std::wstring& detail) {
    return (L"\"" + path + L"\" is invalid.\n" + detail + L"\n").substr(0, 4095) + L"\n";
}

TEST(SessionFileValidation, EachCaseIsJudgedAndLoggedExactly) {
    const std::wstring scheme =
        L"    The \"codebase\" value of the \"jnlp\" node must begin with \"https://\".\n";
    const std::string label(1 << 20, 'a'), jnlp = "<jnlp codebase=\"https://a." + domain + "\">";
    std::string loud = "HTTPS://" + meet + "/CLIENT/";
    for (char& c : loud) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    struct Row { std::string bytes; std::wstring detail; }; // accepted when detail is empty
    std::vector<Row> rows = {
        {session("https://" + meet + "/client/"), L""},
        {session(loud, "JNLP"), L""},
        {session("https://" + meet + "?s=1/2"), L""},
        {session("https://" + meet + "#part"), L""},
        {session("https://a.b.c." + domain), L""},
        {session("https://" + label + "." + domain + "/"), L""},
        {"<jnlp CodeBase=\"https://a." + domain + "\"/>",
         L"    The \"codebase\" attribute of the \"jnlp\" node is missing.\n"},
        {session("http://" + meet), scheme},
        {session("https://"), badHost("")},
        {session("https://" + meet + ":443/"), badHost(meet + ":443")},
        {session("https://user@" + meet), badHost("user@" + meet)},
        {session("https://" + meet + "./"), badHost(meet + ".")},
        {session("https://evil.example?x=" + meet), badHost("evil.example")},
        {session("https://" + domain + "/"), badHost(domain)},
        {session("https://m\xC3\xBCt." + domain), badHost("m\xC3\xBCt." + domain)},
        {session("https://" + label + ".evil.example/"), badHost(label + ".evil.example")},
        {jnlp + "</jnlp><jnlp/>", L"    The jnlp node must have no siblings.\n"},
        {jnlp + "</jnlpx>", L"    Error description: Start-end tags mismatch\n    Error offset: " +
                                std::to_wstring(jnlp.size() + 2)},
    };
    for (const char* pattern : allowedHostPatterns)
        rows.push_back({session("https://meet" + std::string(pattern + 1)), L""});

    TempDir dir;
    const std::wstring path = dir / L"S\u00e9ance \u65e5\u672c \u0414.vca";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes.substr(0, 200));
        ASSERT_TRUE(writeFile(path, row.bytes));
        LogTail log;
        EXPECT_EQ(validateSessionFile(path), row.detail.empty());
        EXPECT_EQ(log.text(), row.detail.empty() ? L"" : entry(path, row.detail));
    }
    const std::wstring missing = dir / L"missing.vca";
    LogTail log;
    EXPECT_FALSE(validateSessionFile(missing));
    EXPECT_EQ(log.text(), entry(missing, L"    Error description: File was not found\n    Error offset: 0"));
}

} // namespace
