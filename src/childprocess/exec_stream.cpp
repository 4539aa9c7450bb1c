#include "childprocess/exec_stream.h"

#include "childprocess/command_line.h"
#include "childprocess/exec_stream_buffer.h"
#include "childprocess/handle.h"
#include "childprocess/pipe.h"
#include "childprocess/sync.h"
#include "childprocess/thread_buffer.h"

#include <vector>

struct exec_stream_t::impl_t {
    impl_t();

    void launch(const std::string& program, const std::string& arguments, bool& writer_started);
    void abandon_start(bool writer_started);
    bool close();
    void reset_streams();
    void tie_to_in();

    owned_handle_t child_process;
    // Open while not null. From the writer's start on, the writer closes it.
    HANDLE in_pipe = nullptr;
    owned_handle_t out_pipe;
    owned_handle_t err_pipe;

    thread_buffer_t in_thread;
    thread_buffer_t out_thread;
    thread_buffer_t err_thread;

    exec_stream_buffer_t in_buffer;
    exec_stream_buffer_t out_buffer;
    exec_stream_buffer_t err_buffer;

    exec_ostream_t in;
    exec_istream_t out;
    exec_istream_t err;

    std::uint32_t child_timeout = 500;
    std::uint32_t exit_code = 0;
};

namespace {

HANDLE duplicate(HANDLE handle, const char* failure) {
    HANDLE copy = nullptr;
    const HANDLE self = ::GetCurrentProcess();
    if (!::DuplicateHandle(self, handle, self, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) throw os_error_t(failure);
    return copy;
}

void disinherit(HANDLE handle, const char* failure) {
    if (!::SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0)) throw os_error_t(failure);
}

void close_handle(owned_handle_t& handle, const char* failure) {
    if (!handle) return;
    if (!::CloseHandle(handle.release())) throw os_error_t(failure);
}

void keep_first(std::exception_ptr& first) {
    if (!first) first = std::current_exception();
}

// Stops a worker. A failure that it had recorded is kept for later, so that
// closing goes on; the result tells whether the worker has ended.
bool stop(thread_buffer_t& thread, std::exception_ptr& first) {
    try {
        return thread.stop_thread();
    } catch (...) {
        keep_first(first);
        return thread.check_thread_stopped();
    }
}

} // namespace

exec_stream_t::impl_t::impl_t()
    : in_buffer(kind_in, in_thread),
      out_buffer(kind_out, out_thread),
      err_buffer(kind_err, err_thread),
      in(in_buffer),
      out(out_buffer),
      err(err_buffer) {
    tie_to_in();
    // Once in has failed it is bad for good, and flushing a bad stream throws
    // std::ios_base::failure here; reads from out and err stop flushing it,
    // so that what the child wrote can still be read.
    in_buffer.on_put_failure([this] {
        out.tie(nullptr);
        err.tie(nullptr);
    });
    in.exceptions(std::ios_base::badbit);
    out.exceptions(std::ios_base::badbit);
    err.exceptions(std::ios_base::badbit);
}

void exec_stream_t::impl_t::launch(const std::string& program, const std::string& arguments,
                                   bool& writer_started) {
    pipe_t in_pair;
    pipe_t out_pair;
    pipe_t err_pair;

    disinherit(in_pair.w(), "exec_stream_t::start: unable to disinherit stdin write pipe");
    disinherit(out_pair.r(), "exec_stream_t::start: unable to disinherit stdout read pipe");
    disinherit(err_pair.r(), "exec_stream_t::start: unable to disinherit stderr read pipe");

    in_pipe = duplicate(in_pair.w(), "exec_stream_t::start: unable to duplicate in handle");
    in_pair.close_w();
    out_pipe.reset(duplicate(out_pair.r(), "exec_stream_t::start: unable to duplicate out handle"));
    out_pair.close_r();
    err_pipe.reset(duplicate(err_pair.r(), "exec_stream_t::start: unable to duplicate err handle"));
    err_pair.close_r();

    const std::string command_line = build_command_line(program, arguments);
    std::vector<char> writable(command_line.begin(), command_line.end());
    writable.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in_pair.r();
    startup.hStdOutput = out_pair.w();
    startup.hStdError = err_pair.w();
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process)) {
        const DWORD error = ::GetLastError();
        throw os_error_t("exec_stream_t::start: CreateProcess failed.\n command line was: " + command_line, error);
    }
    ::CloseHandle(process.hThread);
    child_process.reset(process.hProcess);

    reset_streams();

    out_thread.set_read_buffer_size(exec_stream_buffer_t::buffer_size);
    err_thread.set_read_buffer_size(exec_stream_buffer_t::buffer_size);
    out_thread.start_thread(out_pipe.get(), thread_buffer_t::dir_read);
    err_thread.start_thread(err_pipe.get(), thread_buffer_t::dir_read);
    in_thread.start_thread(in_pipe, thread_buffer_t::dir_write);
    writer_started = true;

    in_pair.close_r();
    out_pair.close_w();
    err_pair.close_w();
}

