// Child processes with their three standard streams, run from helper programs.
#include "childprocess/exec_stream.h"
#include "child.h"
#include "pattern.h"

#include <gtest/gtest.h>
#include <vector>
#include <windows.h>

namespace {

using args_t = std::vector<std::string>;

void start(exec_stream_t& stream, const std::string& name, const args_t& args = {}) {
    stream.start(helper(name), args.begin(), args.end());
}

// Runs cp_args and returns its lines: the command line, then [argument]s.
std::vector<std::string> run_args(const std::string& program, const args_t& args) {
    exec_stream_t stream;
    stream.start(program, args.begin(), args.end());
    std::vector<std::string> lines = read_lines(stream.out());
    EXPECT_TRUE(stream.close());
    EXPECT_EQ(stream.exit_code(), 0u);
    return lines;
}

const char* const timeout_text =
    "thread_buffer_t::get: wait for got_data failed\nwait_result_t: timeout elapsed\n[code 0x0000 (0)]";

} // namespace

TEST(ExecStreamTest, ChildReceivesTheCommandLineAsBuilt) {
    const std::string program = helper("cp_args");
    EXPECT_EQ(run_args(program, {"a b", "c"}),
              (std::vector<std::string>{program + "  \"a b\" c", "[a b]", "[c]"}));
    EXPECT_EQ(run_args(program, {"x", "", "y"}),
              (std::vector<std::string>{program + "  x  y", "[x]", "[y]"}))
        << "an empty argument vanishes";
    EXPECT_EQ(run_args(program, {"C:\\dir x\\", "a\\\"b c", "q\"r", "tab\there", "back\\slash"}),
              (std::vector<std::string>{program + "  \"C:\\dir x\\\\\" \"a\\\\\\\"b c\" \"q\\\"r\" \"tab\there\" back\\slash",
                                        "[C:\\dir x\\]", "[a\\\"b c]", "[q\"r]", "[tab\there]", "[back\\slash]"}))
        << "each argument arrives as it was given";
}

