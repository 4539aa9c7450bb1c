// The child-process facility: its error types, the pipe buffer threads on
// pipes of the test process, and children run from the helper cp_child.
#include "childprocess/command_line.h"
#include "childprocess/exec_stream.h"
#include "childprocess/thread_buffer.h"
#include "pattern.h"

#include <gtest/gtest.h>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>
#include <windows.h>

namespace {

using lines_t = std::vector<std::string>;

const char* const timeout_text =
    "thread_buffer_t::get: wait for got_data failed\nwait_result_t: timeout elapsed\n[code 0x0000 (0)]";

// The system's description of a code, without its trailing line feeds.
std::string description(DWORD code) {
    char* buffer = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0x400, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text(buffer, length);
    ::LocalFree(buffer);
    return text.erase(text.find_last_not_of('\n') + 1);
}

// Everything a reading buffer delivers, three bytes at a time at most, until
// the stream ends.
std::string get_all(thread_buffer_t& buffer) {
    std::string text;
    char destination[3];
    for (bool no_more = false; !no_more;) {
        std::size_t size = sizeof destination;
        buffer.get(destination, size, no_more);
        EXPECT_EQ(size == 0, no_more) << "a get delivers nothing at the end, and only there";
        text.append(destination, size);
    }
    return text;
}

std::string helper() {
    char path[MAX_PATH];
    std::string text(path, ::GetModuleFileNameA(nullptr, path, MAX_PATH));
    return text.erase(text.find_last_of('\\') + 1) + "cp_child.exe";
}

void start(exec_stream_t& stream, const lines_t& args) { stream.start(helper(), args.begin(), args.end()); }

lines_t read_lines(std::istream& stream) {
    lines_t lines;
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

std::string next_line(std::istream& stream) {
    std::string line;
    return std::getline(stream, line) ? line : "(no line)";
}

struct stopwatch_t {
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    double seconds() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); }
};

// The message of the error that the action throws.
template <class error_type = exec_stream_t::error_t>
std::string message_of(const std::function<void()>& action) {
    try {
        action();
    } catch (const error_type& error) {
        return error.what();
    }
    return "(nothing thrown)";
}

// The failure of a write to a pipe whose reading end has gone (Wine and
// Windows differ in the code).
bool is_write_failure(const std::string& what) {
    const std::string head = "thread_buffer_t::writer_thread: WriteFile failed\n";
    return what == head + description(232) + "\n[code 0x00e8 (232)]" ||
           what == head + description(109) + "\n[code 0x006d (109)]";
}

// Closes again and again until the child has been reaped.
bool close_within(exec_stream_t& stream, double seconds) {
    bool closed = false;
    for (stopwatch_t watch; !closed && watch.seconds() < seconds;) closed = stream.close();
    return closed;
}

unsigned long handle_count() {
    DWORD count = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count != 0) return count;
    // Wine answers 0: count the open handles among the lowest values.
    for (ULONG_PTR value = 4; value < 0x4000; value += 4) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

// Reads the stream to its end and compares what came, by size and by FNV-1a
// hash, with the first `size` bytes of the pattern stream `seed`.
void expect_pattern(std::istream& stream, std::uint64_t seed, std::uint64_t size) {
    auto fnv = [](std::uint64_t hash, char c) { return (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL; };
    std::uint64_t received = 0, hash = 0xCBF29CE484222325ULL, expected = hash;
    std::vector<char> block(65536);
    while (stream.read(block.data(), block.size()) || stream.gcount() > 0) {
        for (std::streamsize i = 0; i < stream.gcount(); ++i, ++received) {
            hash = fnv(hash, block[i]);
            expected = fnv(expected, cp_pattern::byte_at(seed, received));
        }
    }
    EXPECT_EQ(received, size);
    EXPECT_EQ(hash, expected);
}

} // namespace

