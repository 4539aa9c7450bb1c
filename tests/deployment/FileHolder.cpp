// Holds a file open without sharing, as another program (the settings window,
// an editor) may: file_holder <path> <milliseconds> <event to set once held>.
// The system closes both handles when the program ends.
#include <windows.h>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) return 2;
    HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
    if (file == INVALID_HANDLE_VALUE || !held || !SetEvent(held)) return 3;
    Sleep(std::wcstoul(argv[2], nullptr, 10));
    return 0;
}
