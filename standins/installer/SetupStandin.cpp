// Stand-in for an update's setup program: records where it ran from, and how many arguments it had, in the file
// named by its first argument.
#include <windows.h>
#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    FILE* record = _wfopen(argv[1], L"w");
    if (!record) return 1;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    fwprintf(record, L"started from %ls with %d arguments\n", self, argc - 1);
    return fclose(record) == 0 ? 0 : 1;
}
