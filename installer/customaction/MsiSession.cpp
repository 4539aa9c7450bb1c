#include "MsiSession.h"

namespace msisession {

std::wstring property(MSIHANDLE session, const wchar_t* name) {
    DWORD size = 0;
    wchar_t empty[1] = L"";
    if (MsiGetPropertyW(session, name, empty, &size) != ERROR_MORE_DATA) return L"";
    std::wstring value(++size, L'\0');
    if (MsiGetPropertyW(session, name, &value[0], &size) != ERROR_SUCCESS) return L"";
    value.resize(size);
    return value;
}

bool setProperty(MSIHANDLE session, const wchar_t* name, const std::wstring& value) {
    return MsiSetPropertyW(session, name, value.c_str()) == ERROR_SUCCESS;
}

namespace {

void message(MSIHANDLE session, INSTALLMESSAGE kind, const std::wstring& text) {
    // Field 0 is a template that the installer formats; the text goes into
    // field 1 so that brackets in it stay as they are.
    PMSIHANDLE record = MsiCreateRecord(1);
    MsiRecordSetStringW(record, 0, L"[1]");
    MsiRecordSetStringW(record, 1, text.c_str());
    MsiProcessMessage(session, kind, record);
}

} // namespace

void log(MSIHANDLE session, const std::wstring& text) { message(session, INSTALLMESSAGE_INFO, text); }

void error(MSIHANDLE session, const std::wstring& text) { message(session, INSTALLMESSAGE_ERROR, text); }

std::wstring fromUtf8(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &wide[0], size);
    return wide;
}

std::string toUtf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &bytes[0], size, nullptr, nullptr);
    return bytes;
}

} // namespace msisession
