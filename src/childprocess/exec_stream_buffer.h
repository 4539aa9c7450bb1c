#pragma once
// The standard stream buffers over the pipe buffers: the input side's bytes
// are handed to put, the output sides' bytes come from get.
#include "childprocess/childprocess.h"
#include "childprocess/thread_buffer.h"

#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <streambuf>

namespace childprocess {

class exec_stream_buffer_t : public std::basic_streambuf<char> {
public:
    // Also the read size of the output workers. Every hand-over between a
    // worker and the caller costs several event and mutex operations, so the
    // pieces are large: in 4 KiB pieces those operations, not the pipe, would
    // bound the rate of reading.
    static constexpr std::size_t buffer_size = 65536;

    exec_stream_buffer_t(exec_stream_t::stream_kind_t kind, thread_buffer_t& thread_buffer);

    // Back to the initial areas: the whole array to put into for kind_in, an
    // empty get area (so the first read calls underflow) for the others.
    void clear();

    // Called when handing bytes to put fails (kind_in), before the failure
    // reaches the stream.
    void on_put_failure(std::function<void()> action) { m_on_put_failure = std::move(action); }

protected:
    int_type overflow(int_type c) override;
    int_type underflow() override;
    int sync() override;

private:
    bool send_buffer();

    exec_stream_t::stream_kind_t m_kind;
    thread_buffer_t& m_thread_buffer;
    std::unique_ptr<char[]> m_stream_buffer;
    std::function<void()> m_on_put_failure;
};

class exec_istream_t : public std::istream {
public:
    explicit exec_istream_t(exec_stream_buffer_t& buffer) : std::istream(&buffer) {}
};

class exec_ostream_t : public std::ostream {
public:
    explicit exec_ostream_t(exec_stream_buffer_t& buffer) : std::ostream(&buffer) {}
};

} // namespace childprocess
