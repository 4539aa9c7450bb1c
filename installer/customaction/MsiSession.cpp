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

std::wstring fromLatin1(const std::string& bytes) {
    std::wstring text;
    for (unsigned char byte : bytes) text += wchar_t(byte);
    return text;
}

bool toLatin1(const std::wstring& text, std::string& bytes) {
    bytes.clear();
    for (wchar_t c : text) {
        if (c > 0xff) return false;
        bytes += char(c);
    }
    return true;
}

} // namespace msisession
