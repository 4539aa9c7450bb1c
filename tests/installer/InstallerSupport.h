#pragma once
// Running the setup program and its uninstaller as separate processes, and
// reading what they leave in the file system and the registry.
#include "LauncherRun.h"
#include "platform/Handles.h"

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

extern const char* const kUninstallKey;  // the Add/Remove Programs entry
extern const char* const kProgId;
extern const char* const kMarkerValue;   // "NeedsEmbeddedUpdate"
extern const REGSAM kMachineView;        // the view the installed launcher reads

// Exit codes of the setup program and the uninstaller.
enum SetupExit : long {
    setupDone = 0,
    setupInUse = 3,
    setupWrongFolder = 4,
    setupUsage = 6,
};

std::wstring setupProgram();
std::wstring shippedAdminFile();     // installer/ConvocaLauncherAdmin.properties
std::wstring perUserInstallDirectory();
std::wstring perMachineInstallDirectory();
std::wstring startMenuShortcut(bool allUsers);

// Runs the setup program with the arguments and waits for it.
long runSetup(const std::wstring& arguments, unsigned timeoutMs = 120000);

// Runs the uninstaller's quiet command line from the Add/Remove Programs entry
// under root, as the control panel does, and waits until the entry is gone
// (the uninstaller finishes from a copy of itself in the temporary folder).
// False when there was no entry or it did not go in time.
bool runQuietUninstall(HKEY root, REGSAM view = 0, unsigned timeoutMs = 120000);

// Opens a file through its association with the "open" verb, as a browser
// does with a download, and waits for the started process. The process's
// exit code, or -3 when nothing was started, -2 on timeout.
long openWithShell(const std::wstring& path, unsigned timeoutMs = 120000);

// Runs the "open" command that the ".vca" registration under root names,
// with %1 replaced by the path, as the shell does; waits like openWithShell.
long runRegisteredOpenCommand(HKEY root, REGSAM view, const std::wstring& path,
                              unsigned timeoutMs = 120000);

// Whether the shell sees the ".vca" registration (HKEY_CLASSES_ROOT).
bool shellSeesSessionFiles();

// Polls until done() or the timeout.
bool waitUntil(const std::function<bool()>& done, unsigned timeoutMs);

bool regKeyExists(HKEY root, const std::string& subKey, REGSAM view = 0);
bool regGetDword(HKEY root, const std::string& subKey, const std::string& name, DWORD& value,
                 REGSAM view = 0);
std::string regString(HKEY root, const std::string& subKey, const std::string& name,
                      REGSAM view = 0); // empty when missing

// The files of the package that an installation holds, relative, sorted.
std::vector<std::wstring> packageFiles();

// Removes both kinds of installation with everything they register, without
// running an uninstaller: the state every test starts and ends with.
void removeInstallations();

// A launcher started from an installation folder, left running until kill().
class RunningProcess {
public:
    explicit RunningProcess(const std::wstring& commandLine);
    ~RunningProcess();
    RunningProcess(const RunningProcess&) = delete;
    RunningProcess& operator=(const RunningProcess&) = delete;

    bool running() const;
    void kill();

private:
    handles::Process m_process;
};

// Fixture: the launcher's user state and both installations are removed
// before and after each test.
class InstallerTest : public LauncherTest {
protected:
    void SetUp() override;
    void TearDown() override;
};
