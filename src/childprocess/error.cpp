#include "childprocess/childprocess.h"
#include "handles/Handles.h"

#include <cstdio>

namespace childprocess {
namespace {

std::string code_suffix(std::uint32_t code) {
    char text[48];
    std::snprintf(text, sizeof text, "\n[code 0x%04x (%u)]", static_cast<unsigned>(code), static_cast<unsigned>(code));
    return text;
}

// Only trailing line feeds are cut: a carriage return before them stays.
std::string system_description(std::uint32_t code) {
    char* buffer = nullptr;
    DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, code, 0x400, reinterpret_cast<char*>(&buffer), 0, nullptr);
    const handles::LocalMemory owner(buffer);
    if (length == 0 || buffer == nullptr) return "[unable to retrieve error description]";
    std::string text(buffer, length);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

} // namespace

exec_stream_t::error_t::error_t(const std::string& message) : m_message(message) {}

exec_stream_t::error_t::error_t(const std::string& message, std::uint32_t code) { compose(message, code); }

const char* exec_stream_t::error_t::what() const noexcept { return m_message.c_str(); }

void exec_stream_t::error_t::compose(const std::string& message, std::uint32_t code) {
    m_message = message + code_suffix(code);
    m_code = code;
}

os_error_t::os_error_t(const char* message) {
    // Taken before anything else can touch the thread's last error.
    const DWORD code = ::GetLastError();
    compose(std::string(message) + "\n" + system_description(code), code);
}

os_error_t::os_error_t(const std::string& message, std::uint32_t code) {
    compose(message + "\n" + system_description(code), code);
}

} // namespace childprocess
