#pragma once
// The deployment tests' install and runtime layout in a private folder, failing output calls, a busy file.
#include "LogTail.h"
#include "deployment/DeploymentProperties.h"
#include "handles/Handles.h"

#include <thread>

// Fails the write or flush, or writes one byte short, on request; counts the waits, sleeping only if asked.
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

// Holds path open without sharing for ms milliseconds, as the utility window or an editor may.
struct FileHold {
    FileHold(const std::wstring& path, unsigned ms)
        : file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr)),
          held(file.valid()), thread([this, ms] {
              Sleep(ms);
              file.reset();
          }) {}
    ~FileHold() { thread.join(); }
    handles::File file;
    const bool held;
    std::thread thread;
};

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
    GenerateResult generateProperties(const std::wstring& home) {
        SettingsFiles settings(user, admin, calls.waitFunction());
        return DeploymentProperties(exe, home, settings, cache, support, calls).generate();
    }
    TempDir root;
    const std::wstring exe = root / L"exe", jre = root / L"jre", cache = root / L"cache", support = root / L"support",
                       user = root / L"user.properties", admin = root / L"admin.properties",
                       config = jre + L"\\lib\\deployment.config", properties = jre + L"\\lib\\deployment.properties";
    ScriptedCalls calls;
};
