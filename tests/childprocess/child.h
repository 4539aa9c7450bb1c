#pragma once
// Shared by the child-process tests: where the helper programs are, and small
// conveniences for reading a child's streams and timing.
#include "childprocess/exec_stream.h"

#include <chrono>
#include <functional>
#include <istream>
#include <string>
#include <vector>

// The full path of a helper program built beside the test program.
std::string helper(const std::string& name);

// The number of handles this process holds open.
unsigned long handle_count();

// Lines read with std::getline until it fails.
std::vector<std::string> read_lines(std::istream& stream);

class stopwatch_t {
public:
    stopwatch_t() : m_start(std::chrono::steady_clock::now()) {}
    double seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    }

private:
    std::chrono::steady_clock::time_point m_start;
};

inline bool starts_with(const std::string& text, const std::string& head) {
    return text.compare(0, head.size(), head) == 0;
}
inline bool ends_with(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The message of the exec_stream_t::error_t that the action throws.
inline std::string message_of(const std::function<void()>& action) {
    try {
        action();
    } catch (const exec_stream_t::error_t& error) {
        return error.what();
    }
    return "(nothing thrown)";
}
