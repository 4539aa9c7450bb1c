#pragma once
// Shared by the tests of the setup program and of the Windows Installer
// package: where an installation lies, what it registers, and how the shell
// opens a file.
#include "SessionFixture.h"

extern const std::string kProgIdKey;              // Software\Classes\Tavisto.ConvocaSession
extern const std::string kVcaKey;                 // Software\Classes\.vca
extern const REGSAM kMachineView;                 // the registry view the launcher reads
extern const wchar_t* const kUpdateLibraryRecord; // the stand-in's, beside itself

std::wstring perMachineDir();
std::wstring shortcut(bool allUsers);
std::wstring quoted(const std::wstring& text);

std::string machineMarker(REGSAM view = kMachineView);

struct RegRow {
    std::string subKey, name, value;
};
// The .vca association of an installation in dir.
std::vector<RegRow> association(const std::wstring& dir);

// The package's files with the package's content, and the extra files of an installation.
void expectInstalledFiles(const std::wstring& dir, std::vector<std::wstring> extra);

// Starts a file as the shell does with the "open" verb: a session file through
// its association, a program directly.
handles::Process shellOpen(const std::wstring& file);
// Opens the file so and waits for the program: its exit code, -2 on timeout, -3 when nothing started.
long shellOpenAndWait(const std::wstring& file);