TEST(ErrorTest, CodeSuffixAndSystemDescription) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    const std::pair<std::string, std::string> rows[] = {
        {os_error_t("event_t::event_t: create event failed").what(),
         "event_t::event_t: create event failed\n" + description(5) + "\n[code 0x0005 (5)]"},
        {os_error_t("x", 0x20001234).what(),
         "x\n[unable to retrieve error description]\n[code 0x20001234 (536875572)]"},
        {exec_stream_t::error_t("op", 0xC0000005u).what(), "op\n[code 0xc0000005 (3221225477)]"},
        {exec_stream_t::error_t("message alone").what(), "message alone"}};
    for (const auto& row : rows) EXPECT_EQ(row.first, row.second);
}

TEST(ThreadBufferTest, ReaderDropsCarriageReturnsAcrossChunksAndEndsOnlyAtTheEnd) {
    HANDLE r = nullptr, w = nullptr;
    ASSERT_TRUE(::CreatePipe(&r, &w, nullptr, 0));
    thread_buffer_t buffer;
    buffer.start_thread(r, thread_buffer_t::dir_read);
    // Pauses between the writes make separate chunks, splitting line ends
    // between them. The first holds carriage returns alone, so the first get
    // finds nothing to deliver, which is not the end.
    std::thread writer([w] {
        for (const std::string part : {"\r\r", "ab\r", "\ncd\r", "\r\n", "e\r\nf"}) {
            ::Sleep(100);
            DWORD written = 0;
            ::WriteFile(w, part.data(), static_cast<DWORD>(part.size()), &written, nullptr);
        }
        ::CloseHandle(w);
    });
    EXPECT_EQ(get_all(buffer), "ab\ncd\ne\nf");
    writer.join();
    EXPECT_EQ(get_all(buffer), "") << "the end stays the end";
    EXPECT_TRUE(buffer.stop_thread());
    ::CloseHandle(r);
}

TEST(ThreadBufferTest, WriterAddsCarriageReturnsAndWritesEverythingBeforeStopping) {
    HANDLE r = nullptr, w = nullptr;
    ASSERT_TRUE(::CreatePipe(&r, &w, nullptr, 0));
    thread_buffer_t buffer;
    buffer.start_thread(w, thread_buffer_t::dir_write); // the writer closes w as it ends
    const std::string big(1 << 20, 'x');
    for (const std::string& text : {big, std::string("shutdown\na\r\nb")}) {
        std::size_t size = text.size();
        bool no_more = true;
        buffer.put(text.data(), size, no_more);
        EXPECT_TRUE(!no_more && size == text.size());
    }
    // With nobody reading, the writer is held in WriteFile and cannot stop;
    // once it can, it writes the chunk that waits before it ends.
    EXPECT_FALSE(buffer.stop_thread());
    std::string received;
    std::thread reader([&] {
        char block[4096];
        DWORD count = 0;
        while (::ReadFile(r, block, sizeof block, &count, nullptr)) received.append(block, count);
    });
    reader.join();
    ::CloseHandle(r);
    EXPECT_TRUE(buffer.check_thread_stopped());
    EXPECT_EQ(received, big + "shutdown\r\na\r\r\nb") << "every line feed gets a carriage return before it";
}

TEST(CommandLineTest, ArgumentsAreQuotedAndReachTheChildAsGiven) {
    // Each row: the arguments and the string they make. The child receives
    // every argument as it was given, apart from empty ones.
    const std::pair<lines_t, std::string> rows[] = {
        {{"a b", "c"}, " \"a b\" c"}, // the eight-character string
        {{"x", "", "y"}, " x  y"},    // an empty argument is a lone space
        {{"a\tb", "q\"r", "C:\\plain\\"}, " \"a\tb\" \"q\\\"r\" C:\\plain\\"},
        // Backslashes before a quote are doubled, or they would escape it.
        {{"C:\\dir x\\", "next"}, " \"C:\\dir x\\\\\" next"},
        {{"a\\\"b c", "a\\b c"}, " \"a\\\\\\\"b c\" \"a\\b c\""},
    };
    for (const auto& row : rows) {
        exec_stream_t::next_arg_impl_t<lines_t::const_iterator> args(row.first.begin(), row.first.end());
        EXPECT_EQ(build_argument_string(args), row.second);
        lines_t child_args = {"args"}, expected = {build_command_line(helper(), " args" + row.second)};
        for (const std::string& arg : row.first) {
            child_args.push_back(arg);
            if (!arg.empty()) expected.push_back("[" + arg + "]");
        }
        exec_stream_t stream;
        start(stream, child_args);
        EXPECT_EQ(read_lines(stream.out()), expected);
        EXPECT_TRUE(stream.close());
    }
    EXPECT_EQ(build_command_line("prog.exe", " \"a b\" c"), "prog.exe  \"a b\" c");
    EXPECT_EQ(build_command_line("C:\\Program Files\\java.exe", " -x"), "\"C:\\Program Files\\java.exe\"  -x");
    EXPECT_EQ(build_command_line("C:\\a\tb\\j.exe", ""), "\"C:\\a\tb\\j.exe\"");
}

