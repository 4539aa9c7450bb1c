// Writes "exit <code>" and exits with the given code.
#include "child_io.h"

int main(int argc, char** argv) {
    const unsigned long long code = child_io::number(argc > 1 ? argv[1] : nullptr, 0);
    child_io::out("exit " + std::to_string(code) + "\n");
    return static_cast<int>(code);
}
