#include "childprocess/command_line.h"

namespace childprocess {
namespace {

void append_quoted(std::string& line, const std::string& arg) {
    line += " \"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            line.append(backslashes * 2 + 1, '\\');
        } else {
            line.append(backslashes, '\\');
        }
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, '\\');
    line += '"';
}

} // namespace

std::string build_argument_string(exec_stream_t::next_arg_t& args) {
    std::string line;
    while (const std::string* arg = args.next()) {
        if (arg->empty() || arg->find_first_of(" \t\"") != std::string::npos) {
            append_quoted(line, *arg);
        } else {
            line += ' ';
            line += *arg;
        }
    }
    return line;
}

std::string build_command_line(const std::string& program, const std::string& arguments) {
    std::string line;
    line.reserve(program.size() + arguments.size() + 3);
    if (program.find_first_of(" \t") != std::string::npos) {
        line += '"';
        line += program;
        line += '"';
    } else {
        line += program;
    }
    if (!arguments.empty()) {
        line += ' ';
        line += arguments;
    }
    return line;
}

} // namespace childprocess
