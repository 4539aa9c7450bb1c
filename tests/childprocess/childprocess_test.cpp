// The child-process library through its public header, with the helper cp_child as the child.
#include "childprocess/childprocess.h"
#include "pattern.h"

#include <gtest/gtest.h>
#include <functional>
#include <tuple>
#include <vector>
#include <windows.h>

using namespace childprocess;

namespace {

using lines_t = std::vector<std::string>;

// The system's description of a code, without its trailing line feeds.
std::string description(DWORD code) {
    char text[1024];
    std::string line(text, ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                            0x400, text, sizeof text, nullptr));
    return line.erase(line.find_last_not_of('\n') + 1);
}

// Starts cp_child, which lies beside this program.
void start(exec_stream_t& stream, const lines_t& args) {
    char path[MAX_PATH];
    std::string exe(path, ::GetModuleFileNameA(nullptr, path, MAX_PATH));
    stream.start(exe.erase(exe.find_last_of('\\') + 1) + "cp_child.exe", args.begin(), args.end());
}

lines_t read_lines(std::istream& stream) {
    lines_t lines;
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

std::string next_line(std::istream& stream) {
    std::string line;
    return std::getline(stream, line) ? line : "(no line)";
}

std::string message_of(const std::function<void()>& action) {
    try {
        action();
    } catch (const exec_stream_t::error_t& error) {
        return error.what();
    }
    return "(nothing thrown)";
}

bool close_within(exec_stream_t& stream, ULONGLONG milliseconds) {
    for (const ULONGLONG end = ::GetTickCount64() + milliseconds; ::GetTickCount64() < end;)
        if (stream.close()) return true;
    return false;
}

// The open handles among the lowest values, where a small process keeps them (Wine has no handle count).
unsigned handle_count() {
    unsigned count = 0;
    DWORD flags = 0;
    for (ULONG_PTR value = 4; value < 0x4000; value += 4)
        count += ::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    return count;
}

// Reads the stream to its end, which must be the first `size` bytes of the pattern stream `seed`.
void expect_pattern(std::istream& stream, std::uint64_t seed, std::uint64_t size) {
    std::uint64_t received = 0, wrong = 0;
    std::vector<char> block(65536);
    while (stream.read(block.data(), block.size()) || stream.gcount() > 0)
        for (std::streamsize i = 0; i < stream.gcount(); ++i)
            wrong += block[i] != cp_pattern::byte_at(seed, received++);
    EXPECT_EQ(received, size);
    EXPECT_EQ(wrong, 0u);
}

} // namespace

TEST(ErrorTest, CodeSuffixAndSystemDescription) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(os_error_t("op").what(), "op\n" + description(5) + "\n[code 0x0005 (5)]");
    EXPECT_STREQ(os_error_t("x", 0x20001234).what(),
                 "x\n[unable to retrieve error description]\n[code 0x20001234 (536875572)]");
    EXPECT_STREQ(exec_stream_t::error_t("op", 0xC0000005u).what(), "op\n[code 0xc0000005 (3221225477)]");
}

TEST(CommandLineTest, ArgumentsAreQuotedAndReachTheChildAsGiven) {
    // Each argument and its form on the command line, each after a space. Backslashes before a quote are doubled,
    // or they would escape it.
    const std::pair<std::string, std::string> rows[] = {{"", "\"\""},
                                                        {"q\"r", "\"q\\\"r\""},
                                                        {"C:\\plain\\", "C:\\plain\\"},
                                                        {"a\\b c", "\"a\\b c\""},
                                                        {"C:\\dir x\\", "\"C:\\dir x\\\\\""},
                                                        {"a\\\"b c", "\"a\\\\\\\"b c\""}};
    lines_t args = {"args"}, expected = {" args"};
    for (const auto& row : rows) {
        args.push_back(row.first);
        expected[0] += " " + row.second;
        expected.push_back("[" + row.first + "]");
    }
    exec_stream_t stream;
    start(stream, args);
    lines_t lines = read_lines(stream.out());
    lines.at(0).erase(0, lines[0].find("  args") + 1); // the program and one space go
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(stream.close());
}

TEST(ExecStreamTest, ExitCodesAndFailedStartsLeaveNoHandleBehind) {
    // A program that cannot be found, its arguments and the command line reported.
    const std::tuple<std::string, lines_t, std::string> missing[] = {
        {"no such helper.exe", {"a b"}, "\"no such helper.exe\"  \"a b\""},
        {"no such helper.exe", {}, "\"no such helper.exe\""},
        {"no_such_helper.exe", {"x", "y"}, "no_such_helper.exe  x y"}};
    // Each code picks the failed start that follows it.
    const std::uint32_t codes[] = {0, 1, 2, 255, 256, 0x7FFFFFFF, 0xC0000005};
    exec_stream_t stream;
    auto run = [&stream, &missing](std::uint32_t code) {
        start(stream, {"exit", std::to_string(code)});
        EXPECT_EQ(read_lines(stream.out()), lines_t{"exit " + std::to_string(code)});
        ASSERT_TRUE(close_within(stream, 5000));
        EXPECT_EQ(stream.exit_code(), code);
        const auto& row = missing[code % 3];
        const lines_t& args = std::get<1>(row);
        EXPECT_EQ(message_of([&] { stream.start(std::get<0>(row), args.begin(), args.end()); }),
                  "exec_stream_t::start: CreateProcess failed.\n command line was: " + std::get<2>(row) + "\n" +
                      description(2) + "\n[code 0x0002 (2)]");
    };
    run(0); // the first runs may leave the system something to keep
    const unsigned before = handle_count();
    for (int round = 0; round < 2 && !HasFailure(); ++round)
        for (std::uint32_t code : codes) run(code);
    EXPECT_LE(handle_count(), before + 5) << "a single handle per start, or per failed one, would show as 12";
}

