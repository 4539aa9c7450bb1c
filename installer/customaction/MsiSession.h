#pragma once
// The few Windows Installer calls the custom actions need, in wide strings,
// and the conversions to and from ISO 8859-1.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>
#include <string>

namespace msisession {

std::wstring property(MSIHANDLE session, const wchar_t* name);
bool setProperty(MSIHANDLE session, const wchar_t* name, const std::wstring& value);
// A line in the installation's log.
void log(MSIHANDLE session, const std::wstring& text);
// An error: a message box in an interactive installation, a log entry in
// every one.
void error(MSIHANDLE session, const std::wstring& text);

// Each byte is the character of the same number.
std::wstring fromLatin1(const std::string& bytes);
// False when text holds a character outside ISO 8859-1.
bool toLatin1(const std::wstring& text, std::string& bytes);

} // namespace msisession
