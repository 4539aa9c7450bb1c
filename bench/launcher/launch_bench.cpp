// Measures the launcher side by side with yardsticks run the same way under
// the same Wine, and prints ratios:
//  1. time to Java on a warm start (working copy present): from the launcher's
//     process creation to the stand-in javaw.exe's first statement, against a
//     trivial exe's whole run, as the median of interleaved paired ratios; the
//     same for a baseline launcher when CONVOCA_BENCH_BASELINE names one;
//  2. what each step of that warm path costs, from the launcher's log lines;
//  3. a first start with a synthetic master copy of about 150 MB in 2,000
//     files: the launcher's tree copy against the shell's copy of the same
//     tree, interleaved, and the whole first start.
#include "LauncherRun.h"
#include "platform/FileSystem.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

long long counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double milliseconds(long long from, long long to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to - from) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Milliseconds since midnight, local time, as the log stamps them.
double timeOfDay() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return ((t.wHour * 60 + t.wMinute) * 60 + t.wSecond) * 1000.0 + t.wMilliseconds;
}

std::wstring minimalExe() {
    std::wstring bin = CONVOCA_TEST_BIN_DIR_WIN;
    return bin.substr(0, bin.size() - 5) + L"bench\\minimal.exe";
}

double wholeRun(const std::wstring& exe) {
    const long long start = counter();
    if (runProcess(L"\"" + exe + L"\"", 60000) != 0) std::printf("warning: %ls failed\n", exe.c_str());
    return milliseconds(start, counter());
}

// The "started: " stamp of the stand-in javaw.exe's newest record.
long long javawStamp(const std::wstring& record) {
    const std::string text = readFile(record);
    const size_t at = text.rfind("started: ");
    return at == std::string::npos ? 0 : std::stoll(text.substr(at + 9));
}

// Stamped log lines of the newest run: time of day in milliseconds and the message.
std::vector<std::pair<double, std::string>> stampedLog() {
    const std::string bytes = readFile(supportDirectory() + L"\\logs\\ConvocaLauncher.log"), bom = "\xEF\xBB\xBF";
    const size_t at = bytes.rfind(bom);
    std::vector<std::pair<double, std::string>> lines;
    for (const std::string& line : splitLines(at == std::string::npos ? bytes : bytes.substr(at + bom.size()))) {
        int y, mo, d, h, mi, s, ms;
        if (line.size() > 24 && sscanf(line.c_str(), "%d/%d/%d %d:%d:%d.%d", &y, &mo, &d, &h, &mi, &s, &ms) == 7)
            lines.push_back({((h * 60 + mi) * 60 + s) * 1000.0 + ms, line.substr(24, 60)});
    }
    return lines;
}

struct JavaStart {
    double ms = 0;
    std::vector<std::pair<std::string, double>> steps; // what ends each step, and its cost
};

// One warm session start, timed to Java's first statement; the launcher's exit is waited for after.
JavaStart timeToJava(const LauncherInstall& install, const std::wstring& vca, const std::wstring& record) {
    DeleteFileW(record.c_str());
    JavaStart start;
    const double wallStart = timeOfDay();
    const long long begin = counter();
    LauncherProcess launcher(install, {vca});
    long long stamp = 0;
    for (int i = 0; i < 2000 && !(stamp = javawStamp(record)); ++i) Sleep(1);
    if (launcher.wait(60000) != 0 || !stamp) std::printf("warning: a launcher run failed\n");
    start.ms = milliseconds(begin, stamp);
    double previous = wallStart;
    for (const auto& [at, message] : stampedLog()) {
        start.steps.push_back({message, at - previous});
        previous = at;
        if (message.rfind("=====", 0) == 0) break; // the launch banner, just before the spawn
    }
    start.steps.push_back({"javaw.exe's first statement", wallStart + start.ms - previous});
    return start;
}

void printSteps(const std::vector<JavaStart>& starts) {
    std::printf("  its steps that cost a millisecond or more, median ms, each ended by:\n");
    for (size_t i = 0; i < starts[0].steps.size(); ++i) {
        std::vector<double> costs;
        for (const JavaStart& s : starts)
            if (i < s.steps.size() && s.steps[i].first == starts[0].steps[i].first) costs.push_back(s.steps[i].second);
        if (median(costs) >= 1) std::printf("    %6.1f  %s\n", median(costs), starts[0].steps[i].first.c_str());
    }
}