TEST(ExecStreamTest, LinesBothWaysWithCrLfAndEndOfFileAfterTheLastLine) {
    exec_stream_t stream;
    start(stream, {"echo"});
    EXPECT_EQ(next_line(stream.out()), "update") << "carriage returns are dropped; a piece of them alone is no end";
    EXPECT_EQ(next_line(stream.err()), "oops");
    stream.in() << "shutdown" << std::endl;
    EXPECT_EQ(next_line(stream.out()), "got:shutdown\\r\\n") << "a carriage return comes before the line feed";
    stream.in() << "quit\n"; // not flushed: reading from out() flushes in() first
    EXPECT_EQ(next_line(stream.out()), "bye");
    EXPECT_EQ(next_line(stream.out()), "(no line)");
    EXPECT_FALSE(stream.out().bad()) << "the end of the output is not an error";
    EXPECT_TRUE(stream.close());
    EXPECT_EQ(stream.exit_code(), 7u);

    // Closed at once, the input still reaches the child whole (it exits with the count): a writer asked to stop
    // first writes out every piece handed to it.
    start(stream, {"echo"});
    stream.in() << std::string(256 << 10, 'x') << "shutdown\na\r\nb";
    EXPECT_EQ(next_line(stream.out()), "update");
    ASSERT_TRUE(close_within(stream, 10000));
    EXPECT_EQ(stream.exit_code(), (256u << 10) + 15) << "each of the two line feeds gets a carriage return";
}

TEST(ExecStreamTest, WriteFailureTimeoutsAndAChildHeldUntilItEnds) {
    exec_stream_t stream;
    start(stream, {"exit", "4", "300"});
    // Once the child has gone the writer thread fails on its own; the write itself is accepted, a later one raises
    // the failure (Windows and Wine differ in the code).
    std::string what = "(nothing thrown)";
    for (const ULONGLONG end = ::GetTickCount64() + 5000; ::GetTickCount64() < end && what == "(nothing thrown)";)
        what = message_of([&] { stream.in() << "more" << std::endl; });
    const std::string head = "thread_buffer_t::writer_thread: WriteFile failed\n";
    EXPECT_TRUE(what == head + description(232) + "\n[code 0x00e8 (232)]" ||
                what == head + description(109) + "\n[code 0x006d (109)]")
        << what;
    EXPECT_NO_THROW(EXPECT_EQ(read_lines(stream.out()), lines_t{"exit 4"})) << "the failed input spoils no reading";
    // Close raises the failure once more, yet ends everything first.
    EXPECT_EQ(message_of([&] { stream.close(); }), what);
    EXPECT_EQ(stream.exit_code(), 4u);

    // The next child starts afresh, its streams and the earlier failure gone.
    stream.set_wait_timeout(exec_stream_t::kind_out, 300);
    start(stream, {"exit", "3", "3000"});
    ULONGLONG watch = ::GetTickCount64();
    EXPECT_EQ(message_of([&] { next_line(stream.out()); }),
              "thread_buffer_t::get: wait for got_data failed\nwait_result_t: timeout elapsed\n[code 0x0000 (0)]");
    EXPECT_LT(::GetTickCount64() - watch, 1500u);
    EXPECT_TRUE(stream.out().bad());
    // Both readers sit in ReadFile: each is given up after 500 ms and aborted, then the child is waited for 500 ms.
    watch = ::GetTickCount64();
    EXPECT_FALSE(stream.close());
    EXPECT_GT(::GetTickCount64() - watch, 1300u);
    EXPECT_EQ(message_of([&] { stream.exit_code(); }), "exec_stream_t:exit_code: child process still running");
    const auto start_again = [&] { start(stream, {"exit", "9"}); };
    EXPECT_EQ(message_of(start_again), "exec_stream_t::start: previous child process has not yet terminated");
    ASSERT_TRUE(close_within(stream, 15000));
    EXPECT_EQ(stream.exit_code(), 3u);
    EXPECT_TRUE(stream.close()) << "closing twice in a row";
}

TEST(ExecStreamTest, ThirtyTwoMiBThroughOutWhileStandardErrorFloodsUnread) {
    // The child writes a block to standard error after every four to output: unless drained on its own, it stalls.
    exec_stream_t stream;
    start(stream, {"output", std::to_string(32 << 20), std::to_string(8 << 20), "11"});
    expect_pattern(stream.out(), 11, 32 << 20);
    expect_pattern(stream.err(), 12, 8 << 20);
    EXPECT_TRUE(stream.close());
    EXPECT_EQ(stream.exit_code(), 0u);
}