TEST(ExecStreamTest, LinesBothWaysWithCrLfAndEndOfFileAfterTheLastLine) {
    exec_stream_t stream;
    start(stream, {"echo"});
    EXPECT_EQ(next_line(stream.out()), "update") << "the carriage return is dropped";
    EXPECT_EQ(next_line(stream.err()), "oops");
    stream.in() << "shutdown" << std::endl;
    EXPECT_EQ(next_line(stream.out()), "got:shutdown\\r\\n") << "a carriage return comes before the line feed";
    stream.in() << "quit\n"; // not flushed: reading from out() flushes in() first
    EXPECT_EQ(next_line(stream.out()), "bye");

    EXPECT_EQ(next_line(stream.out()), "(no line)");
    EXPECT_TRUE(stream.out().eof());
    EXPECT_FALSE(stream.out().bad()) << "the end of the output is not an error";
    stream.out().clear();
    EXPECT_EQ(stream.out().get(), std::char_traits<char>::eof()) << "and stays the end";
    EXPECT_TRUE(stream.close());
    EXPECT_EQ(stream.exit_code(), 7u);
}

TEST(ExecStreamTest, SilentChildTimesOutAndIsHeldUntilItEnds) {
    exec_stream_t stream;
    start(stream, {"silent", "6000"});
    stopwatch_t read_watch;
    EXPECT_EQ(message_of([&] { next_line(stream.out()); }), timeout_text);
    EXPECT_GT(read_watch.seconds(), 1.8);
    EXPECT_LT(read_watch.seconds(), 4.0);
    EXPECT_TRUE(stream.out().bad());
    EXPECT_EQ(message_of([&] { stream.set_wait_timeout(exec_stream_t::kind_err, 100); }),
              "thread_buffer_t::set_wait_timeout: thread already started");

    // Both readers sit in ReadFile: each is given up after 500 ms and
    // aborted, then the child is waited for 500 ms.
    stopwatch_t close_watch;
    EXPECT_FALSE(stream.close());
    EXPECT_GT(close_watch.seconds(), 1.3);
    EXPECT_LT(close_watch.seconds(), 4.0);
    EXPECT_EQ(message_of([&] { stream.exit_code(); }), "exec_stream_t:exit_code: child process still running");
    EXPECT_EQ(message_of([&] { start(stream, {"exit", "9"}); }),
              "exec_stream_t::start: previous child process has not yet terminated");
    ASSERT_TRUE(close_within(stream, 15.0));
    EXPECT_EQ(stream.exit_code(), 3u);
    stopwatch_t again;
    EXPECT_TRUE(stream.close()) << "closing twice in a row";
    EXPECT_LT(again.seconds(), 0.4);

    // Set while no child runs, a wait timeout holds for the next child, whose
    // streams start afresh.
    stream.set_wait_timeout(exec_stream_t::kind_out, 300);
    start(stream, {"silent", "1000"});
    stopwatch_t short_watch;
    EXPECT_EQ(message_of([&] { next_line(stream.out()); }), timeout_text);
    EXPECT_LT(short_watch.seconds(), 1.5);
    ASSERT_TRUE(close_within(stream, 15.0));
    EXPECT_EQ(stream.exit_code(), 3u);
}

