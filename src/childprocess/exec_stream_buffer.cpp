#include "childprocess/exec_stream_buffer.h"

namespace childprocess {

exec_stream_buffer_t::exec_stream_buffer_t(exec_stream_t::stream_kind_t kind, thread_buffer_t& thread_buffer)
    : m_kind(kind), m_thread_buffer(thread_buffer), m_stream_buffer(new char[buffer_size]) {
    clear();
}

void exec_stream_buffer_t::clear() {
    char* begin = m_stream_buffer.get();
    char* end = begin + buffer_size;
    if (m_kind == exec_stream_t::kind_in) {
        setp(begin, end);
        setg(nullptr, nullptr, nullptr);
    } else {
        setp(nullptr, nullptr);
        setg(begin, end, end);
    }
}

exec_stream_buffer_t::int_type exec_stream_buffer_t::underflow() {
    if (m_kind == exec_stream_t::kind_in) return traits_type::eof();
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    std::size_t size = buffer_size;
    bool no_more = false;
    m_thread_buffer.get(m_stream_buffer.get(), size, no_more);
    if (no_more || size == 0) return traits_type::eof();
    setg(m_stream_buffer.get(), m_stream_buffer.get(), m_stream_buffer.get() + size);
    return traits_type::to_int_type(*gptr());
}

int exec_stream_buffer_t::sync() {
    if (m_kind != exec_stream_t::kind_in) return 0;
    return send_buffer() ? 0 : -1;
}

exec_stream_buffer_t::int_type exec_stream_buffer_t::overflow(int_type c) {
    if (m_kind != exec_stream_t::kind_in) return traits_type::eof();
    if (!send_buffer()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return 0;
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

// Hands the pending bytes to put; true when all were taken.
bool exec_stream_buffer_t::send_buffer() {
    const std::size_t pending = pptr() - pbase();
    if (pending != 0) {
        std::size_t size = pending;
        bool no_more = false;
        try {
            m_thread_buffer.put(pbase(), size, no_more);
        } catch (...) {
            if (m_on_put_failure) m_on_put_failure();
            throw;
        }
        if (no_more || size < pending) {
            if (m_on_put_failure) m_on_put_failure();
            return false;
        }
        setp(m_stream_buffer.get(), m_stream_buffer.get() + buffer_size);
    }
    return true;
}

} // namespace childprocess
