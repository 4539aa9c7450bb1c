#pragma once
// The child-process library: the one header its users include.
//
// A child process whose standard input, output and error are anonymous pipes,
// handed to the caller as standard streams. Each pipe is served by a worker
// thread, so the child never blocks because the caller is not reading, and a
// read or write never waits longer than the stream's wait timeout. The
// streams carry text: carriage returns in the child's output are dropped, and
// every line feed written to in() reaches the child as CR LF.
//
// Every failure of the facility is thrown as exec_stream_t::error_t (or its
// derived os_error_t) with a message that begins with the failing operation.
#include <cstdint>
#include <exception>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

namespace childprocess {

class exec_stream_t {
public:
    class error_t : public std::exception {
    public:
        explicit error_t(const std::string& message);
        // The message followed by "\n[code 0x<hex, at least 4 digits> (<decimal>)]".
        error_t(const std::string& message, std::uint32_t code);
        const char* what() const noexcept override;
        // The system error code the failure carries, no_code when it has none.
        static constexpr std::uint32_t no_code = 0xFFFFFFFF;
        std::uint32_t code() const noexcept { return m_code; }

    protected:
        error_t() = default;
        void compose(const std::string& message, std::uint32_t code);

    private:
        std::string m_message;
        std::uint32_t m_code = no_code;
    };

    // The source of a child's arguments: next() returns each argument in turn,
    // then null.
    class next_arg_t {
    public:
        virtual ~next_arg_t() = default;
        virtual const std::string* next() = 0;
    };

    template <class iterator>
    class next_arg_impl_t : public next_arg_t {
    public:
        next_arg_impl_t(iterator first, iterator last) : m_current(first), m_end(last) {}
        const std::string* next() override {
            if (m_current == m_end) return nullptr;
            m_arg = *m_current;
            ++m_current;
            return &m_arg;
        }

    private:
        iterator m_current;
        iterator m_end;
        std::string m_arg;
    };

    // Stream kinds, combinable into masks.
    enum stream_kind_t { kind_in = 1, kind_out = 2, kind_err = 4 };

    exec_stream_t();
    ~exec_stream_t();
    exec_stream_t(const exec_stream_t&) = delete;
    exec_stream_t& operator=(const exec_stream_t&) = delete;

    // Allowed only while the worker of each named stream is not running.
    void set_wait_timeout(int kinds, std::uint32_t milliseconds);

    template <class iterator>
    void start(const std::string& program, iterator first, iterator last) {
        next_arg_impl_t<iterator> args(first, last);
        start(program, static_cast<next_arg_t&>(args));
    }
    void start(const std::string& program, next_arg_t& args);
    // arguments: the quoted argument string, each argument preceded by a space.
    void start(const std::string& program, const std::string& arguments);

    std::ostream& in();
    std::istream& out();
    std::istream& err();

    // True when no child process is held any more (reaped, or none started);
    // false when the child has not ended within the child wait timeout.
    bool close();
    // Throws while a child process is held.
    std::uint32_t exit_code();

private:
    struct impl_t;
    std::unique_ptr<impl_t> m_impl;
};

// An OS failure: the message, a line feed, the system's description of the
// code and the code suffix. Without a code, the thread's last error is taken.
class os_error_t : public exec_stream_t::error_t {
public:
    explicit os_error_t(const char* message);
    os_error_t(const std::string& message, std::uint32_t code);
};

} // namespace childprocess
