// Measures the launcher side by side with yardsticks run the same way under
// the same Wine, and prints ratios:
//  1. a warm session launch (working copy present), with the Java launch
//     disabled and enabled, against a minimal Windows exe;
//  2. a first start with a synthetic master copy of about 150 MB in 2,000
//     files, against a plain recursive CopyFileW copy of the same tree.
#include "LauncherRun.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double timeProcess(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    auto start = Clock::now();
    long code = runProcess(commandLine, 600000);
    double elapsed = seconds(start);
    if (code != 0) std::printf("warning: %ls exited with %ld\n", exe.c_str(), code);
    return elapsed;
}

std::wstring minimalExe() {
    std::wstring bin = CONVOCA_TEST_BIN_DIR_WIN;
    return bin.substr(0, bin.size() - 5) + L"bench\\minimal.exe";
}

void warmLaunch(int rounds) {
    resetLauncherUserState();
    LauncherInstall install(InstallKind::perMachine);
    TempDir files;
    const std::wstring vca = files / L"s.vca";
    writeFile(vca, "<jnlp codebase=\"https://meet.convoca.com/\"/>");
    const std::wstring arg = L"\"" + vca + L"\"";
    timeProcess(install.exe(), arg); // first start makes the working copy

    std::vector<double> minimal, disabled, enabled;
    for (int i = 0; i < rounds; ++i) {
        minimal.push_back(timeProcess(minimalExe(), L""));
        writeFile(install.path(L"ConvocaLauncherAdmin.properties"), "doNotLaunchVcaSession=true\r\n");
        disabled.push_back(timeProcess(install.exe(), arg));
        writeFile(install.path(L"ConvocaLauncherAdmin.properties"), "");
        enabled.push_back(timeProcess(install.exe(), arg));
    }
    double m = median(minimal), d = median(disabled), e = median(enabled);
    std::printf("warm session launch, median of %d runs:\n", rounds);
    std::printf("  minimal exe            %8.1f ms  ratio 1.00\n", m * 1000);
    std::printf("  launch disabled        %8.1f ms  ratio %.2f\n", d * 1000, d / m);
    std::printf("  launch enabled         %8.1f ms  ratio %.2f\n", e * 1000, e / m);
    Sleep(1000);
    resetLauncherUserState();
}

void growMaster(const std::wstring& root, int files, size_t size) {
    std::string block(size, 'x');
    for (int i = 0; i < files; ++i) {
        std::wstring dir = root + L"\\Java\\jre1.7.0_40\\lib\\synthetic\\d" + std::to_wstring(i / 100);
        makeDirs(dir);
        block[0] = static_cast<char>('a' + i % 26);
        writeFile(dir + L"\\f" + std::to_wstring(i) + L".bin", block);
    }
}

void firstStart(int rounds) {
    resetLauncherUserState();
    LauncherInstall install(InstallKind::perMachine);
    writeFile(install.path(L"ConvocaLauncherAdmin.properties"), "doNotLaunchVcaSession=true\r\n");
    growMaster(install.path(L"Resources"), 2000, 75 * 1024);
    TempDir files;
    const std::wstring vca = files / L"s.vca";
    writeFile(vca, "<jnlp codebase=\"https://meet.convoca.com/\"/>");

    std::vector<double> launcher, plain, shell;
    for (int i = 0; i < rounds; ++i) {
        resetLauncherUserState();
        launcher.push_back(timeProcess(install.exe(), L"\"" + vca + L"\""));
        TempDir target;
        auto start = Clock::now();
        copyTree(install.path(L"Resources"), target / L"copy");
        plain.push_back(seconds(start));
        start = Clock::now();
        copyTree(install.path(L"Resources"), target / L"shell");
        shell.push_back(seconds(start));
    }
    double l = median(launcher), p = median(plain), s = median(shell);
    std::printf("first start with a 150 MB master copy in 2,000 files, median of %d runs:\n", rounds);
    std::printf("  plain CopyFileW copy   %8.1f ms  ratio 1.00\n", p * 1000);
    std::printf("  shell copy (the same   %8.1f ms  ratio %.2f\n", s * 1000, s / p);
    std::printf("   call as the launcher)\n");
    std::printf("  launcher first start   %8.1f ms  ratio %.2f\n", l * 1000, l / p);
    resetLauncherUserState();
}

} // namespace

int main() {
    warmLaunch(15);
    firstStart(3);
    return 0;
}
