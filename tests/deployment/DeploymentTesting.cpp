#include "DeploymentTesting.h"

RuntimeLayout::RuntimeLayout()
    : executableDirectory(root / L"exe"), javaHome(root / L"jre"),
      supportDirectory(root / L"support"), cacheDirectory(root / L"cache"),
      userSettings(root / L"ConvocaLauncherUser.properties"),
      adminSettings(root / L"ConvocaLauncherAdmin.properties") {
    makeDirs(executableDirectory);
    makeDirs(javaHome + L"\\lib");
    makeDirs(supportDirectory);
    makeDirs(cacheDirectory);
}

bool RuntimeLayout::writeConfigTemplate(const std::string& text) const {
    return writeFile(executableDirectory + L"\\deployment.config.tmpl", text);
}

bool RuntimeLayout::writePropertiesTemplate(const std::string& text) const {
    return writeFile(executableDirectory + L"\\deployment.properties.tmpl", text);
}

HeldFile::HeldFile(const std::wstring& path, unsigned milliseconds) {
    const std::wstring eventName = L"Local\\" + uniqueName(L"convoca_held_");
    handles::Event event(CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
    std::wstring commandLine = L"\"" CONVOCA_TEST_BIN_DIR_WIN L"\\file_holder.exe\" \"" + path +
                               L"\" " + std::to_wstring(milliseconds) + L" " + eventName;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!event || !CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process))
        return;
    CloseHandle(process.hThread);
    m_process.reset(process.hProcess);
    const HANDLE waits[] = {event.get(), m_process.get()};
    m_held = WaitForMultipleObjects(2, waits, FALSE, 60000) == WAIT_OBJECT_0;
}

HeldFile::~HeldFile() {
    if (m_process) WaitForSingleObject(m_process.get(), 120000);
}

std::map<std::string, std::string> parseProperties(const std::string& text) {
    std::map<std::string, std::string> result;
    for (const std::string& line : splitLines(text)) {
        if (line.empty() || line[0] == '#' || line[0] == '!') continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        result[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return result;
}

BOOL ScriptedCalls::write(HANDLE file, const void* data, DWORD size, DWORD* written) {
    if (failWrite) {
        *written = 0;
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    return OutputFileCalls::write(file, data, shortWrite && size ? size - 1 : size, written);
}

BOOL ScriptedCalls::flush(HANDLE file) {
    if (!failFlush) return OutputFileCalls::flush(file);
    SetLastError(ERROR_WRITE_FAULT);
    return FALSE;
}

void ScriptedCalls::wait(DWORD milliseconds) {
    ++waits;
    if (sleep) OutputFileCalls::wait(milliseconds);
}
