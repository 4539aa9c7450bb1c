#include "logging/Diagnostics.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

namespace tvs {

void writeDiagnostic(const wchar_t* format, ...) {
    wchar_t text[4096] = {};
    va_list args;
    va_start(args, format);
    _vsnwprintf(text, 4095, format, args);
    va_end(args);
    text[4095] = L'\0';

    int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return;
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    std::fputs(narrow.c_str(), stderr);
    std::fflush(stderr);
}

} // namespace tvs