TEST(ExecStreamTest, ProgramPathWithASpaceIsQuoted) {
    char temp[MAX_PATH];
    ASSERT_GT(::GetTempPathA(MAX_PATH, temp), 0u);
    const std::string directory = std::string(temp) + "cp dir " + std::to_string(::GetCurrentProcessId());
    const std::string program = directory + "\\cp_args.exe";
    ASSERT_TRUE(::CreateDirectoryA(directory.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileA(helper("cp_args").c_str(), program.c_str(), TRUE));
    const std::vector<std::string> lines = run_args(program, {"c"});
    ::DeleteFileA(program.c_str());
    ::RemoveDirectoryA(directory.c_str());
    EXPECT_EQ(lines, (std::vector<std::string>{"\"" + program + "\"  c", "[c]"}));
}

TEST(ExecStreamTest, LinesBothWaysWithCrLfAndEndOfFileAfterTheLastLine) {
    exec_stream_t stream;
    start(stream, "cp_echo");
    std::string line;
    ASSERT_TRUE(std::getline(stream.out(), line));
    EXPECT_EQ(line, "update") << "the carriage return is dropped";
    ASSERT_TRUE(std::getline(stream.err(), line));
    EXPECT_EQ(line, "oops");

    stream.in() << "shutdown" << std::endl;
    ASSERT_TRUE(std::getline(stream.out(), line));
    EXPECT_EQ(line, "got:shutdown\\r\\n") << "the child receives a carriage return before the line feed";

    // Not flushed: reading from out() flushes in() first.
    stream.in() << "ping\n";
    ASSERT_TRUE(std::getline(stream.out(), line));
    EXPECT_EQ(line, "got:ping\\r\\n");

    stream.in() << "quit\n";
    ASSERT_TRUE(std::getline(stream.out(), line));
    EXPECT_EQ(line, "bye");
    EXPECT_FALSE(std::getline(stream.out(), line));
    EXPECT_TRUE(stream.out().eof());
    EXPECT_FALSE(stream.out().bad()) << "the end of the output is not an error";
    stream.out().clear();
    EXPECT_EQ(stream.out().get(), std::char_traits<char>::eof()) << "and stays the end";

    EXPECT_TRUE(stream.close());
    EXPECT_EQ(stream.exit_code(), 7u);
}

TEST(ExecStreamTest, SilentChildTimesOutAndIsHeldUntilItEnds) {
    exec_stream_t stream;
    start(stream, "cp_silent", {"6000"});
    std::string line;

    stopwatch_t read_watch;
    EXPECT_EQ(message_of([&] { std::getline(stream.out(), line); }), timeout_text);
    EXPECT_GT(read_watch.seconds(), 1.8);
    EXPECT_LT(read_watch.seconds(), 4.0);
    EXPECT_TRUE(stream.out().bad());

    // Both readers sit in ReadFile: each is given up after 500 ms and
    // aborted, then the child is waited for 500 ms.
    stopwatch_t close_watch;
    EXPECT_FALSE(stream.close());
    EXPECT_GT(close_watch.seconds(), 1.3);
    EXPECT_LT(close_watch.seconds(), 4.0);
    EXPECT_EQ(message_of([&] { stream.exit_code(); }), "exec_stream_t:exit_code: child process still running");
    EXPECT_EQ(message_of([&] { start(stream, "cp_exit_code", {"9"}); }),
              "exec_stream_t::start: previous child process has not yet terminated");

    bool closed = false;
    for (stopwatch_t watch; !closed && watch.seconds() < 15.0;) closed = stream.close();
    ASSERT_TRUE(closed);
    EXPECT_EQ(stream.exit_code(), 3u);
    stopwatch_t again;
    EXPECT_TRUE(stream.close()) << "closing twice in a row";
    EXPECT_LT(again.seconds(), 0.4);

    // The same object runs the next child with fresh streams.
    start(stream, "cp_exit_code", {"9"});
    EXPECT_EQ(read_lines(stream.out()), std::vector<std::string>{"exit 9"});
    EXPECT_TRUE(stream.close());
    EXPECT_EQ(stream.exit_code(), 9u);
}

TEST(ExecStreamTest, WaitTimeoutIsSetPerStreamWhileNoChildRuns) {
    exec_stream_t stream;
    stream.set_wait_timeout(exec_stream_t::kind_out, 300);
    start(stream, "cp_silent", {"1200"});
    std::string line;
    stopwatch_t watch;
    EXPECT_EQ(message_of([&] { std::getline(stream.out(), line); }), timeout_text);
    EXPECT_LT(watch.seconds(), 1.5);
    EXPECT_EQ(message_of([&] { stream.set_wait_timeout(exec_stream_t::kind_err, 100); }),
              "thread_buffer_t::set_wait_timeout: thread already started");

    bool closed = false;
    for (stopwatch_t wait; !closed && wait.seconds() < 15.0;) closed = stream.close();
    ASSERT_TRUE(closed);
    EXPECT_EQ(stream.exit_code(), 3u);
    EXPECT_NO_THROW(stream.set_wait_timeout(exec_stream_t::kind_in | exec_stream_t::kind_err, 100));
}

TEST(ExecStreamTest, MissingProgramGivesTheCreateProcessMessageAndLeaksNothing) {
    const std::string helper_path = helper("cp_args");
    const std::string program = helper_path.substr(0, helper_path.find_last_of('\\')) + "\\no such helper.exe";
    const args_t args = {"a b"};
    exec_stream_t stream;
    auto failed_start = [&]() -> std::string {
        try {
            stream.start(program, args.begin(), args.end());
        } catch (const os_error_t& error) {
            return error.what();
        }
        return "(no os_error_t thrown)";
    };
    // The first failure may leave the system something to keep for later.
    failed_start();
    const unsigned long handles_before = handle_count();
    const std::string what = failed_start();
    EXPECT_LE(handle_count(), handles_before) << "every pipe end is closed again";

    const std::string head =
        "exec_stream_t::start: CreateProcess failed.\n command line was: \"" + program + "\"  \"a b\"\n";
    const std::string tail = "\n[code 0x0002 (2)]";
    ASSERT_TRUE(starts_with(what, head)) << what;
    ASSERT_TRUE(ends_with(what, tail)) << what;
    const std::string description = what.substr(head.size(), what.size() - head.size() - tail.size());
    EXPECT_FALSE(description.empty());
    EXPECT_NE(description, "[unable to retrieve error description]");

    EXPECT_TRUE(stream.close());
    start(stream, "cp_exit_code", {"0"});
    EXPECT_EQ(read_lines(stream.out()), std::vector<std::string>{"exit 0"});
    EXPECT_TRUE(stream.close());
}

TEST(ExecStreamTest, WriteToAChildThatClosedItsInputFailsLaterInPut) {
    exec_stream_t stream;
    start(stream, "cp_close_stdin");
    std::string line;
    ASSERT_TRUE(std::getline(stream.out(), line));
    ASSERT_EQ(line, "closed");
    // The writer thread fails on its own; the write itself is accepted.
    // (Under Wine the console host of the child keeps a copy of the pipe's
    // read end until the child exits, so there the failure comes a little
    // later.)
    EXPECT_NO_THROW(stream.in() << "first" << std::endl);

    std::string what = "(nothing thrown)";
    for (stopwatch_t watch; watch.seconds() < 3.0 && what == "(nothing thrown)"; ::Sleep(10))
        what = message_of([&] { stream.in() << "more" << std::endl; });
    EXPECT_TRUE(starts_with(what, "thread_buffer_t::writer_thread: WriteFile failed\n")) << what;
    EXPECT_TRUE(ends_with(what, "(232)]") || ends_with(what, "(109)]")) << what;
    EXPECT_TRUE(stream.in().bad());

    // The failed input does not spoil reading what the child wrote.
    EXPECT_NO_THROW(EXPECT_FALSE(std::getline(stream.out(), line)));
    EXPECT_TRUE(stream.out().eof());

    // Stopping the writer raises its failure once more; that close still
    // ends everything and reaps the child.
    EXPECT_EQ(message_of([&] { stream.close(); }), what);
    EXPECT_TRUE(stream.close());
    EXPECT_EQ(stream.exit_code(), 4u);
}

TEST(ExecStreamTest, WriteToAChildThatClosedItsInputFailsInClose) {
    exec_stream_t stream;
    start(stream, "cp_close_stdin");
    // To the end of the output: then neither the child nor (under Wine) its
    // console host holds the input pipe any more.
    EXPECT_EQ(read_lines(stream.out()), std::vector<std::string>{"closed"});
    EXPECT_NO_THROW(stream.in() << "shutdown" << std::endl);

    const std::string what = message_of([&] { stream.close(); });
    EXPECT_TRUE(starts_with(what, "thread_buffer_t::writer_thread: WriteFile failed\n")) << what;
    EXPECT_TRUE(stream.close());
    EXPECT_EQ(stream.exit_code(), 4u);
}

TEST(ExecStreamTest, UnreadStandardErrorNeverBlocksTheChild) {
    const unsigned long long size = 4 << 20;
    exec_stream_t stream;
    start(stream, "cp_flood_stderr", {std::to_string(size)});
    std::string line;
    ASSERT_TRUE(std::getline(stream.out(), line)) << "the child got past its flood of standard error";
    EXPECT_EQ(line, "done");

    cp_pattern::hash_t hash;
    std::vector<char> block(65536);
    unsigned long long received = 0;
    while (stream.err().read(block.data(), block.size()) || stream.err().gcount() > 0) {
        hash.add(block.data(), static_cast<std::size_t>(stream.err().gcount()));
        received += stream.err().gcount();
    }
    EXPECT_EQ(received, size);
    EXPECT_EQ(hash.value(), cp_pattern::stream_hash(2, size));
    EXPECT_TRUE(stream.close());
    EXPECT_EQ(stream.exit_code(), 0u);
}
