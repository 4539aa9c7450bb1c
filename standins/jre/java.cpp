// Stand-in for the runtime's java.exe running the utility window. It records
// its arguments and every line it receives in "java.record.txt" beside itself,
// and follows a script named by CONVOCA_STANDIN_JAVA_SCRIPT (or
// "java.script.txt" beside itself), one command a line (its record starts
// with its command line, its arguments and its creation time):
//   out <text>      write text and CR LF to standard output
//   raw <text>      write text as is; \r and \n stand for CR and LF
//   wait <line>     read standard input until that line arrives (or it ends)
//   readall         read standard input to its end
//   sleep <ms>
//   closeout        close standard output and standard error
//   closein         close standard input: the launcher's writes then fail
//   exit <code>
// Without a script it exits with 0 at once.
#include "Record.h"
#include "platform/WholeFile.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring recordFile() { return standin::moduleDirectory(nullptr) + L"\\java.record.txt"; }

void record(const std::string& line) { standin::appendRecord(recordFile(), line + "\r\n"); }

std::string unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'r' || text[i + 1] == 'n')) {
            out += text[++i] == 'r' ? '\r' : '\n';
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string visible(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\r' ? std::string("\\r") : std::string(1, c);
    return out;
}

void writeOut(const std::string& bytes) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// One line from standard input, without its LF; false at the end of input.
bool readLine(std::string& line) {
    line.clear();
    char c;
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &got, nullptr) && got == 1) {
        if (c == '\n') return true;
        line += c;
    }
    return !line.empty();
}

// Reads lines until `until` (after dropping a CR) arrives; empty: to the end.
void readInput(const std::string& until) {
    std::string line;
    while (readLine(line)) {
        record("in: " + visible(line));
        std::string bare = line;
        if (!bare.empty() && bare.back() == '\r') bare.pop_back();
        if (!until.empty() && bare == until) return;
    }
    record("in: <end>");
}

std::vector<std::string> scriptLines() {
    std::wstring path = standin::environment(L"CONVOCA_STANDIN_JAVA_SCRIPT");
    if (path.empty()) path = standin::moduleDirectory(nullptr) + L"\\java.script.txt";
    std::vector<std::string> lines;
    handles::File h(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    const std::string text = h ? readWholeFile(h.get()).bytes : std::string();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

int runScript() {
    for (const std::string& line : scriptLines()) {
        size_t space = line.find(' ');
        std::string verb = line.substr(0, space);
        std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
        if (verb == "out")
            writeOut(rest + "\r\n");
        else if (verb == "raw")
            writeOut(unescape(rest));
        else if (verb == "wait")
            readInput(rest);
        else if (verb == "readall")
            readInput("");
        else if (verb == "sleep")
            Sleep(static_cast<DWORD>(atoi(rest.c_str())));
        else if (verb == "closeout") {
            handles::Kernel(GetStdHandle(STD_OUTPUT_HANDLE)).close();
            handles::Kernel(GetStdHandle(STD_ERROR_HANDLE)).close();
        } else if (verb == "closein")
            handles::Kernel(GetStdHandle(STD_INPUT_HANDLE)).close();
        else if (verb == "exit") {
            record("exit " + rest);
            return atoi(rest.c_str());
        }
    }
    record("exit 0");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string args = "args:";
    for (int i = 1; i < argc; ++i) args += std::string(" [") + argv[i] + "]";
    record("command line: " + standin::utf8(GetCommandLineW()));
    record(args);
    record("created: " + standin::creationTime());
    return runScript();
}
