#pragma once
// The few Windows Installer calls the custom actions need, in UTF-8 and
// wide strings.
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

std::wstring fromUtf8(const std::string& text);
std::string toUtf8(const std::wstring& text);

} // namespace msisession
