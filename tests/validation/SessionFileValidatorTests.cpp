// The session file check, case by case, each with the exact log entry.
#include "LogTail.h"
#include "TestFiles.h"
#include "validation/AllowedHostPatterns.h"
#include "validation/SessionFileValidator.h"

#include <gtest/gtest.h>

namespace {

// The first configured pattern's domain, "*." removed.
std::string allowedDomain() { return std::string(allowedHostPatterns[0]).substr(2); }

std::string sessionFile(const std::string& codebase) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<!-- A session link as the server hands it out. -->\n"
           "<jnlp codebase=\"" + codebase + "\" href=\"session.vca\">\n"
           "  <information><title>Convoca session</title></information>\n"
           "</jnlp>\n";
}

std::wstring entry(const std::wstring& path, const std::wstring& detail) {
    return L"\"" + path + L"\" is invalid.\n" + detail + L"\n";
}

std::wstring hostDetail(const std::string& host) {
    return L"    The \"codebase\" host \"" + fromUtf8(host) + L"\" is invalid.\n";
}

const std::wstring schemeDetail =
    L"    The \"codebase\" value of the \"jnlp\" node must begin with \"https://\".\n";
const std::wstring missingCodebaseDetail =
    L"    The \"codebase\" attribute of the \"jnlp\" node is missing.\n";

class SessionFileValidation : public ::testing::Test {
protected:
    // Writes the file, validates it and returns the result; the entries it
    // logged are in `logged`.
    bool validate(const std::string& bytes, const std::wstring& name = L"session.vca") {
        path = dir / name;
        EXPECT_TRUE(writeFile(path, bytes));
        return validatePath(path);
    }
    bool validatePath(const std::wstring& file) {
        LogTail tail;
        const bool valid = validateSessionFile(file);
        logged = tail.entries();
        return valid;
    }
    void expectAccepted(const std::string& bytes) {
        EXPECT_TRUE(validate(bytes));
        EXPECT_TRUE(logged.empty()) << "an accepted file logs nothing";
    }
    void expectRejected(const std::string& bytes, const std::wstring& detail) {
        EXPECT_FALSE(validate(bytes));
        EXPECT_EQ(logged, std::vector<std::wstring>{entry(path, detail)});
    }

    TempDir dir;
    std::wstring path;
    std::vector<std::wstring> logged;
};

TEST_F(SessionFileValidation, DeclarationAndCommentBeforeTheRootAreNotSiblings) {
    expectAccepted(sessionFile("https://meet." + allowedDomain() + "/client/"));
    expectAccepted("<?xml version=\"1.0\"?><?style x?><!-- one --><!-- two -->"
                   "<jnlp codebase=\"https://a." + allowedDomain() + "\"/><!-- after -->");
}

TEST_F(SessionFileValidation, NameAndCodebaseAreComparedInLowerCase) {
    std::string upper = "HTTPS://MEET." + allowedDomain() + "/CLIENT/";
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    expectAccepted("<JNLP codebase=\"" + upper + "\"></JNLP>");
    expectAccepted("<Jnlp codebase=\"hTTpS://Meet." + allowedDomain() + "\"/>");
}

TEST_F(SessionFileValidation, AnotherRootIsReportedInLowerCase) {
    expectRejected("<Foo codebase=\"https://a." + allowedDomain() + "\"/>",
                   L"    The root node must be \"jnlp\" not \"foo\"\n");
    expectRejected("<jnlp:x xmlns:jnlp=\"u\"/>",
                   L"    The root node must be \"jnlp\" not \"jnlp:x\"\n");
}

TEST_F(SessionFileValidation, AttributeNamesAreCaseSensitive) {
    expectRejected("<jnlp CodeBase=\"https://a." + allowedDomain() + "\"/>", missingCodebaseDetail);
    expectRejected("<jnlp/>", missingCodebaseDetail);
}

TEST_F(SessionFileValidation, TheFirstCodebaseAttributeCounts) {
    // Duplicate attributes are not checked by the parser; the first wins.
    expectAccepted("<jnlp codebase=\"https://a." + allowedDomain() +
                   "\" codebase=\"http://evil.example\"/>");
    expectRejected("<jnlp codebase=\"http://evil.example\" codebase=\"https://a." +
                       allowedDomain() + "\"/>",
                   schemeDetail);
}

TEST_F(SessionFileValidation, SchemeMustBeHttps) {
    expectRejected(sessionFile("http://meet." + allowedDomain() + "/"), schemeDetail);
    expectRejected(sessionFile("https:/"), schemeDetail);
    expectRejected(sessionFile(""), schemeDetail);
    expectRejected(sessionFile(" https://meet." + allowedDomain()), schemeDetail);
}

TEST_F(SessionFileValidation, BareSchemeGivesAnEmptyHost) {
    expectRejected(sessionFile("https://"), hostDetail(""));
    expectRejected(sessionFile("https:///client/"), hostDetail(""));
}

TEST_F(SessionFileValidation, PortUserInformationAndTrailingDotStayInTheHost) {
    const std::string host = "meet." + allowedDomain();
    expectRejected(sessionFile("https://" + host + ":443/client/"), hostDetail(host + ":443"));
    expectRejected(sessionFile("https://user@" + host + "/"), hostDetail("user@" + host));
    expectRejected(sessionFile("https://" + host + "./"), hostDetail(host + "."));
}

