#include "childprocess/thread_buffer.h"
#include "childprocess/childprocess.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <string>

namespace childprocess {
namespace {

// How long a stop or an abort waits for the worker to end.
constexpr DWORD stop_timeout = 500;

// Raising a wait or worker error: nothing without message and code; an
// os_error_t for a bare code; otherwise prefix, line feed, message and code.
void raise(const char* prefix, std::uint32_t code, const char* message) {
    if (*message == '\0' && code == 0) return;
    if (*message == '\0') throw os_error_t(prefix, code);
    throw exec_stream_t::error_t(std::string(prefix) + "\n" + message, code);
}

void raise_wait(const char* prefix, const wait_result_t& result) {
    raise(prefix, result.error_code(), result.error_message());
}

// Copies src to dst, leaving out carriage returns, until either is used up.
// Returns the bytes consumed from src; produced receives the bytes written.
std::size_t copy_without_cr(const char* src, std::size_t available, char* dst, std::size_t room,
                            std::size_t& produced) {
    std::size_t in = 0;
    std::size_t out = 0;
    while (in < available && out < room) {
        const std::size_t span = std::min(available - in, room - out);
        const void* cr = std::memchr(src + in, '\r', span);
        const std::size_t run = cr ? static_cast<const char*>(cr) - (src + in) : span;
        std::memcpy(dst + out, src + in, run);
        in += run;
        out += run;
        if (cr) ++in;
    }
    produced = out;
    return in;
}

} // namespace

thread_buffer_t::~thread_buffer_t() {
    bool stopped = false;
    try {
        stopped = stop_thread();
    } catch (...) {}
    if (!stopped) {
        try {
            stopped = abort_thread();
        } catch (...) {}
    }
    if (!stopped) std::terminate();
}

void thread_buffer_t::set_wait_timeout(std::uint32_t milliseconds) {
    if (m_direction != dir_none)
        throw exec_stream_t::error_t("thread_buffer_t::set_wait_timeout: thread already started");
    m_wait_timeout = milliseconds;
}

void thread_buffer_t::set_read_buffer_size(std::uint32_t bytes) {
    if (m_direction != dir_none)
        throw exec_stream_t::error_t("thread_buffer_t::set_read_buffer_size: thread already started");
    m_read_buffer_size = bytes;
}

void thread_buffer_t::start_thread(HANDLE pipe, direction_t direction) {
    if (m_direction != dir_none) throw exec_stream_t::error_t("thread_buffer_t::start_thread: thread already started");
    clear_buffers();
    // A previous worker's failure belongs to the previous run.
    record_error("", 0, "");
    m_pipe = pipe;
    if (!m_stop_thread.reset())
        throw os_error_t("thread_buffer_t::start_thread: unable to initialize m_stop_thread event");
    if (!m_got_data.reset()) throw os_error_t("thread_buffer_t::start_thread: unable to initialize m_got_data event");
    if (!m_want_data.set()) throw os_error_t("thread_buffer_t::start_thread: unable to initialize m_want_data event");
    if (direction == dir_write) m_written_pipe.reset(pipe);
    m_thread.reset(::CreateThread(nullptr, 0, direction == dir_read ? reader_thread : writer_thread, this, 0, nullptr));
    if (!m_thread) {
        m_written_pipe.release();
        throw os_error_t("thread_buffer_t::start_thread: unable to start thread");
    }
    m_direction = direction;
}

bool thread_buffer_t::stop_thread() {
    if (m_direction == dir_none) return true;
    if (!m_stop_thread.set()) throw os_error_t("thread_buffer_t::stop_thread: m_stop_thread.set() failed");
    if (!check_thread_stopped()) return false;
    raise_recorded_error();
    return true;
}

bool thread_buffer_t::abort_thread() {
    if (m_direction == dir_none) return true;
    if (!::TerminateThread(m_thread.get(), 0)) throw os_error_t("exec_steam_t::abort_thread: TerminateThread failed");
    return check_thread_stopped();
}

bool thread_buffer_t::check_thread_stopped() {
    if (m_direction == dir_none) return true;
    wait_result_t result = wait_for(m_thread.get(), stop_timeout);
    if (result.timed_out()) return false;
    if (!result.ok()) raise_wait("thread_buffer_t::check_thread_stopped: wait for thread to finish failed", result);
    m_thread.reset();
    m_written_pipe.reset();
    m_direction = dir_none;
    return true;
}

void thread_buffer_t::get(char* destination, std::size_t& size, bool& no_more) {
    if (m_direction != dir_read)
        throw exec_stream_t::error_t("thread_buffer_t::get: thread was not started or was started for writing");
    no_more = false;
    if (size == 0) return;
    // A pass can deliver nothing while the worker runs on: the chunks taken
    // held only carriage returns, or the worker was just ending. Neither is
    // the end of the stream, so wait again.
    for (;;) {
        if (!worker_running("thread_buffer_t::get: GetExitCodeThread failed")) {
            if (deliver(destination, size)) return;
            raise_recorded_error();
            size = 0;
            no_more = true;
            return;
        }
        const HANDLE objects[] = {m_got_data.handle(), m_thread.get()};
        wait_result_t result = wait_for_any(objects, 2, m_wait_timeout);
        if (!result.ok()) raise_wait("thread_buffer_t::get: wait for got_data failed", result);
        if (!result.is_signaled(m_got_data.handle())) continue;

        grab_mutex_t lock(m_mutex, m_wait_timeout);
        if (!lock.ok()) raise_wait("thread_buffer_t::get: wait for mutex failed", lock.result());
        const std::size_t delivered = take(destination, size);
        if (m_total == 0 && !m_got_data.reset())
            throw os_error_t("thread_buffer_t::get: unable to reset m_got_data event");
        if (delivered != 0) {
            size = delivered;
            return;
        }
    }
}

void thread_buffer_t::put(const char* source, std::size_t& size, bool& no_more) {
    if (m_direction != dir_write)
        throw exec_stream_t::error_t("thread_buffer_t::put: thread not started or started for reading");
    for (;;) {
        if (!worker_running("thread_buffer_t::put: GetExitCodeThread failed")) {
            raise_recorded_error();
            size = 0;
            no_more = true;
            return;
        }
        const HANDLE objects[] = {m_want_data.handle(), m_thread.get()};
        wait_result_t result = wait_for_any(objects, 2, m_wait_timeout);
        if (!result.ok()) raise_wait("thread_buffer_t::put: wait for want_data failed", result);
        if (!result.is_signaled(m_want_data.handle())) continue;

        grab_mutex_t lock(m_mutex, m_wait_timeout);
        if (!lock.ok()) raise_wait("thread_buffer_t::put: wait for mutex failed", lock.result());
        no_more = false;
        if (size != 0) {
            const std::size_t line_feeds = std::count(source, source + size, '\n');
            chunk_t chunk{std::unique_ptr<char[]>(new char[size + line_feeds]),
                          static_cast<std::uint32_t>(size + line_feeds)};
            char* out = chunk.data.get();
            for (std::size_t i = 0; i < size; ++i) {
                if (source[i] == '\n') *out++ = '\r';
                *out++ = source[i];
            }
            m_total += chunk.size;
            m_buffers.push_back(std::move(chunk));
        }
        if (m_total != 0 && !m_got_data.set()) throw os_error_t("thread_buffer_t::put: unable to set m_got_data event");
        return;
    }
}

DWORD WINAPI thread_buffer_t::reader_thread(LPVOID self_pointer) {
    auto* self = static_cast<thread_buffer_t*>(self_pointer);
    char* scratch = nullptr;
    try {
        scratch = new char[self->m_read_buffer_size];
        self->read_loop(scratch);
    } catch (...) {
        self->record_error("", 0, "thread_buffer_t::reader_thread: unknown exception caught");
    }
    delete[] scratch;
    // Wakes a caller waiting in get, which then finds the worker ended.
    self->m_got_data.set();
    return 0;
}

void thread_buffer_t::read_loop(char* scratch) {
    // When both are set, the stop event wins.
    const HANDLE objects[] = {m_stop_thread.handle(), m_want_data.handle()};
    for (;;) {
        wait_result_t result = wait_for_any(objects, 2, m_wait_timeout);
        if (result.timed_out()) continue;
        if (!result.ok()) {
            record_error("thread_buffer_t::reader_thread: wait for want_data, destruction failed", result.error_code(),
                         result.error_message());
            return;
        }
        if (result.is_signaled(m_stop_thread.handle())) return;
        if (!result.is_signaled(m_want_data.handle())) continue;

        DWORD count = 0;
        bool ended = false;
        if (!::ReadFile(m_pipe, scratch, m_read_buffer_size, &count, nullptr)) {
            const DWORD error = ::GetLastError();
            // A broken pipe is the normal end of the other side's output.
            if (error != ERROR_BROKEN_PIPE) {
                record_error("thread_buffer_t::reader_thread: ReadFile failed", error, "");
                return;
            }
            ended = true;
        }
        if (count != 0 && !store(scratch, count)) return;
        if (ended) return;
    }
}

bool thread_buffer_t::store(const char* bytes, std::uint32_t count) {
    grab_mutex_t lock(m_mutex, m_wait_timeout);
    if (!lock.ok()) {
        record_error("thread_buffer_t::reader_thread: wait for mutex failed", lock.result().error_code(),
                     lock.result().error_message());
        return false;
    }
    chunk_t chunk{std::unique_ptr<char[]>(new char[count]), count};
    std::memcpy(chunk.data.get(), bytes, count);
    m_buffers.push_back(std::move(chunk));
    m_total += count;
    if (!m_got_data.set()) {
        record_error("thread_buffer_t::reader_thread:  unable to set m_got_data event", ::GetLastError(), "");
        return false;
    }
    return true;
}

DWORD WINAPI thread_buffer_t::writer_thread(LPVOID self_pointer) {
    auto* self = static_cast<thread_buffer_t*>(self_pointer);
    try {
        self->write_loop();
    } catch (...) {
        self->record_error("", 0, "thread_buffer_t::writer_thread: unknown exception caught");
    }
    // The child sees the end of its input.
    self->m_written_pipe.reset();
    // Wakes a caller waiting in put, which then finds the worker ended.
    self->m_want_data.set();
    return 0;
}

void thread_buffer_t::write_loop() {
    // When both are set, the data event wins: a writer asked to stop first
    // writes out every chunk already handed to it.
    const HANDLE objects[] = {m_got_data.handle(), m_stop_thread.handle()};
    chunk_t chunk{nullptr, 0};
    std::uint32_t written = 0;
    for (;;) {
        wait_result_t result = wait_for_any(objects, 2, m_wait_timeout);
        if (!result.ok() && !result.timed_out()) {
            record_error("thread_buffer_t::writer_thread: wait for got_data, destruction failed", result.error_code(),
                         result.error_message());
            return;
        }
        if (!chunk.data) {
            if (!result.is_signaled(m_got_data.handle())) {
                if (result.is_signaled(m_stop_thread.handle())) return;
                continue;
            }
            if (!take_front(chunk)) return;
            written = 0;
            if (!chunk.data) continue;
        }
        DWORD count = 0;
        if (!::WriteFile(m_pipe, chunk.data.get() + written, chunk.size - written, &count, nullptr)) {
            record_error("thread_buffer_t::writer_thread: WriteFile failed", ::GetLastError(), "");
            return;
        }
        written += count;
        if (written == chunk.size) chunk.data.reset();
    }
}

bool thread_buffer_t::take_front(chunk_t& chunk) {
    grab_mutex_t lock(m_mutex, m_wait_timeout);
    if (!lock.ok()) {
        record_error("thread_buffer_t::writer_thread: wait for mutex failed", lock.result().error_code(),
                     lock.result().error_message());
        return false;
    }
    if (m_total != 0) {
        chunk = std::move(m_buffers.front());
        m_buffers.pop_front();
        m_total -= chunk.size;
    }
    if (m_total == 0 && !m_got_data.reset()) {
        record_error("thread_buffer_t::writer_thread: unable to reset m_got_data event", ::GetLastError(), "");
        return false;
    }
    if (!m_want_data.set()) {
        record_error("thread_buffer_t::writer_thread: unable to set m_want_data event", ::GetLastError(), "");
        return false;
    }
    return true;
}

std::size_t thread_buffer_t::take(char* destination, std::size_t room) {
    std::size_t delivered = 0;
    while (delivered < room && !m_buffers.empty()) {
        chunk_t& front = m_buffers.front();
        const char* source = front.data.get() + m_read_offset;
        const std::size_t available = front.size - m_read_offset;
        std::size_t produced = 0;
        const std::size_t consumed =
            copy_without_cr(source, available, destination + delivered, room - delivered, produced);
        delivered += produced;
        m_read_offset += static_cast<std::uint32_t>(consumed);
        m_total -= static_cast<std::uint32_t>(consumed);
        if (m_read_offset == front.size) {
            m_buffers.pop_front();
            m_read_offset = 0;
        }
    }
    return delivered;
}

bool thread_buffer_t::deliver(char* destination, std::size_t& size) {
    std::size_t delivered = 0;
    while (delivered == 0 && m_total != 0) delivered = take(destination, size);
    if (delivered == 0) return false;
    size = delivered;
    return true;
}

void thread_buffer_t::clear_buffers() {
    m_buffers.clear();
    m_read_offset = 0;
    m_total = 0;
}

void thread_buffer_t::record_error(const char* prefix, std::uint32_t code, const char* message) {
    m_error_prefix = prefix;
    m_error_code = code;
    m_error_message = message;
}

void thread_buffer_t::raise_recorded_error() { raise(m_error_prefix, m_error_code, m_error_message); }

bool thread_buffer_t::worker_running(const char* status_failure) {
    DWORD status = 0;
    if (!::GetExitCodeThread(m_thread.get(), &status)) throw os_error_t(status_failure);
    return status == STILL_ACTIVE;
}

} // namespace childprocess
