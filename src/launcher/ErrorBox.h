#pragma once
// The launcher's error boxes, the only boxes the program raises: the
// libraries below return what the user is to be told, and the launcher
// shows it, logged first where the log should have it too.
#include <string>
#include <windows.h>

extern const wchar_t* const kErrorBoxTitle; // "Convoca Launcher Error"

// Modal error box. With logFirst, the text is logged ("%ls") before it shows.
void showErrorBox(const std::wstring& message, bool logFirst);

// "UTF8 encoding problem." with the system's text for errorCode; not logged.
void showConversionErrorBox(DWORD errorCode);
