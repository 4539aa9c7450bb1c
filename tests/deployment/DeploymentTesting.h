#pragma once
// What the deployment tests share: an install and runtime layout in a
// private folder, another process that holds a file open, and reading a
// written properties file back.
#include "TestFiles.h"
#include "deployment/TemplateFile.h"
#include "platform/Handles.h"

#include <map>
#include <string>

// exe\ (templates), jre\lib\, support\, cache\ and two settings files.
struct RuntimeLayout {
    RuntimeLayout();

    TempDir root;
    std::wstring executableDirectory;
    std::wstring javaHome;
    std::wstring supportDirectory;
    std::wstring cacheDirectory;
    std::wstring userSettings;
    std::wstring adminSettings;

    std::wstring configPath() const { return javaHome + L"\\lib\\deployment.config"; }
    std::wstring propertiesPath() const { return javaHome + L"\\lib\\deployment.properties"; }
    bool writeConfigTemplate(const std::string& text) const;
    bool writePropertiesTemplate(const std::string& text) const;
};

// A separate process that holds a file open without sharing (creating it if
// need be) from construction until about `milliseconds` later.
class HeldFile {
public:
    HeldFile(const std::wstring& path, unsigned milliseconds);
    ~HeldFile(); // waits for the holder to end
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool held() const { return m_held; }

private:
    handles::Process m_process;
    bool m_held = false;
};

// key=value lines of a properties text; comment and blank lines skipped.
std::map<std::string, std::string> parseProperties(const std::string& text);

// Output calls that fail on request, and count (and optionally skip) the
// waits between attempts to open the output.
class ScriptedCalls : public OutputFileCalls {
public:
    bool failWrite = false;
    bool shortWrite = false; // writes one byte less than asked
    bool failFlush = false;
    bool sleep = true;
    int waits = 0;

    BOOL write(HANDLE file, const void* data, DWORD size, DWORD* written) override;
    BOOL flush(HANDLE file) override;
    void wait(DWORD milliseconds) override;
};
