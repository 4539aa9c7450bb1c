#include "logging/Diagnostics.h"

#include "platform/Text.h"

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

    std::string narrow;
    wideToMultiByte(text, CP_ACP, narrow, Inexact::replace);
    if (narrow.empty()) return;
    std::fputs(narrow.c_str(), stderr);
    std::fflush(stderr);
}

} // namespace tvs
