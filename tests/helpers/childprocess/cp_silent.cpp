// Writes nothing and reads nothing; sleeps for the given milliseconds
// (default 5000), then exits with 3.
#include "child_io.h"

int main(int argc, char** argv) {
    ::Sleep(static_cast<DWORD>(child_io::number(argc > 1 ? argv[1] : nullptr, 5000)));
    return 3;
}
