// cp_child <mode> [arguments]: the child of the child-process tests and benchmark; writes unbuffered, untranslated.
#include "pattern.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

// A blocking pipe takes all the bytes of a write, or fails.
bool write_all(DWORD which, const char* data, std::size_t size) {
    DWORD written = 0;
    return ::WriteFile(::GetStdHandle(which), data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

bool out(const std::string& text) { return write_all(STD_OUTPUT_HANDLE, text.data(), text.size()); }

// "update" CR LF in pieces apart (first two carriage returns alone), "oops" CR LF to standard error; then "got:"
// and each line read, CR and LF spelled \r and \n. "quit" ends it with "bye" and 7, end of input with the byte count.
int echo() {
    for (const char* piece : {"\r\r", "update\r", "\n"}) ::Sleep(100), out(piece);
    write_all(STD_ERROR_HANDLE, "oops\r\n", 6);
    static char block[65536];
    std::string line;
    DWORD count = 0, total = 0;
    while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), block, sizeof block, &count, nullptr) && count != 0) {
        total += count;
        for (const char c : std::string(block, count)) {
            line += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
            if (c != '\n') continue;
            if (line == "quit\\r\\n") return out("bye\n") ? 7 : 1;
            out("got:" + line + "\n");
            line.clear();
        }
    }
    return static_cast<int>(total);
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
    if (mode == "exit") { // <code> [ms]: silent for ms milliseconds first
        ::Sleep(static_cast<DWORD>(number(3)));
        out("exit " + std::to_string(number(2)) + "\n");
        return static_cast<int>(number(2));
    }
    // <out bytes> <err bytes> <seed>: pattern streams seed and seed + 1 to output and error, an error block per four
    if (mode == "output") {
        static char block[65536];
        const std::uint64_t size[2] = {number(2), number(3)}, seed = number(4);
        std::uint64_t done[2] = {0, 0};
        for (int n = 1; done[0] < size[0] || done[1] < size[1]; ++n) {
            const int which = n % 5 == 0 || done[0] == size[0];
            const auto part = std::min<std::uint64_t>(sizeof block, size[which] - done[which]);
            for (std::uint64_t i = 0; i < part; ++i) block[i] = cp_pattern::byte_at(seed + which, done[which] + i);
            done[which] += part;
            if (!write_all(which ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE, block, part)) return 1;
        }
        return 0;
    }
    return mode == "echo" ? echo() : 100;
}
