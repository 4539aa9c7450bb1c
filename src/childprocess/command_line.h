#pragma once
// How a child's command line is put together from a program and arguments.
#include "childprocess/childprocess.h"

#include <string>

namespace childprocess {

// Every argument is preceded by its own space. An argument that is empty or
// holds a space, a tab or a double quote is enclosed in double quotes (so an
// empty one still reaches the child), with each inner double quote preceded
// by a backslash; backslashes stay as they are except where they come right
// before a double quote (an inner one or the closing one), where they are
// doubled so that the child still reads them as backslashes.
std::string build_argument_string(exec_stream_t::next_arg_t& args);

// The program, in double quotes when it holds a space or a tab, then one space
// and the argument string when that is not empty.
std::string build_command_line(const std::string& program, const std::string& arguments);

} // namespace childprocess
