// Quoting of the arguments and the program into one command line. What the
// child actually receives is checked end to end in exec_stream_test.
#include "childprocess/command_line.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::string arguments(const std::vector<std::string>& list) {
    exec_stream_t::next_arg_impl_t<std::vector<std::string>::const_iterator> args(list.begin(), list.end());
    return build_argument_string(args);
}

} // namespace

TEST(CommandLineTest, NextArgGivesEachArgumentThenNull) {
    const std::vector<std::string> list = {"one", "two"};
    exec_stream_t::next_arg_impl_t<std::vector<std::string>::const_iterator> args(list.begin(), list.end());
    const std::string* first = args.next();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(*first, "one");
    const std::string* second = args.next();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(*second, "two");
    EXPECT_EQ(args.next(), nullptr);
    EXPECT_EQ(args.next(), nullptr);
}

TEST(CommandLineTest, TwoArgumentsGiveTheEightCharacterString) {
    const std::string text = arguments({"a b", "c"});
    EXPECT_EQ(text, " \"a b\" c");
    EXPECT_EQ(text.size(), 8u);
    EXPECT_EQ(build_command_line("prog.exe", text), "prog.exe  \"a b\" c");
}

TEST(CommandLineTest, EveryArgumentHasItsOwnSpaceAndAnEmptyOneIsALoneSpace) {
    EXPECT_EQ(arguments({}), "");
    EXPECT_EQ(arguments({""}), " ");
    EXPECT_EQ(arguments({"x", "", "y"}), " x  y");
    EXPECT_EQ(arguments({"-classpath", "C:\\dir\\utilwin.jar"}), " -classpath C:\\dir\\utilwin.jar");
}

TEST(CommandLineTest, SpaceTabOrQuoteMakeAnArgumentQuoted) {
    EXPECT_EQ(arguments({"a\tb"}), " \"a\tb\"");
    EXPECT_EQ(arguments({"say \"hi\""}), " \"say \\\"hi\\\"\"");
    EXPECT_EQ(arguments({"q\"r"}), " \"q\\\"r\"");
    EXPECT_EQ(arguments({"C:\\Program Files\\x"}), " \"C:\\Program Files\\x\"");
    EXPECT_EQ(arguments({"C:\\plain\\"}), " C:\\plain\\") << "unquoted backslashes stay as they are";
}

TEST(CommandLineTest, BackslashesBeforeAQuoteAreDoubled) {
    // Otherwise a trailing backslash would swallow the closing quote and the
    // arguments after it, and \" inside could end the quoted argument early.
    EXPECT_EQ(arguments({"C:\\dir x\\", "next"}), " \"C:\\dir x\\\\\" next");
    EXPECT_EQ(arguments({"a\\\"b c"}), " \"a\\\\\\\"b c\"");
    EXPECT_EQ(arguments({"a\\b c"}), " \"a\\b c\"");
}

TEST(CommandLineTest, ProgramIsQuotedOnlyWhenItHoldsASpaceOrTab) {
    EXPECT_EQ(build_command_line("C:\\Program Files\\jre\\bin\\java.exe", " -x"),
              "\"C:\\Program Files\\jre\\bin\\java.exe\"  -x");
    EXPECT_EQ(build_command_line("C:\\a\tb\\j.exe", ""), "\"C:\\a\tb\\j.exe\"");
    EXPECT_EQ(build_command_line("C:\\jre\\bin\\java.exe", ""), "C:\\jre\\bin\\java.exe");
}