void warmLaunch(int rounds, const std::wstring& baselineExe) {
    resetLauncherUserState();
    LauncherInstall install(InstallKind::perMachine, L"", UpdateLibrary::real);
    LauncherInstall baseline(InstallKind::perMachine, L"", UpdateLibrary::real);
    const bool compare = !baselineExe.empty() && CopyFileW(baselineExe.c_str(), baseline.exe().c_str(), FALSE);
    TempDir files;
    const std::wstring vca = files / L"s.vca";
    writeFile(vca, "<jnlp codebase=\"https://meet.convoca.com/\"/>");
    const std::wstring record =
        supportDirectory() + L"\\embedded\\Java\\jre1.7.0_40\\bin\\javaw.record.txt"; // the working copy's
    timeToJava(install, vca, record);                                                 // makes the working copy

    std::vector<double> trivial, ratios, baselineRatios;
    std::vector<JavaStart> starts;
    for (int i = 0; i < rounds; ++i) {
        const double t = wholeRun(minimalExe());
        trivial.push_back(t);
        starts.push_back(timeToJava(install, vca, record));
        ratios.push_back(starts.back().ms / t);
        if (compare) baselineRatios.push_back(timeToJava(baseline, vca, record).ms / t);
    }
    std::printf("time to Java on a warm start, per machine, %d interleaved rounds:\n", rounds);
    std::printf("  trivial exe, whole run  %8.1f ms (median)\n", median(trivial));
    if (compare)
        std::printf("  baseline launcher       ratio %.2f (median of paired ratios)\n", median(baselineRatios));
    std::printf("  this launcher           ratio %.2f (median of paired ratios)\n", median(ratios));
    printSteps(starts);
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

// The launcher's copy until now: the shell's, silently.
bool shellCopy(const std::wstring& source, const std::wstring& destination) {
    std::wstring from = source + L'\0', to = destination + L'\0';
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_COPY;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

template <typename Copy>
double timeCopy(const Copy& copy, const std::wstring& master) {
    TempDir target;
    const long long start = counter();
    if (!copy(master, target / L"copy")) std::printf("warning: a copy failed\n");
    return milliseconds(start, counter());
}

void firstStart(int rounds) {
    resetLauncherUserState();
    LauncherInstall install(InstallKind::perMachine);
    writeFile(install.path(L"ConvocaLauncherAdmin.properties"), "doNotLaunchVcaSession=true\r\n");
    const std::wstring master = install.path(L"Resources");
    growMaster(master, 2000, 75 * 1024);
    TempDir files;
    const std::wstring vca = files / L"s.vca";
    writeFile(vca, "<jnlp codebase=\"https://meet.convoca.com/\"/>");
    const auto ours = [](const std::wstring& s, const std::wstring& d) { return static_cast<bool>(copyTree(s, d)); };

    std::vector<double> launcher, tree, shell, ratios;
    for (int i = 0; i < rounds; ++i) {
        resetLauncherUserState();
        const long long start = counter();
        runProcess(L"\"" + install.exe() + L"\" \"" + vca + L"\"", 600000);
        launcher.push_back(milliseconds(start, counter()));
        // Each round swaps which copy goes first, so neither always meets a warmer cache.
        const double a = i % 2 ? timeCopy(shellCopy, master) : timeCopy(ours, master);
        const double b = i % 2 ? timeCopy(ours, master) : timeCopy(shellCopy, master);
        tree.push_back(i % 2 ? b : a);
        shell.push_back(i % 2 ? a : b);
        ratios.push_back(tree.back() / shell.back());
    }
    std::printf("first start with a 150 MB master copy in 2,000 files, %d interleaved rounds:\n", rounds);
    std::printf("  shell copy (the launcher's until now)  %8.1f ms (median)\n", median(shell));
    std::printf("  the launcher's tree copy               %8.1f ms (median), ratio %.2f (median of paired ratios)\n",
                median(tree), median(ratios));
    std::printf("  launcher first start                   %8.1f ms (median), ratio %.2f to the shell copy\n",
                median(launcher), median(launcher) / median(shell));
    resetLauncherUserState();
}

} // namespace

int main() {
    const wchar_t* baseline = _wgetenv(L"CONVOCA_BENCH_BASELINE");
    warmLaunch(15, baseline ? baseline : L"");
    firstStart(5);
    return 0;
}
