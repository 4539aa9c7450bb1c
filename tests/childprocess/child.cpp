#include "child.h"

#include <windows.h>

std::string helper(const std::string& name) {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path, length);
    directory.erase(directory.find_last_of('\\'));
    return directory + "\\" + name + ".exe";
}

std::vector<std::string> read_lines(std::istream& stream) {
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(stream, line)) lines.push_back(line);
    return lines;
}

unsigned long handle_count() {
    DWORD count = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count != 0) return count;
    // Wine answers 0: count the handle values that name an open handle
    // (Wine, like Windows, hands out the lowest free value first).
    count = 0;
    for (ULONG_PTR value = 4; value < 0x4000; value += 4) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}
