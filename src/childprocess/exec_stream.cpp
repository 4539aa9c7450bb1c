#include "childprocess/childprocess.h"

#include "childprocess/command_line.h"
#include "childprocess/exec_stream_buffer.h"
#include "childprocess/pipe.h"
#include "childprocess/sync.h"
#include "childprocess/thread_buffer.h"
#include "handles/Handles.h"

#include <vector>

namespace childprocess {

struct exec_stream_t::impl_t {
    impl_t();

    void launch(const std::string& program, const std::string& arguments);
    bool close();
    void reset_streams();
    void tie_to_in();

    handles::Process m_child_process;
    handles::Kernel m_out_pipe;
    handles::Kernel m_err_pipe;

    // in_thread writes to the child's input and owns that pipe end.
    thread_buffer_t m_in_thread;
    thread_buffer_t m_out_thread;
    thread_buffer_t m_err_thread;

    exec_stream_buffer_t m_in_buffer;
    exec_stream_buffer_t m_out_buffer;
    exec_stream_buffer_t m_err_buffer;

    exec_ostream_t m_in;
    exec_istream_t m_out;
    exec_istream_t m_err;

    std::uint32_t m_exit_code = 0;
};

namespace {

// How long close waits for the child to end.
constexpr DWORD child_timeout = 500;

HANDLE duplicate(HANDLE handle, const char* failure) {
    HANDLE copy = nullptr;
    const HANDLE self = ::GetCurrentProcess();
    if (!::DuplicateHandle(self, handle, self, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) throw os_error_t(failure);
    return copy;
}

void disinherit(HANDLE handle, const char* failure) {
    if (!::SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0)) throw os_error_t(failure);
}

void close_handle(handles::Kernel& handle, const char* failure) {
    if (!handle.close()) throw os_error_t(failure);
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
    : m_in_buffer(kind_in, m_in_thread), m_out_buffer(kind_out, m_out_thread), m_err_buffer(kind_err, m_err_thread),
      m_in(m_in_buffer), m_out(m_out_buffer), m_err(m_err_buffer) {
    tie_to_in();
    // Once in has failed it is bad for good, and flushing a bad stream throws
    // std::ios_base::failure here; reads from out and err stop flushing it,
    // so that what the child wrote can still be read.
    m_in_buffer.on_put_failure([this] {
        m_out.tie(nullptr);
        m_err.tie(nullptr);
    });
    m_in.exceptions(std::ios_base::badbit);
    m_out.exceptions(std::ios_base::badbit);
    m_err.exceptions(std::ios_base::badbit);
}

// On failure every pipe end opened here is closed again.
void exec_stream_t::impl_t::launch(const std::string& program, const std::string& arguments) {
    pipe_t in_pair;
    pipe_t out_pair;
    pipe_t err_pair;

    disinherit(in_pair.w(), "exec_stream_t::start: unable to disinherit stdin write pipe");
    disinherit(out_pair.r(), "exec_stream_t::start: unable to disinherit stdout read pipe");
    disinherit(err_pair.r(), "exec_stream_t::start: unable to disinherit stderr read pipe");

    handles::Kernel in_pipe(duplicate(in_pair.w(), "exec_stream_t::start: unable to duplicate in handle"));
    in_pair.close_w();
    m_out_pipe.reset(duplicate(out_pair.r(), "exec_stream_t::start: unable to duplicate out handle"));
    out_pair.close_r();
    m_err_pipe.reset(duplicate(err_pair.r(), "exec_stream_t::start: unable to duplicate err handle"));
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
    const handles::Thread child_thread(process.hThread);
    m_child_process.reset(process.hProcess);

    reset_streams();

    m_out_thread.set_read_buffer_size(exec_stream_buffer_t::buffer_size);
    m_err_thread.set_read_buffer_size(exec_stream_buffer_t::buffer_size);
    m_out_thread.start_thread(m_out_pipe.get(), thread_buffer_t::dir_read);
    m_err_thread.start_thread(m_err_pipe.get(), thread_buffer_t::dir_read);
    m_in_thread.start_thread(in_pipe.get(), thread_buffer_t::dir_write);
    in_pipe.release();

    in_pair.close_r();
    out_pair.close_w();
    err_pair.close_w();
}

void exec_stream_t::impl_t::reset_streams() {
    m_in_buffer.clear();
    m_out_buffer.clear();
    m_err_buffer.clear();
    m_in.clear();
    m_out.clear();
    m_err.clear();
    tie_to_in();
}

// Every read from out or err first flushes what the caller wrote to in.
void exec_stream_t::impl_t::tie_to_in() {
    m_out.tie(&m_in);
    m_err.tie(&m_in);
}

// A failure raised by a worker does not cut closing short: the workers are
// stopped, the pipes closed and the child waited for, and then the first such
// failure is thrown.
bool exec_stream_t::impl_t::close() {
    std::exception_ptr first;
    if (m_in_thread.started()) {
        // A bad in has already reported its failure, and flushing it would
        // only throw std::ios_base::failure.
        if (!m_in.bad()) {
            try {
                m_in.flush();
            } catch (...) {
                keep_first(first);
            }
        }
        if (!stop(m_in_thread, first) && !m_in_thread.abort_thread())
            throw error_t("exec_stream_t::close: waiting till in_thread stops exceeded timeout");
    }
    if (!stop(m_out_thread, first) && !m_out_thread.abort_thread())
        throw error_t("exec_stream_t::close: waiting till out_thread stops exceeded timeout");
    if (!stop(m_err_thread, first) && !m_err_thread.abort_thread())
        throw error_t("exec_stream_t::close: waiting till err_thread stops exceeded timeout");

    close_handle(m_out_pipe, "exec_stream_t::close: unable to close out_pipe handle");
    close_handle(m_err_pipe, "exec_stream_t::close: unable to close err_pipe handle");

    if (m_child_process) {
        wait_result_t result = wait_for(m_child_process.get(), child_timeout);
        if (!result.ok() && !result.timed_out()) {
            const std::uint32_t code = result.error_code() != 0 ? result.error_code() : ::GetLastError();
            throw os_error_t(
                std::string("exec_stream_t::close: wait for child process failed. ") + result.error_message(), code);
        }
        if (result.is_signaled(m_child_process.get())) {
            DWORD code = 0;
            if (!::GetExitCodeProcess(m_child_process.get(), &code))
                throw os_error_t("exec_stream_t::close: unable to get process exit code");
            m_exit_code = code;
            close_handle(m_child_process, "exec_stream_t::close: unable to close child process handle");
        }
    }
    if (first) std::rethrow_exception(first);
    return !m_child_process;
}

exec_stream_t::exec_stream_t() : m_impl(new impl_t) {}

exec_stream_t::~exec_stream_t() {
    try {
        close();
    } catch (...) {}
}

void exec_stream_t::set_wait_timeout(int kinds, std::uint32_t milliseconds) {
    if (kinds & kind_in) m_impl->m_in_thread.set_wait_timeout(milliseconds);
    if (kinds & kind_out) m_impl->m_out_thread.set_wait_timeout(milliseconds);
    if (kinds & kind_err) m_impl->m_err_thread.set_wait_timeout(milliseconds);
}

void exec_stream_t::start(const std::string& program, next_arg_t& args) { start(program, build_argument_string(args)); }

// After a failed start, started workers are stopped and a child that was
// created is held for a later close.
void exec_stream_t::start(const std::string& program, const std::string& arguments) {
    if (!close()) throw error_t("exec_stream_t::start: previous child process has not yet terminated");
    try {
        m_impl->launch(program, arguments);
    } catch (...) {
        try {
            close();
        } catch (...) {}
        throw;
    }
}

std::ostream& exec_stream_t::in() { return m_impl->m_in; }

std::istream& exec_stream_t::out() { return m_impl->m_out; }

std::istream& exec_stream_t::err() { return m_impl->m_err; }

bool exec_stream_t::close() { return m_impl->close(); }

std::uint32_t exec_stream_t::exit_code() {
    if (m_impl->m_child_process) throw error_t("exec_stream_t:exit_code: child process still running");
    return m_impl->m_exit_code;
}

} // namespace childprocess
