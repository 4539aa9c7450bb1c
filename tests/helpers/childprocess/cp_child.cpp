// cp_child <mode> [arguments]: the child program of the child-process tests
// and benchmark, which writes unbuffered and untranslated. The modes are below.
#include "pattern.h"

#include <io.h>
#include <windows.h>

#include <algorithm>
#include <string>

namespace {

bool write_all(DWORD which, const char* data, std::size_t size) {
    for (DWORD written = 0; size != 0; data += written, size -= written)
        if (!::WriteFile(::GetStdHandle(which), data, static_cast<DWORD>(size), &written, nullptr)) return false;
    return true;
}

bool out(const std::string& text) { return write_all(STD_OUTPUT_HANDLE, text.data(), text.size()); }

// "update" CR LF (and "oops" CR LF to standard error), then "got:" and each
// line read, with CR and LF spelled \r and \n; "quit" ends it with "bye" and 7.
int echo() {
    out("update\r\n");
    write_all(STD_ERROR_HANDLE, "oops\r\n", 6);
    std::string line;
    char c;
    DWORD count = 0;
    while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), &c, 1, &count, nullptr) && count == 1) {
        line += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
        if (c != '\n') continue;
        if (line == "quit\\r\\n") return out("bye\n") ? 7 : 1;
        out("got:" + line + "\n");
        line.clear();
    }
    return 5;
}

// Writes the next block of the pattern stream `seed`, of which `done` of
// `size` bytes have been written; nothing once all have.
bool write_block(DWORD which, std::uint64_t seed, std::uint64_t& done, std::uint64_t size) {
    static char block[65536];
    const std::size_t part = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof block, size - done));
    for (std::size_t i = 0; i < part; ++i) block[i] = cp_pattern::byte_at(seed, done + i);
    done += part;
    return write_all(which, block, part);
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    auto number = [&](int i) { return i < argc ? std::stoull(argv[i], nullptr, 0) : 0ull; };
    if (mode == "args") { // its command line, then each argument after the mode in brackets
        out(std::string(::GetCommandLineA()) + "\n");
        for (int i = 2; i < argc; ++i) out("[" + std::string(argv[i]) + "]\n");
        return 0;
    }
    if (mode == "silent") { // <ms>: reads and writes nothing
        ::Sleep(static_cast<DWORD>(number(2)));
        return 3;
    }
    if (mode == "exit") { // <code>
        out("exit " + std::to_string(number(2)) + "\n");
        return static_cast<int>(number(2));
    }
    if (mode == "close_stdin") {
        // The C runtime may hold a duplicate of the handle; both must go for
        // the pipe's read end to be closed.
        HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
        HANDLE runtime_input = reinterpret_cast<HANDLE>(::_get_osfhandle(0));
        ::_close(0);
        if (runtime_input != input) ::CloseHandle(input);
        out("closed\n");
        return 4;
    }
    if (mode == "output") { // <out bytes> <err bytes> <seed>: a block of the stream seed + 1 to
        // standard error after every four of the stream seed to standard output
        const std::uint64_t size[2] = {number(2), number(3)}, seed = number(4);
        std::uint64_t done[2] = {0, 0};
        for (int blocks = 1; done[0] < size[0] || done[1] < size[1]; ++blocks) {
            if (!write_block(STD_OUTPUT_HANDLE, seed, done[0], size[0])) return 1;
            if ((blocks % 4 == 0 || done[0] == size[0]) && !write_block(STD_ERROR_HANDLE, seed + 1, done[1], size[1]))
                return 2;
        }
        return 0;
    }
    return mode == "echo" ? echo() : 100;
}
