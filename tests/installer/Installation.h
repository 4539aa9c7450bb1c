#pragma once
// Shared by the tests of the setup program and of the Windows Installer
// package: where an installation lies, what it registers, and how the shell
// opens a file.
#include "LauncherRun.h"
#include "handles/Handles.h"

#include <string>
#include <vector>

extern const std::string kProgIdKey;      // Software\Classes\Tavisto.ConvocaSession
extern const std::string kVcaKey;         // Software\Classes\.vca
extern const REGSAM kMachineView;         // the registry view the launcher reads
extern const wchar_t* const kUpdateLibraryRecord; // the stand-in's, beside itself

std::wstring perMachineDir();
std::wstring shortcut(bool allUsers);
std::wstring quoted(const std::wstring& text);

// The value, or "<none>" when it is missing.
std::string regString(HKEY root, const std::string& subKey, const std::string& name, REGSAM view = 0);
bool regKeyExists(HKEY root, const std::string& subKey, REGSAM view = 0);
std::string machineMarker(REGSAM view = kMachineView);

struct RegRow { std::string subKey, name, value; };
// The .vca association of an installation in dir.
std::vector<RegRow> association(const std::wstring& dir);

// The package's files with the package's content, and the extra files of an installation.
void expectInstalledFiles(const std::wstring& dir, std::vector<std::wstring> extra);

// Starts a file as the shell does with the "open" verb: a session file through
// its association, a program directly.
handles::Process shellOpen(const std::wstring& file);
