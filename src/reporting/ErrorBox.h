#pragma once
// The launcher's error boxes. They sit above the platform helpers and the
// logger so that a box can be logged before it shows.
#include <string>
#include <windows.h>

extern const wchar_t* const kErrorBoxTitle; // "Convoca Launcher Error"

// Modal error box. With logFirst, the text is logged ("%ls") before it shows.
void showErrorBox(const std::wstring& message, bool logFirst);

// "UTF8 encoding problem." with the system's text for errorCode; not logged.
void showConversionErrorBox(DWORD errorCode);
