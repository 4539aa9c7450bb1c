// Closes its standard input at once, says "closed", waits the given
// milliseconds (default 0) and exits with 4.
#include "child_io.h"

#include <io.h>

int main(int argc, char** argv) {
    // The C runtime may hold a duplicate of the handle; both must go for the
    // pipe's read end to be closed.
    HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    HANDLE runtime_input = reinterpret_cast<HANDLE>(::_get_osfhandle(0));
    ::_close(0);
    if (runtime_input != input) ::CloseHandle(input);
    child_io::out("closed\n");
    ::Sleep(static_cast<DWORD>(child_io::number(argc > 1 ? argv[1] : nullptr, 0)));
    return 4;
}
