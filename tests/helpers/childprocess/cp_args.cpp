// Writes its command line as the system gave it, then each argument after
// the program in brackets, one per line.
#include "child_io.h"

int main(int argc, char** argv) {
    child_io::out(std::string(::GetCommandLineA()) + "\n");
    for (int i = 1; i < argc; ++i) child_io::out("[" + std::string(argv[i]) + "]\n");
    return 0;
}
