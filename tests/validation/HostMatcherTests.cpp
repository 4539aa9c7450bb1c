// The host matcher against the regular expression that defines it, and on
// hosts far longer than the regular-expression engine can take.
#include "validation/HostMatcher.h"

#include <gtest/gtest.h>
#include <regex>

namespace {

// Every host of up to five bytes over the label set's edges, the dot, a byte
// outside the set, a capital and a UTF-8 lead byte.
TEST(HostMatcher, AgreesWithTheRegularExpressionAndDoesNotRecurse) {
    EXPECT_EQ(wildcardToRegex("*.tavisto.com"), "[a-z0-9\\-_.~]+\\.tavisto\\.com");
    const std::string alphabet = std::string("ab.~:A") + '\xC3';
    std::vector<std::string> hosts{""};
    for (size_t length = 0, begin = 0, end = 1; length < 5; ++length, begin = end, end = hosts.size())
        for (size_t i = begin; i < end; ++i)
            for (char c : alphabet) hosts.push_back(hosts[i] + c);
    for (const char* pattern : {"*.ab", "*", "a*", "*b*", "**", "a.b", "*.a.b", "~*a", ""}) {
        const std::regex expression(wildcardToRegex(pattern));
        size_t matched = 0;
        for (const std::string& host : hosts) {
            const bool expected = std::regex_match(host, expression);
            ASSERT_EQ(hostMatchesPattern(host, pattern), expected) << pattern << " / " << host;
            matched += expected;
        }
        EXPECT_GT(matched, 0u) << pattern;
    }
    const std::string megabyte(1 << 20, '.');
    EXPECT_TRUE(hostMatchesPattern(megabyte + ".tavisto.com", "*.tavisto.com"));
    EXPECT_FALSE(hostMatchesPattern(megabyte + ":443", "*.*.*"));
}

} // namespace
