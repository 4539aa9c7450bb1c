// The user's working copy: first start, refresh, the registry marker and starts at once.
#include "SessionFixture.h"

#include <commctrl.h>
#include <memory>
#include <set>

namespace {

using SetupTest = LauncherTest;

const std::wstring kCopyingLine = L"Preparing Convoca for its first start\u2026",
                   kWaitingLine = L"Another start of Convoca is preparing Java\u2026";

std::wstring textOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// What the desktop showed of one of the launcher's progress windows while a watcher lived.
struct ProgressSeen {
    std::wstring title, line;
    bool marquee = false, systemMenu = false, taskbar = false, afterJava = false;
    std::vector<int> positions;
};

class ProgressWatcher {
public:
    ProgressWatcher() : m_thread([this] { watch(); }) {}
    ~ProgressWatcher() { m_stop = true, m_thread.join(); }
    std::map<HWND, ProgressSeen> windows() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_seen;
    }

private:
    void watch() {
        for (; !m_stop; Sleep(10)) {
            const bool javaStarted = fileExists(javawRecordPath());
            std::lock_guard<std::mutex> lock(m_mutex);
            for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"ConvocaLauncherProgress", nullptr));) {
                if (!IsWindowVisible(w)) continue;
                ProgressSeen& seen = m_seen[w];
                seen.title = textOf(w), seen.afterJava = seen.afterJava || javaStarted;
                seen.systemMenu = GetWindowLongW(w, GWL_STYLE) & WS_SYSMENU;
                seen.taskbar = GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_APPWINDOW;
                for (HWND part = GetWindow(w, GW_CHILD); part; part = GetWindow(part, GW_HWNDNEXT)) {
                    wchar_t name[64] = {};
                    GetClassNameW(part, name, 64);
                    if (_wcsicmp(name, L"Static") == 0) seen.line = textOf(part);
                    if (_wcsicmp(name, PROGRESS_CLASSW) != 0) continue;
                    seen.marquee = GetWindowLongW(part, GWL_STYLE) & PBS_MARQUEE;
                    DWORD_PTR position = 0; // none from a bar destroyed meanwhile
                    if (SendMessageTimeoutW(part, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 1000, &position) &&
                        (seen.positions.empty() || seen.positions.back() != static_cast<int>(position)))
                        seen.positions.push_back(static_cast<int>(position));
                }
            }
        }
    }
    std::mutex m_mutex;
    std::map<HWND, ProgressSeen> m_seen;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// A per-user working copy is made (a quick copy shows no window) and marked at the first start, kept while current,
// and made again when deleted by hand or when the marker reads as absent (512 bytes or more); the security folder is
// copied at the first start only, an old deployment profile removed at every start. No start deletes through a link
// (made on the Unix side) in the profile folder, its rename probe's leftover or the working copy.
TEST_F(SetupTest, WorkingCopyIsMadeOnceAndRefreshedWhenMissingOrUnmarked) {
    LauncherInstall install(InstallKind::perUser);
    const std::wstring certs = L"security\\trusted.certs", profile = supportDirectory() + L"\\deployment";
    ASSERT_TRUE(writeFile(install.path(certs), "first"));
    {
        ProgressWatcher watcher;
        EXPECT_EQ(1u, run(install, {session()}).logCount(kCopyLine));
        EXPECT_TRUE(watcher.windows().empty()) << "a quick copy shows no window";
    }
    EXPECT_EQ("0", userMarker());
    expectCompleteWorkingCopy(install);

    ASSERT_TRUE(writeFile(embeddedDirectory() + L"\\sentinel", "kept") && writeFile(install.path(certs), "second") &&
                makeDirs(profile + L"\\cache") && writeFile(profile + L"\\cache\\old.idx", "x"));
    EXPECT_FALSE(run(install, {session()}).logHas(kCopyLine));
    EXPECT_TRUE(fileExists(embeddedDirectory() + L"\\sentinel") && !dirExists(profile));
    EXPECT_EQ("first", readFile(supportDirectory() + L"\\" + certs));

    javawRecords(1); // the launched stand-in Java may still run from the working copy
    for (int attempt = 0; attempt < 100 && !removeTree(embeddedDirectory()); ++attempt) Sleep(50);
    EXPECT_EQ(1u, run(install, {session()}).logCount(kCopyLine));

    TempDir documents;
    const std::string link = "ln -s '" + unixPath(documents.path()) + "' '", support = unixPath(supportDirectory());
    ASSERT_TRUE(writeFile(documents / L"thesis.doc", "years") && makeDirs(profile) &&
                writeFile(embeddedDirectory() + L"\\sentinel", "old") &&
                regSetString(HKEY_CURRENT_USER, kLauncherRegistryKey, "NeedsEmbeddedUpdate", std::string(511, '0')));
    ASSERT_EQ(0, runUnixShell(link + support + "/deployment/link' && " + link + support + "/deployment_tmpDD_' && " +
                              link + unixPath(workingJreHome()) + "/link'"));
    javawRecords(1);
    const LauncherResult r = run(install, {session()});
    EXPECT_TRUE(r.exitCode == 0 && r.logCount(kCopyLine) == 1 && javawRecords(1).size() == 1 && userMarker() == "0");
    expectCompleteWorkingCopy(install);
    EXPECT_EQ("years", readFile(documents / L"thesis.doc"));
    EXPECT_EQ(0, runUnixShell("find '" + support + "' -type l -delete"));
}

