#pragma once
// One worker thread between a pipe and the caller. A reading buffer fills an
// in-memory list of chunks from the pipe; a writing buffer empties its list
// into the pipe. The process at the other end never blocks because the caller
// is not reading, and the caller never waits longer than the wait timeout.
// The list holds text as the pipe carries it: get drops carriage returns, put
// inserts one before every line feed.
//
// A worker that fails records its error and ends; the caller's side raises it
// when get or put finds the worker ended with nothing left, or on stop_thread.
#include "childprocess/sync.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

namespace childprocess {

class thread_buffer_t {
public:
    enum direction_t { dir_none = 0, dir_read = 1, dir_write = 2 };

    thread_buffer_t() = default;
    // Stops the worker (aborting it if it will not stop); ends the process
    // when neither works, since the worker still uses this object.
    ~thread_buffer_t();
    thread_buffer_t(const thread_buffer_t&) = delete;
    thread_buffer_t& operator=(const thread_buffer_t&) = delete;

    // Both refused once the worker has been started.
    void set_wait_timeout(std::uint32_t milliseconds);
    void set_read_buffer_size(std::uint32_t bytes);

    // A reading worker never closes the pipe. From a successful start on, a
    // writing buffer owns its pipe: the worker closes it as it ends, or the
    // buffer does once an aborted worker has gone.
    void start_thread(HANDLE pipe, direction_t direction);
    bool started() const { return m_direction != dir_none; }

    // Each returns true when no worker runs any more. stop_thread raises the
    // worker's recorded error after a successful stop.
    bool stop_thread();
    bool abort_thread();
    bool check_thread_stopped();

    // size: in, room at destination; out, bytes delivered. Delivers at least
    // one byte unless the stream has ended (no_more true).
    void get(char* destination, std::size_t& size, bool& no_more);
    // size: in, bytes offered; out, bytes taken (all, or 0 with no_more true
    // once the worker has ended).
    void put(const char* source, std::size_t& size, bool& no_more);

private:
    struct chunk_t {
        std::unique_ptr<char[]> data;
        std::uint32_t size;
    };

    static DWORD WINAPI reader_thread(LPVOID self);
    static DWORD WINAPI writer_thread(LPVOID self);
    void read_loop(char* scratch);
    void write_loop();
    bool store(const char* bytes, std::uint32_t count);
    bool take_front(chunk_t& chunk);

    std::size_t take(char* destination, std::size_t room);
    bool deliver(char* destination, std::size_t& size);
    void clear_buffers();
    void record_error(const char* prefix, std::uint32_t code, const char* message);
    void raise_recorded_error();
    bool worker_running(const char* status_failure);

    direction_t m_direction = dir_none;

    std::deque<chunk_t> m_buffers;
    std::uint32_t m_read_offset = 0;
    std::uint32_t m_total = 0;
    mutex_t m_mutex;

    const char* m_error_prefix = "";
    std::uint32_t m_error_code = 0;
    const char* m_error_message = "";

    std::uint32_t m_wait_timeout = 2000;
    std::uint32_t m_read_buffer_size = 4096;

    handles::Thread m_thread;
    event_t m_want_data;
    event_t m_got_data;
    event_t m_stop_thread;
    HANDLE m_pipe = nullptr;
    handles::Kernel m_written_pipe;
};

} // namespace childprocess
