#pragma once
// Shared by the deployment tests: an install and runtime layout in a private folder, output calls that
// fail on request, and another process holding a file open.
#include "BoxRobot.h"
#include "LogTail.h"
#include "deployment/DeploymentProperties.h"
#include "handles/Handles.h"

#include <process.h>

// The write or the flush fails, or the write falls one byte short, on request; the waits between attempts
// to open the output are counted, and skipped unless sleep is set.
struct ScriptedCalls : FileCalls {
    bool failWrite = false, shortWrite = false, failFlush = false, sleep = false;
    int waits = 0;
    BOOL write(HANDLE file, const void* data, DWORD size, DWORD* written) override {
        return !failWrite && FileCalls::write(file, data, size - shortWrite, written);
    }
    BOOL flush(HANDLE file) override { return !failFlush && FileCalls::flush(file); }
    void wait(DWORD ms) override {
        ++waits;
        if (sleep) FileCalls::wait(ms);
    }
};

// Another process holds path open without sharing, creating it if need be, for about ms milliseconds;
// empty if it could not.
inline handles::Process holdFile(const std::wstring& path, unsigned ms) {
    const std::wstring holder = CONVOCA_TEST_BIN_DIR_WIN L"\\file_holder.exe", event = L"Local\\" + uniqueName(L"h"),
                       quoted = L"\"" + holder + L"\"", file = L"\"" + path + L"\"", time = std::to_wstring(ms);
    handles::Event held(CreateEventW(nullptr, TRUE, FALSE, event.c_str()));
    const intptr_t process =
        _wspawnl(_P_NOWAIT, holder.c_str(), quoted.c_str(), file.c_str(), time.c_str(), event.c_str(), nullptr);
    handles::Process owner(process == -1 ? nullptr : reinterpret_cast<HANDLE>(process));
    const HANDLE ends[] = {held.get(), owner.get()};
    if (!owner || WaitForMultipleObjects(2, ends, FALSE, 60000) != WAIT_OBJECT_0) return handles::Process();
    return owner;
}

inline std::string doubled(const std::wstring& path) { // an ASCII path as a properties value
    std::string text;
    for (char c : utf8(path)) text += c == '\\' ? "\\\\" : std::string(1, c);
    return text;
}

struct DeploymentTest : ::testing::Test {
    DeploymentTest() {
        makeDirs(exe);
        makeDirs(jre + L"\\lib");
    }
    std::wstring generateProperties(const std::wstring& home) {
        return DeploymentProperties(exe, home, user, admin, cache, support, calls).generate();
    }
    TempDir root;
    const std::wstring exe = root / L"exe", jre = root / L"jre", cache = root / L"cache", support = root / L"support",
                       user = root / L"user.properties", admin = root / L"admin.properties",
                       config = jre + L"\\lib\\deployment.config", properties = jre + L"\\lib\\deployment.properties";
    ScriptedCalls calls;
    BoxRobot robot;
};
