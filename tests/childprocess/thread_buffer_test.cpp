// The pipe buffer threads on pipes inside the test process.
#include "childprocess/exec_stream.h"
#include "childprocess/thread_buffer.h"
#include "child.h"

#include <gtest/gtest.h>
#include <functional>
#include <thread>
#include <utility>
#include <vector>
#include <windows.h>

namespace {

struct test_pipe_t {
    test_pipe_t() { EXPECT_TRUE(::CreatePipe(&r, &w, nullptr, 0)); }
    ~test_pipe_t() {
        close_r();
        close_w();
    }
    void close_r() {
        if (r) ::CloseHandle(r);
        r = nullptr;
    }
    void close_w() {
        if (w) ::CloseHandle(w);
        w = nullptr;
    }
    // The writing worker closes its pipe end itself.
    HANDLE give_w() { return std::exchange(w, nullptr); }
    void write(const std::string& text) {
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(w, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
        ASSERT_EQ(written, text.size());
    }
    // Everything until the writing side is closed.
    std::string read_all() {
        std::string text;
        char buffer[4096];
        DWORD count = 0;
        while (::ReadFile(r, buffer, sizeof buffer, &count, nullptr)) text.append(buffer, count);
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
        return text;
    }
    HANDLE r = nullptr;
    HANDLE w = nullptr;
};

// Everything a reading buffer delivers until the stream ends.
std::string get_all(thread_buffer_t& buffer, std::size_t room = 4096) {
    std::string text;
    std::vector<char> destination(room);
    for (;;) {
        std::size_t size = room;
        bool no_more = false;
        buffer.get(destination.data(), size, no_more);
        if (no_more) {
            EXPECT_EQ(size, 0u);
            return text;
        }
        EXPECT_GT(size, 0u) << "a get that delivers nothing must mean the end";
        if (size == 0) return text;
        text.append(destination.data(), size);
    }
}

void put_text(thread_buffer_t& buffer, const std::string& text) {
    std::size_t size = text.size();
    bool no_more = true;
    buffer.put(text.data(), size, no_more);
    EXPECT_FALSE(no_more);
    EXPECT_EQ(size, text.size());
}

} // namespace

TEST(ThreadBufferTest, MisuseIsRefusedWithItsMessage) {
    thread_buffer_t buffer;
    char destination[16];
    std::size_t size = sizeof destination;
    bool no_more = false;
    EXPECT_EQ(message_of([&] { buffer.get(destination, size, no_more); }),
              "thread_buffer_t::get: thread was not started or was started for writing");
    EXPECT_EQ(message_of([&] { buffer.put("x", size, no_more); }),
              "thread_buffer_t::put: thread not started or started for reading");
    EXPECT_TRUE(buffer.stop_thread()) << "never started";
    EXPECT_TRUE(buffer.abort_thread());

    test_pipe_t pipe;
    buffer.start_thread(pipe.r, thread_buffer_t::dir_read);
    EXPECT_EQ(message_of([&] { buffer.put("x", size, no_more); }),
              "thread_buffer_t::put: thread not started or started for reading");
    EXPECT_EQ(message_of([&] { buffer.start_thread(pipe.r, thread_buffer_t::dir_read); }),
              "thread_buffer_t::start_thread: thread already started");
    EXPECT_EQ(message_of([&] { buffer.set_wait_timeout(10); }),
              "thread_buffer_t::set_wait_timeout: thread already started");
    EXPECT_EQ(message_of([&] { buffer.set_read_buffer_size(10); }),
              "thread_buffer_t::set_read_buffer_size: thread already started");
    pipe.close_w();
    EXPECT_TRUE(buffer.stop_thread());

    test_pipe_t second;
    buffer.start_thread(second.give_w(), thread_buffer_t::dir_write);
    EXPECT_EQ(message_of([&] { buffer.get(destination, size, no_more); }),
              "thread_buffer_t::get: thread was not started or was started for writing");
    EXPECT_TRUE(buffer.stop_thread());
}

TEST(ThreadBufferTest, ReaderDropsCarriageReturnsAcrossChunksAndThenEnds) {
    test_pipe_t pipe;
    thread_buffer_t buffer;
    buffer.start_thread(pipe.r, thread_buffer_t::dir_read);
    // Separate writes with pauses become separate chunks, so line ends are
    // split between chunks.
    for (const char* part : {"ab\r", "\ncd\r", "\r\n", "e\r\nf"}) {
        pipe.write(part);
        ::Sleep(30);
    }
    pipe.close_w();
    EXPECT_EQ(get_all(buffer, 3), "ab\ncd\ne\nf");

    char destination[8];
    std::size_t size = sizeof destination;
    bool no_more = false;
    buffer.get(destination, size, no_more);
    EXPECT_TRUE(no_more) << "the end stays the end";
    EXPECT_EQ(size, 0u);
    EXPECT_TRUE(buffer.stop_thread());
}

TEST(ThreadBufferTest, ChunkOfOnlyCarriageReturnsIsNotTheEndOfTheStream) {
    test_pipe_t pipe;
    thread_buffer_t buffer;
    buffer.start_thread(pipe.r, thread_buffer_t::dir_read);
    pipe.write("\r\r");
    ::Sleep(200);
    std::thread late([&] {
        ::Sleep(300);
        pipe.write("z");
    });
    char destination[8];
    std::size_t size = sizeof destination;
    bool no_more = true;
    buffer.get(destination, size, no_more);
    late.join();
    EXPECT_FALSE(no_more);
    ASSERT_EQ(size, 1u) << "nothing delivered would read as end of file";
    EXPECT_EQ(destination[0], 'z');
    pipe.close_w();
    EXPECT_TRUE(buffer.stop_thread());
}

TEST(ThreadBufferTest, SilentPipeTimesOutThenStopGivesUpAndAbortEndsTheWorker) {
    test_pipe_t pipe;
    thread_buffer_t buffer;
    buffer.set_wait_timeout(300);
    buffer.start_thread(pipe.r, thread_buffer_t::dir_read);
    char destination[8];
    std::size_t size = sizeof destination;
    bool no_more = false;

    stopwatch_t watch;
    EXPECT_EQ(message_of([&] { buffer.get(destination, size, no_more); }),
              "thread_buffer_t::get: wait for got_data failed\nwait_result_t: timeout elapsed\n[code 0x0000 (0)]");
    EXPECT_GT(watch.seconds(), 0.25);
    EXPECT_LT(watch.seconds(), 2.0);

    // The worker sits in ReadFile and cannot see the stop request.
    stopwatch_t stop_watch;
    EXPECT_FALSE(buffer.stop_thread());
    EXPECT_GT(stop_watch.seconds(), 0.45);
    EXPECT_LT(stop_watch.seconds(), 2.0);
    EXPECT_TRUE(buffer.abort_thread());
    EXPECT_TRUE(buffer.stop_thread()) << "nothing runs any more";
}

TEST(ThreadBufferTest, ReadFailureIsRaisedWhenNothingIsLeftAndAgainByStop) {
    test_pipe_t pipe;
    thread_buffer_t buffer;
    // Reading from the write end fails at once.
    buffer.start_thread(pipe.w, thread_buffer_t::dir_read);
    char destination[8];
    std::size_t size = sizeof destination;
    bool no_more = false;
    const std::string what = message_of([&] { buffer.get(destination, size, no_more); });
    EXPECT_TRUE(starts_with(what, "thread_buffer_t::reader_thread: ReadFile failed\n")) << what;
    EXPECT_TRUE(ends_with(what, ")]")) << what;
    EXPECT_FALSE(ends_with(what, "[code 0x0000 (0)]")) << what;

    EXPECT_EQ(message_of([&] { buffer.stop_thread(); }), what);
    EXPECT_TRUE(buffer.stop_thread());
}

TEST(ThreadBufferTest, WriterAddsCarriageReturnsAndWritesEverythingBeforeStopping) {
    test_pipe_t pipe;
    thread_buffer_t buffer;
    buffer.start_thread(pipe.give_w(), thread_buffer_t::dir_write);
    const std::string big(100000, 'x');
    put_text(buffer, "shutdown\n");
    put_text(buffer, "a\r\nb");
    put_text(buffer, big);
    std::string received;
    std::thread reader([&] { received = pipe.read_all(); });
    EXPECT_TRUE(buffer.stop_thread());
    reader.join();
    EXPECT_EQ(received, "shutdown\r\na\r\r\nb" + big) << "every line feed gets a carriage return before it";
}

TEST(ThreadBufferTest, WriteFailureIsRaisedByALaterPutAndByStopButNotByTheNextRun) {
    test_pipe_t pipe;
    pipe.close_r();
    thread_buffer_t buffer;
    buffer.start_thread(pipe.give_w(), thread_buffer_t::dir_write);
    put_text(buffer, "taken before the worker fails\n");

    std::string what = "(nothing thrown)";
    for (stopwatch_t watch; watch.seconds() < 3.0 && what == "(nothing thrown)"; ::Sleep(10))
        what = message_of([&] { put_text(buffer, "more\n"); });
    EXPECT_TRUE(starts_with(what, "thread_buffer_t::writer_thread: WriteFile failed\n")) << what;
    EXPECT_TRUE(ends_with(what, "(232)]") || ends_with(what, "(109)]")) << what;
    EXPECT_EQ(message_of([&] { buffer.stop_thread(); }), what);
    EXPECT_TRUE(buffer.stop_thread());

    test_pipe_t next;
    buffer.start_thread(next.give_w(), thread_buffer_t::dir_write);
    put_text(buffer, "ok");
    std::string received;
    std::thread reader([&] { received = next.read_all(); });
    EXPECT_TRUE(buffer.stop_thread()) << "the earlier failure belongs to the earlier run";
    reader.join();
    EXPECT_EQ(received, "ok");
}
