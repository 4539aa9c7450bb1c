#include "launcher/ErrorBox.h"

#include "logging/Logger.h"
#include "handles/Handles.h"

#include <cwchar>

const wchar_t* const kErrorBoxTitle = L"Convoca Launcher Error";

void showErrorBox(const std::wstring& message, bool logFirst) {
    if (logFirst) tvs::Logger::getInstance().log(L"%ls", message.c_str());
    MessageBoxW(nullptr, message.c_str(), kErrorBoxTitle, MB_ICONERROR | MB_OK);
}

namespace {

std::wstring systemErrorText(DWORD errorCode) {
    wchar_t* text = nullptr;
    DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                       nullptr, errorCode, LANG_USER_DEFAULT, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    handles::LocalMemory owner(text);
    return length > 0 && text ? std::wstring(text, length) : std::wstring();
}

} // namespace

void showConversionErrorBox(DWORD errorCode) {
    std::wstring text = L"UTF8 encoding problem.\n\n";
    std::wstring description = systemErrorText(errorCode);
    if (!description.empty()) {
        text += description;
    } else {
        wchar_t code[255] = {};
        if (_snwprintf(code, 254, L"#%d = 0x%08X", static_cast<int>(errorCode), static_cast<unsigned>(errorCode)) > 0)
            text += std::wstring(L"Unknown Win32 error:") + code;
    }
    MessageBoxW(nullptr, text.c_str(), kErrorBoxTitle, MB_ICONERROR | MB_OK);
}
