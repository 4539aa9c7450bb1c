#pragma once
// Unbuffered, untranslated writes to the helper's standard handles.
#include <windows.h>

#include <cstddef>
#include <string>

namespace child_io {

inline bool write_all(DWORD which, const void* data, std::size_t size) {
    HANDLE handle = ::GetStdHandle(which);
    const char* bytes = static_cast<const char*>(data);
    while (size != 0) {
        DWORD written = 0;
        if (!::WriteFile(handle, bytes, static_cast<DWORD>(size), &written, nullptr)) return false;
        bytes += written;
        size -= written;
    }
    return true;
}

inline bool out(const std::string& text) { return write_all(STD_OUTPUT_HANDLE, text.data(), text.size()); }
inline bool err(const std::string& text) { return write_all(STD_ERROR_HANDLE, text.data(), text.size()); }

inline unsigned long long number(const char* text, unsigned long long fallback) {
    return text ? std::stoull(text, nullptr, 0) : fallback;
}

} // namespace child_io