// After a failed start: every pipe end still open is closed, started workers
// are stopped, and a child that was created is held for a later close.
void exec_stream_t::impl_t::abandon_start(bool writer_started) {
    if (!writer_started && in_pipe != nullptr) {
        ::CloseHandle(in_pipe);
        in_pipe = nullptr;
    }
    try {
        close();
    } catch (...) {
    }
}

void exec_stream_t::impl_t::reset_streams() {
    in_buffer.clear();
    out_buffer.clear();
    err_buffer.clear();
    in.clear();
    out.clear();
    err.clear();
    tie_to_in();
}

// Every read from out or err first flushes what the caller wrote to in.
void exec_stream_t::impl_t::tie_to_in() {
    out.tie(&in);
    err.tie(&in);
}

// A failure raised by a worker does not cut closing short: the workers are
// stopped, the pipes closed and the child waited for, and then the first such
// failure is thrown.
bool exec_stream_t::impl_t::close() {
    std::exception_ptr first;
    if (in_pipe != nullptr) {
        // A bad in has already reported its failure, and flushing it would
        // only throw std::ios_base::failure.
        if (!in.bad()) {
            try {
                in.flush();
            } catch (...) {
                keep_first(first);
            }
        }
        if (!stop(in_thread, first)) {
            if (!in_thread.abort_thread())
                throw error_t("exec_stream_t::close: waiting till in_thread stops exceeded timeout");
            // An aborted writer could not close its pipe.
            ::CloseHandle(in_pipe);
        }
        in_pipe = nullptr;
    }
    if (!stop(out_thread, first) && !out_thread.abort_thread())
        throw error_t("exec_stream_t::close: waiting till out_thread stops exceeded timeout");
    if (!stop(err_thread, first) && !err_thread.abort_thread())
        throw error_t("exec_stream_t::close: waiting till err_thread stops exceeded timeout");

    close_handle(out_pipe, "exec_stream_t::close: unable to close out_pipe handle");
    close_handle(err_pipe, "exec_stream_t::close: unable to close err_pipe handle");

    if (child_process) {
        wait_result_t result = wait_for(child_process.get(), child_timeout);
        if (!result.ok() && !result.timed_out()) {
            const std::uint32_t code = result.error_code() != 0 ? result.error_code() : ::GetLastError();
            throw os_error_t(std::string("exec_stream_t::close: wait for child process failed. ") +
                                 result.error_message(),
                             code);
        }
        if (result.is_signaled(child_process.get())) {
            DWORD code = 0;
            if (!::GetExitCodeProcess(child_process.get(), &code))
                throw os_error_t("exec_stream_t::close: unable to get process exit code");
            exit_code = code;
            close_handle(child_process, "exec_stream_t::close: unable to close child process handle");
        }
    }
    if (first) std::rethrow_exception(first);
    return !child_process;
}

exec_stream_t::exec_stream_t() : m_impl(new impl_t) {}

exec_stream_t::~exec_stream_t() {
    try {
        close();
    } catch (...) {
    }
}

void exec_stream_t::set_wait_timeout(int kinds, std::uint32_t milliseconds) {
    if (kinds & kind_in) m_impl->in_thread.set_wait_timeout(milliseconds);
    if (kinds & kind_out) m_impl->out_thread.set_wait_timeout(milliseconds);
    if (kinds & kind_err) m_impl->err_thread.set_wait_timeout(milliseconds);
}

void exec_stream_t::start(const std::string& program, next_arg_t& args) {
    start(program, build_argument_string(args));
}

void exec_stream_t::start(const std::string& program, const std::string& arguments) {
    if (!close()) throw error_t("exec_stream_t::start: previous child process has not yet terminated");
    bool writer_started = false;
    try {
        m_impl->launch(program, arguments, writer_started);
    } catch (...) {
        m_impl->abandon_start(writer_started);
        throw;
    }
}

std::ostream& exec_stream_t::in() { return m_impl->in; }

std::istream& exec_stream_t::out() { return m_impl->out; }

std::istream& exec_stream_t::err() { return m_impl->err; }

bool exec_stream_t::close() { return m_impl->close(); }

std::uint32_t exec_stream_t::exit_code() {
    if (m_impl->child_process) throw error_t("exec_stream_t:exit_code: child process still running");
    return m_impl->exit_code;
}