TEST_F(SessionFileValidation, QueryAndFragmentEndTheHost) {
    expectAccepted(sessionFile("https://meet." + allowedDomain() + "?session=1/2"));
    expectAccepted(sessionFile("https://meet." + allowedDomain() + "#part"));
    // Only the first terminator counts: an allowed name after it is no help.
    expectRejected(sessionFile("https://evil.example?x=meet." + allowedDomain()),
                   hostDetail("evil.example"));
}

TEST_F(SessionFileValidation, TheAllowedDomainNeedsALabelBeforeIt) {
    expectRejected(sessionFile("https://" + allowedDomain() + "/"), hostDetail(allowedDomain()));
    expectRejected(sessionFile("https://." + allowedDomain() + "/"),
                   hostDetail("." + allowedDomain()));
    expectAccepted(sessionFile("https://a.b.c." + allowedDomain() + "/"));
    expectAccepted(sessionFile("https://x-1_2~y." + allowedDomain()));
}

TEST_F(SessionFileValidation, LookAlikeHostsAreRejected) {
    const std::string domain = allowedDomain();
    for (const std::string& host : {"meet" + domain, "meet." + domain + ".evil.example",
                                    "meet." + domain.substr(0, domain.size() - 1),
                                    "meet%2e" + domain, "m\xC3\xBC" "t." + domain}) {
        SCOPED_TRACE(host);
        expectRejected(sessionFile("https://" + host + "/"), hostDetail(host));
    }
}

TEST_F(SessionFileValidation, EveryConfiguredPatternIsAllowed) {
    for (const char* pattern : allowedHostPatterns) {
        std::string host = pattern;
        host.replace(0, 1, "meet");
        SCOPED_TRACE(host);
        expectAccepted(sessionFile("https://" + host + "/client/"));
    }
}

TEST_F(SessionFileValidation, MissingFileIsAParseFailure) {
    const std::wstring missing = dir / L"missing.vca";
    EXPECT_FALSE(validatePath(missing));
    EXPECT_EQ(logged, std::vector<std::wstring>{entry(
                          missing, L"    Error description: File was not found\n    Error offset: 0")});
}

TEST_F(SessionFileValidation, MalformedFilesGiveDescriptionAndOffset) {
    expectRejected("", L"    Error description: No document element found\n    Error offset: 0");
    // The offset is that of the closing tag's name, after "</".
    const std::string start = "<jnlp codebase=\"https://a." + allowedDomain() + "\">";
    expectRejected(start + "</jnlpx>",
                   L"    Error description: Start-end tags mismatch\n    Error offset: " +
                       std::to_wstring(start.size() + 2));
    // Without an element the offset is the end of the text.
    expectRejected("<!-- only a comment -->",
                   L"    Error description: No document element found\n    Error offset: 23");
}

TEST_F(SessionFileValidation, TwoTopLevelElementsAreSiblings) {
    const std::string jnlp = "<jnlp codebase=\"https://a." + allowedDomain() + "\"/>";
    expectRejected(jnlp + "<jnlp/>", L"    The jnlp node must have no siblings.\n");
    expectRejected(jnlp + jnlp, L"    The jnlp node must have no siblings.\n");
}

TEST_F(SessionFileValidation, NonAsciiPathIsOpened) {
    const std::wstring name = L"S\u00e9ance \u65e5\u672c \u0414.vca";
    EXPECT_TRUE(validate(sessionFile("https://meet." + allowedDomain()), name));
    EXPECT_TRUE(logged.empty());
    EXPECT_FALSE(validate(sessionFile("http://meet." + allowedDomain()), name));
    EXPECT_EQ(logged, std::vector<std::wstring>{entry(dir / name, schemeDetail)});
}

TEST_F(SessionFileValidation, NonAsciiHostIsLoggedAsWritten) {
    const std::string host = "b\xC3\xBC" "cher." + allowedDomain();
    expectRejected(sessionFile("https://" + host), hostDetail(host));
}

TEST_F(SessionFileValidation, Utf16WithByteOrderMarkIsDecoded) {
    const std::wstring text = fromUtf8("<jnlp codebase=\"https://meet." + allowedDomain() + "\"/>");
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (wchar_t c : text) {
        little += static_cast<char>(c & 0xFF);
        little += static_cast<char>(c >> 8);
        big += static_cast<char>(c >> 8);
        big += static_cast<char>(c & 0xFF);
    }
    expectAccepted(little);
    expectAccepted(big);
    expectAccepted("\xEF\xBB\xBF" + sessionFile("https://meet." + allowedDomain()));
}

TEST_F(SessionFileValidation, EscapesAreExpandedBeforeTheCheck) {
    // "&#46;" is a dot and "&#47;" a slash once the parser has read them.
    expectAccepted(sessionFile("https://meet&#46;" + allowedDomain() + "&#47;x"));
    expectRejected(sessionFile("https://evil.example&#47;." + allowedDomain()),
                   hostDetail("evil.example"));
}

TEST_F(SessionFileValidation, MegabyteHostNeitherCrashesNorFails) {
    const std::string label(1 << 20, 'a');
    expectAccepted(sessionFile("https://" + label + "." + allowedDomain() + "/"));

    EXPECT_FALSE(validate(sessionFile("https://" + label + ".evil.example/")));
    ASSERT_EQ(logged.size(), 1u);
    // The logger keeps the first 4,095 characters of a message.
    const std::wstring head = entry(path, hostDetail(label + ".evil.example")).substr(0, 4095);
    EXPECT_EQ(logged[0], head);
}

} // namespace
