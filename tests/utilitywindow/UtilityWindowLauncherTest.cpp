// The settings window's launcher in-process, with the stand-in java.exe of the
// package as the window: conversion failures, and a command sent from another
// thread while the main thread reads.
#include "LauncherRun.h"
#include "logging/Logger.h"
#include "utilitywindow/UtilityWindowLauncher.h"

#include <thread>

namespace {

std::wstring packageJre() { return packageDirectory() + L"\\Resources\\Java\\jre1.7.0_40"; }

size_t logged(const std::wstring& line) {
    const std::vector<std::wstring> lines = logMessages(tvs::Logger::currentLogPath());
    return std::count(lines.begin(), lines.end(), line);
}

class UtilityWindowLauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetLauncherUserState();
        tvs::Logger::initialize();
        UtilityWindowLauncher::setPaths(packageJre(), L"C:\\nowhere\\utilwin.jar");
        DeleteFileW((packageJre() + L"\\bin\\java.record.txt").c_str());
    }
    void TearDown() override {
        tvs::Logger::shutdown();
        SetEnvironmentVariableW(L"CONVOCA_STANDIN_JAVA_SCRIPT", nullptr);
        DeleteFileW((packageJre() + L"\\bin\\java.record.txt").c_str());
        resetLauncherUserState();
    }
    void script(const std::string& text) {
        ASSERT_TRUE(writeFile(files / L"script.txt", text));
        SetEnvironmentVariableW(L"CONVOCA_STANDIN_JAVA_SCRIPT", (files / L"script.txt").c_str());
    }
    DWORD run(UtilityWindowLauncher::Listener* listener, bool perMachine = false) {
        return UtilityWindowLauncher::run(L"C:\\s.properties", L"C:\\cache", L"1.5.0.0", listener, perMachine);
    }
    std::vector<std::string> javaRecord() { return splitLines(readFile(packageJre() + L"\\bin\\java.record.txt")); }
    TempDir files;
};

TEST_F(UtilityWindowLauncherTest, PathWithoutAnAnsiFormStartsNothing) {
    if (GetACP() == CP_UTF8) GTEST_SKIP() << "the ANSI code page is UTF-8 here";
    UtilityWindowLauncher::setPaths(L"C:\\\u4f1a\u8b70\\jre", L"C:\\utilwin.jar");
    EXPECT_EQ(1113u, run(nullptr));
    EXPECT_EQ(0u, logged(L"Starting UtilityWindow"));
    UtilityWindowLauncher::setPaths(packageJre(), L"C:\\\u4f1a\u8b70.jar");
    EXPECT_EQ(1113u, run(nullptr));
    EXPECT_TRUE(javaRecord().empty());
}

// The update library sends "shutdown" from its own thread while the main
// thread is blocked reading the window's output.
class ShutdownSender : public UtilityWindowLauncher::Listener {
public:
    void updateRequested() override {
        sender = std::thread([] {
            for (int i = 0; i < 3; ++i) {
                Sleep(50);
                if (UtilityWindowLauncher::isMonitoring()) UtilityWindowLauncher::sendCommand("ping");
            }
            UtilityWindowLauncher::sendCommand("shutdown");
        });
    }
    std::thread sender;
};

TEST_F(UtilityWindowLauncherTest, CommandFromAnotherThreadReachesABlockedWindow) {
    script("out update\nwait shutdown\nexit 0\n");
    ShutdownSender listener;
    DWORD started = GetTickCount();
    EXPECT_EQ(0u, run(&listener));
    listener.sender.join();
    EXPECT_LT(GetTickCount() - started, 20000u);
    std::vector<std::string> record = javaRecord();
    EXPECT_EQ(3, std::count(record.begin(), record.end(), "in: ping\\r"));
    EXPECT_EQ(1, std::count(record.begin(), record.end(), "in: shutdown\\r"));
    EXPECT_EQ(1u, logged(L"Sending to UtilityWindow: 'shutdown'"));
}

} // namespace
