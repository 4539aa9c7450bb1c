// The host matcher against the regular expression it replaces, and on hosts
// far longer than the regular-expression engine can take.
#include "validation/HostMatcher.h"

#include <gtest/gtest.h>
#include <regex>

namespace {

TEST(WildcardToRegex, EscapesDotsThenReplacesStars) {
    EXPECT_EQ(wildcardToRegex("*.tavisto.com"), "[a-z0-9\\-_.~]+\\.tavisto\\.com");
    EXPECT_EQ(wildcardToRegex("a*b*"), "a[a-z0-9\\-_.~]+b[a-z0-9\\-_.~]+");
    EXPECT_EQ(wildcardToRegex("x.y"), "x\\.y");
}

// Every host up to five bytes over an alphabet that covers the label set,
// the dot, a byte outside the set, an upper-case letter and a UTF-8 lead byte:
// the matcher agrees with std::regex_match on the expression the pattern
// stands for.
TEST(HostMatcher, AgreesWithTheRegularExpressionOnAllShortHosts) {
    const std::string alphabet = std::string("ab.~:A") + '\xC3';
    const char* const patterns[] = {"*.ab", "*", "a*", "*b*", "**", "a.b", "*.a.b", "~*a", ""};
    std::vector<std::string> hosts{""};
    for (size_t begin = 0, length = 0; length < 5; ++length) {
        const size_t end = hosts.size();
        for (size_t i = begin; i < end; ++i)
            for (char c : alphabet) hosts.push_back(hosts[i] + c);
        begin = end;
    }
    for (const char* pattern : patterns) {
        const std::regex expression(wildcardToRegex(pattern), std::regex::ECMAScript);
        size_t matched = 0;
        for (const std::string& host : hosts) {
            const bool expected = std::regex_match(host, expression);
            ASSERT_EQ(hostMatchesPattern(host, pattern), expected)
                << "pattern \"" << pattern << "\", host \"" << host << "\"";
            matched += expected;
        }
        EXPECT_GT(matched, 0u) << pattern;
    }
}

TEST(HostMatcher, MegabyteHostsAreMatchedWithoutRecursion) {
    const std::string label(1 << 20, 'a');
    EXPECT_TRUE(hostMatchesPattern(label + ".tavisto.com", "*.tavisto.com"));
    EXPECT_FALSE(hostMatchesPattern(label + ".evil.example", "*.tavisto.com"));
    EXPECT_FALSE(hostMatchesPattern(label + ":443", "*.tavisto.com"));
    std::string dots(1 << 20, '.');
    EXPECT_TRUE(hostMatchesPattern(dots + ".tavisto.com", "*.tavisto.com"));
    EXPECT_FALSE(hostMatchesPattern(std::string(1 << 20, '/'), "*.tavisto.com"));
    EXPECT_TRUE(hostMatchesPattern(label, "*a*a*a*"));
}

} // namespace
