#include "platform/WholeFile.h"

#include <algorithm>

WholeFile readWholeFile(HANDLE file, std::uint64_t maxSize) {
    WholeFile whole;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        whole.result = Win32Result::lastError();
        return whole;
    }
    whole.size = static_cast<std::uint64_t>(size.QuadPart);
    if (whole.size > maxSize) {
        whole.result = Win32Result::failure(ERROR_FILE_TOO_LARGE);
        return whole;
    }
    whole.bytes.resize(static_cast<size_t>(whole.size));
    size_t have = 0;
    while (have < whole.bytes.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(whole.bytes.size() - have, 0x40000000));
        if (!ReadFile(file, &whole.bytes[have], want, &got, nullptr)) {
            whole.result = Win32Result::lastError();
            break;
        }
        if (got == 0) {
            whole.result = Win32Result::failure(ERROR_HANDLE_EOF);
            break;
        }
        have += got;
    }
    whole.bytes.resize(have);
    return whole;
}
