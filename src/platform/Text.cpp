#include "platform/Text.h"

#include <cstring>
#include <vector>

namespace {

// Bytes that a file URL never carries unescaped, besides the controls,
// space, "%" and everything from 0x80 up.
const char kReserved[] = ";&+?,<>#%\"{}|\\^[]`=";
const char kHexDigits[] = "0123456789ABCDEF";
const char kLowerHexDigits[] = "0123456789abcdef";

bool passesUnescaped(unsigned char byte) {
    return byte >= 0x21 && byte <= 0x7F && byte != '%' && std::memchr(kReserved, byte, sizeof kReserved - 1) == nullptr;
}

// The WideCharToMultiByte arguments that make a conversion exact. UTF-8
// refuses WC_NO_BEST_FIT_CHARS, a default character and the used-default
// report, and takes WC_ERR_INVALID_CHARS alone; failure then shows in the
// returned count. Other code pages substitute the default character for an
// inexact character and report that they did.
struct MultiByteArguments {
    DWORD flags;
    const char* defaultChar; // with the used-default report; null for neither
};
MultiByteArguments multiByteArgumentsFor(UINT codePage) {
    if (codePage == CP_UTF8) return {WC_ERR_INVALID_CHARS, nullptr};
    return {WC_NO_BEST_FIT_CHARS, "?"};
}

// One WideCharToMultiByte pass; an exact conversion that used the default
// character fails with ERROR_NO_UNICODE_TRANSLATION.
int convert(const std::wstring& input, UINT codePage, Inexact inexact, char* output, int outputSize) {
    const MultiByteArguments arguments =
        inexact == Inexact::fail ? multiByteArgumentsFor(codePage) : MultiByteArguments{0, nullptr};
    BOOL usedDefault = FALSE;
    const int count =
        WideCharToMultiByte(codePage, arguments.flags, input.data(), static_cast<int>(input.size()), output, outputSize,
                            arguments.defaultChar, arguments.defaultChar ? &usedDefault : nullptr);
    if (usedDefault) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    return count;
}

} // namespace

Win32Result wideToMultiByte(const std::wstring& input, UINT codePage, std::string& output, Inexact inexact) {
    // The platform refuses a zero length; nothing converts to nothing.
    if (input.empty()) return {};
    if (codePage == CP_ACP) codePage = GetACP();

    int needed = convert(input, codePage, inexact, nullptr, 0);
    if (needed <= 0) return Win32Result::lastError();

    std::vector<char> bytes(static_cast<size_t>(needed));
    int written = convert(input, codePage, inexact, bytes.data(), needed);
    if (written <= 0) return Win32Result::lastError();

    output.append(bytes.data(), static_cast<size_t>(written));
    return {};
}

Win32Result toAnsi(const std::wstring& input, std::string& output) {
    output.clear();
    return wideToMultiByte(input, CP_ACP, output);
}

std::wstring multiByteToWide(const std::string& input, UINT codePage) {
    if (input.empty()) return L"";
    int length = MultiByteToWideChar(codePage, 0, input.data(), static_cast<int>(input.size()), nullptr, 0);
    if (length <= 0) return L"";
    std::wstring result(static_cast<size_t>(length), L'\0');
    length = MultiByteToWideChar(codePage, 0, input.data(), static_cast<int>(input.size()), result.data(), length);
    result.resize(length > 0 ? static_cast<size_t>(length) : 0);
    size_t nul = result.find(L'\0');
    if (nul != std::wstring::npos) result.resize(nul);
    return result;
}

Win32Result urlEncode(const std::wstring& input, std::string& output) {
    std::string utf8;
    const Win32Result converted = wideToMultiByte(input, CP_UTF8, utf8);
    if (converted) percentEncode(utf8, output);
    return converted;
}

void percentEncode(const std::string& input, std::string& output) {
    for (char c : input) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (passesUnescaped(byte)) {
            output += c;
        } else {
            output += '%';
            output += kHexDigits[byte >> 4];
            output += kHexDigits[byte & 0x0F];
        }
    }
}

std::string escapeForProperties(const std::wstring& input) {
    std::string output;
    for (wchar_t unit : input) {
        switch (unit) {
        case L'\t':
            output += "\\t";
            break;
        case L'\n':
            output += "\\n";
            break;
        case L'\r':
            output += "\\r";
            break;
        case L'\\':
            output += "\\\\";
            break;
        default:
            if (unit < 0x80) {
                output += static_cast<char>(unit);
            } else {
                output += "\\u";
                for (int shift = 12; shift >= 0; shift -= 4) output += kLowerHexDigits[(unit >> shift) & 0x0F];
            }
        }
    }
    return output;
}