TEST(ExecStreamTest, MissingProgramGivesTheCreateProcessMessageAndLeaksNothing) {
    const std::string program = helper().substr(0, helper().find_last_of('\\') + 1) + "no such helper.exe";
    const lines_t args = {"a b"};
    exec_stream_t stream;
    auto failed_start = [&] {
        return message_of<os_error_t>([&] { stream.start(program, args.begin(), args.end()); });
    };
    failed_start(); // the first failure may leave the system something to keep for later
    const unsigned long handles_before = handle_count();
    // Only the description's line feeds are cut: a carriage return before them stays.
    EXPECT_EQ(failed_start(), "exec_stream_t::start: CreateProcess failed.\n command line was: \"" + program +
                                  "\"  \"a b\"\n" + description(2) + "\n[code 0x0002 (2)]");
    EXPECT_LE(handle_count(), handles_before) << "every pipe end is closed again";
    EXPECT_TRUE(stream.close());
}

TEST(ExecStreamTest, WriteToAChildThatClosedItsInputFailsInALaterPutOrInClose) {
    exec_stream_t stream;
    start(stream, {"close_stdin"});
    ASSERT_EQ(next_line(stream.out()), "closed");
    // The writer thread fails on its own, the write itself is accepted. (Under
    // Wine the child's console host holds the pipe till the child exits.)
    EXPECT_NO_THROW(stream.in() << "first" << std::endl);
    std::string what = "(nothing thrown)";
    for (stopwatch_t watch; watch.seconds() < 3.0 && what == "(nothing thrown)"; ::Sleep(10))
        what = message_of([&] { stream.in() << "more" << std::endl; });
    EXPECT_TRUE(is_write_failure(what)) << what;
    EXPECT_TRUE(stream.in().bad());
    // The failed input does not spoil reading what the child wrote.
    EXPECT_NO_THROW(EXPECT_EQ(next_line(stream.out()), "(no line)"));
    EXPECT_TRUE(stream.out().eof());
    // Close raises the failure once more, yet ends everything first.
    EXPECT_EQ(message_of([&] { stream.close(); }), what);
    EXPECT_EQ(stream.exit_code(), 4u);
    EXPECT_TRUE(stream.close());

    // Read to the end first: then neither the child nor (under Wine) its
    // console host holds the input pipe, and the write fails before close.
    start(stream, {"close_stdin"});
    EXPECT_EQ(read_lines(stream.out()), lines_t{"closed"});
    EXPECT_NO_THROW(stream.in() << "shutdown" << std::endl);
    what = message_of([&] { stream.close(); });
    EXPECT_TRUE(is_write_failure(what)) << what;
    EXPECT_EQ(stream.exit_code(), 4u);
    EXPECT_TRUE(stream.close());

    start(stream, {"exit", "0"});
    EXPECT_EQ(read_lines(stream.out()), lines_t{"exit 0"});
    EXPECT_TRUE(stream.close()) << "the earlier failure belongs to the earlier child";
}

TEST(ExecStreamStressTest, SixtyFourMiBThroughOutWhileStandardErrorFloodsUnread) {
    const std::uint64_t out_size = 64ull << 20;
    const std::uint64_t err_size = 16ull << 20;
    exec_stream_t stream;
    // The child writes a block to standard error after every four to output;
    // unless standard error is drained on its own, the child stalls.
    start(stream, {"output", std::to_string(out_size), std::to_string(err_size), "11"});
    expect_pattern(stream.out(), 11, out_size);
    expect_pattern(stream.err(), 12, err_size);
    EXPECT_TRUE(stream.close());
    EXPECT_EQ(stream.exit_code(), 0u);
}

TEST(ExecStreamStressTest, TwoHundredStartCloseCyclesLeaveTheHandleCountAsItWas) {
    exec_stream_t stream;
    auto cycle = [&stream](int code) {
        start(stream, {"exit", std::to_string(code)});
        EXPECT_EQ(read_lines(stream.out()), lines_t{"exit " + std::to_string(code)});
        ASSERT_TRUE(close_within(stream, 5.0));
        EXPECT_EQ(stream.exit_code(), static_cast<std::uint32_t>(code));
    };
    for (int i = 0; i < 3; ++i) cycle(i);
    const unsigned long before = handle_count();
    for (int i = 1; i <= 200 && !HasFailure(); ++i) cycle(i);
    // A leak of a single handle per cycle would show as 200.
    EXPECT_LE(handle_count(), before + 5);
}