// A big first copy shows its bytes in a window of its own, gone before Java starts; three more starts at once a second
// later wait in windows with a moving bar, then launch their own sessions. None shows a box, one intact working copy
// serves all, and every run's log is kept once.
TEST_F(SetupTest, ALongFirstCopyShowsItsProgressAndLaterStartsWaitInSight) {
    LauncherInstall install(InstallKind::perUser);
    const std::string block(40 * 1024, 'j');
    for (int i = 0; i < 4000; ++i) { // 160 MB in twice the benchmark's files: a copy of seconds
        const std::wstring folder =
            install.path(L"Resources\\Java\\jre1.7.0_40\\lib\\big\\d") + std::to_wstring(i / 100);
        ASSERT_TRUE(makeDirs(folder) && writeFile(folder + L"\\f" + std::to_wstring(i), block));
    }
    const std::vector<std::wstring> sessions = {session(L"a.vca"), session(L"b.vca"), session(L"c.vca"),
                                                session(L"d.vca")};
    ProgressWatcher watcher;
    std::vector<std::unique_ptr<LauncherProcess>> launchers;
    for (const auto& vca : sessions) {
        launchers.push_back(std::make_unique<LauncherProcess>(install, std::vector{vca}));
        if (launchers.size() == 1) Sleep(1000);
    }
    for (auto& launcher : launchers) EXPECT_EQ(0, launcher->wait(180000));
    EXPECT_EQ(std::vector<std::wstring>{}, boxTexts(robot.boxes()));
    EXPECT_EQ(4u, javawRecords(4).size());
    std::set<std::wstring> lines;
    for (const auto& [window, seen] : watcher.windows()) {
        SCOPED_TRACE(utf8(seen.line));
        lines.insert(seen.line);
        EXPECT_TRUE(seen.title == L"Convoca Launcher" && seen.taskbar && !seen.systemMenu);
        EXPECT_EQ(seen.line == kWaitingLine, seen.marquee);
        if (seen.line != kCopyingLine) continue;
        EXPECT_FALSE(seen.afterJava);
        EXPECT_GE(seen.positions.size(), 3u) << "the bar moves: " << testing::PrintToString(seen.positions);
        EXPECT_TRUE(std::is_sorted(seen.positions.begin(), seen.positions.end()));
    }
    EXPECT_EQ(lines, (std::set<std::wstring>{kCopyingLine, kWaitingLine}));
    expectCompleteWorkingCopy(install);
    const std::wstring logsFolder = supportDirectory() + L"\\logs\\ConvocaLauncher";
    const std::string logs = readFile(logsFolder + L".old.log") + readFile(logsFolder + L".log"); // all collected
    for (const std::wstring& vca : sessions) {
        const std::string line = " Launching " + utf8(vca) + "\r\n";
        EXPECT_TRUE(logs.find(line) != std::string::npos && logs.find(line) == logs.rfind(line)) << line;
    }
}

} // namespace
