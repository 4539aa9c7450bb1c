// Announces itself with "update" and a CR LF on standard output (and "oops"
// on standard error), then answers every line read from standard input with
// "got:" and the line's bytes, CR and LF spelled as \r and \n. The line
// "quit" makes it say "bye" and exit with 7; the end of its input, "eof" and 5.
#include "child_io.h"

namespace {

std::string spelled(const std::string& line) {
    std::string text;
    for (char c : line) {
        if (c == '\r') text += "\\r";
        else if (c == '\n') text += "\\n";
        else text += c;
    }
    return text;
}

} // namespace

int main() {
    child_io::out("update\r\n");
    child_io::err("oops\r\n");
    HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    std::string line;
    char c;
    DWORD count = 0;
    while (::ReadFile(input, &c, 1, &count, nullptr) && count == 1) {
        line += c;
        if (c != '\n') continue;
        if (line == "quit\r\n" || line == "quit\n") {
            child_io::out("bye\n");
            return 7;
        }
        child_io::out("got:" + spelled(line) + "\n");
        line.clear();
    }
    child_io::out("eof\n");
    return 5;
}
