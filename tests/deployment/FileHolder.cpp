// file_holder <path> <milliseconds> <event>: holds the file open without sharing, as another program (the
// settings window, an editor) may, and sets the event once it does. The system closes the handles at exit.
#include <windows.h>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) return 2;
    HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
    if (file == INVALID_HANDLE_VALUE || !held || !SetEvent(held)) return 3;
    Sleep(std::wcstoul(argv[2], nullptr, 10));
    return 0;
}
