// Test helper: holds a file open without sharing for a while, as another
// program (the settings window, an editor) may.
// Usage: file_holder <path> <milliseconds> <event name to set once held>
#include <windows.h>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) return 2;
    HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    if (HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3])) {
        SetEvent(held);
        CloseHandle(held);
    }
    Sleep(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
    CloseHandle(file);
    return 0;
}
