// The update library that ships (the package's WinSparkle.dll) against a loopback server. The launcher carries the
// tests' own public key, and the offered installer, a recording stand-in, is signed with its private key.
#include <winsock2.h>

#include "../launcher/SessionFixture.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <regex>
#include <thread>

namespace {

// Each wait has a deadline a few times what it takes here, and a failed wait ends the test at once.
constexpr unsigned kWindowMs = 20000;

// An HTTP server on 127.0.0.1 that answers with fixed bodies by path (empty for others). One connection at a time, each
// bounded by a timeout; it stops with the object (closing the listener ends accept), or after 100 connections.
class LoopbackServer {
public:
    LoopbackServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof address;
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), size);
        listen(m_listener, 4);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { run(); });
    }
    ~LoopbackServer() {
        closesocket(m_listener);
        m_thread.join();
        WSACleanup();
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }
    // The answer to `path` waits until `holdUntil` holds (at most 10 s); held() tells whether it came to hold.
    void serve(const std::string& path, const std::string& body, std::function<bool()> holdUntil = nullptr) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bodies[path] = {body, holdUntil};
    }
    bool held() const { return m_held; }

private:
    void run() {
        SOCKET client;
        for (int i = 0; i < 100 && (client = accept(m_listener, nullptr, nullptr)) != INVALID_SOCKET; ++i) {
            const DWORD timeoutMs = 5000;
            setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
            std::string request(8192, '\0'); // "GET /path HTTP/1.1 ..."
            recv(client, &request[0], static_cast<int>(request.size()), 0);
            std::pair<std::string, std::function<bool()>> body;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                const auto found = m_bodies.find(request.substr(4, request.find(' ', 4) - 4));
                if (found != m_bodies.end()) body = found->second;
            }
            for (const DWORD end = GetTickCount() + 10000; body.second && !m_held && GetTickCount() < end; Sleep(50))
                m_held = body.second();
            const std::string reply = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.first.size()) +
                                      "\r\nConnection: close\r\n\r\n" + body.first;
            send(client, reply.data(), static_cast<int>(reply.size()), 0);
            closesocket(client);
        }
    }

    unsigned short m_port = 0;
    SOCKET m_listener = INVALID_SOCKET;
    std::atomic<bool> m_held{false};
    mutable std::mutex m_mutex;
    std::map<std::string, std::pair<std::string, std::function<bool()>>> m_bodies;
    std::thread m_thread;
};

const std::wstring kFixture = CONVOCA_TEST_BIN_DIR_WIN L"\\update-fixture";
// The release's setup programs, this architecture's and the other's.
const std::string kArch = sizeof(void*) == 8 ? "x64" : "x86", kOtherArch = sizeof(void*) == 8 ? "x86" : "x64";
const std::string kCast = "/tcv/win/appcast.xml", kSetup = "/ConvocaLauncherSetup-1.6.0.0-" + kArch + ".exe",
                  kOtherSetup = "/ConvocaLauncherSetup-1.6.0.0-" + kOtherArch + ".exe";

class RealLibraryTest : public LauncherTest {
protected:
    // The launcher with the tests' key or the package's own; the library pointed at `url`; the window's script.
    LaunchOptions prepare(bool keyed, const std::string& url, const std::string& script,
                          const std::string& settings = "") {
        const std::wstring exe = (keyed ? kFixture + L"\\keyed" : packageDirectory()) + L"\\ConvocaLauncher.exe";
        EXPECT_TRUE(CopyFileW(exe.c_str(), install.exe().c_str(), FALSE));
        EXPECT_TRUE(writeUserSettings(InstallKind::perUser, settings + "overrideAppcastURL=" + url + "\r\n"));
        writeFile(files / L"script.txt", script);
        return {L"", {{L"CONVOCA_STANDIN_JAVA_SCRIPT", files / L"script.txt"}}, 30000};
    }
    // The release's appcast item (scripts/appcast-item.sh, one enclosure per architecture, both signed) offering
    // `version`; this architecture's installer as built or with one byte changed; held until `hold`.
    void offer(const std::string& version, bool tampered = false, std::function<bool()> hold = nullptr) {
        std::string installer = readFile(kFixture + L"\\ConvocaLauncherSetup.exe");
        server.serve(kOtherSetup, installer);
        installer[installer.size() / 2] ^= tampered ? 1 : 0;
        server.serve(kSetup, installer);
        std::string item =
            std::regex_replace(readFile(kFixture + L"\\appcast-item.xml"), std::regex("@PREFIX@"), server.url(""));
        item = std::regex_replace(item, std::regex("sparkle:version=\"1\\.6\\.0\\.0\""),
                                  "sparkle:version=\"" + version + "\" sparkle:installerArguments=\"" + utf8(record) +
                                      "\"");
        server.serve(kCast,
                     "<rss version=\"2.0\" xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">"
                     "<channel>" +
                         item + "</channel></rss>",
                     hold);
    }

    LauncherInstall install{InstallKind::perUser, L"", UpdateLibrary::real};
    LoopbackServer server;
    const std::wstring record = files / L"installer.txt";
};

// Session mode, no newer version: Java starts, and the run waits at its end, while the check waits for the appcast;
// nothing shows on the screen. An appcast that cannot be reached ends the run as promptly.
TEST_F(RealLibraryTest, SessionModeStartsJavaAtOnceAndWaitsForTheCheck) {
    offer("1.5.0.0", false, [] {
        const std::vector<std::wstring> log = lastRunLog();
        return fileExists(javawRecordPath()) && std::count(log.begin(), log.end(), L"Waiting for updater to finish.");
    });
    const std::string closed = LoopbackServer().url(kCast); // a port where a server was
    for (const std::string& url : {server.url(kCast), closed, std::string()}) {
        // Last, no check's thread can start (the library's test switch): the library is not left busy either.
        ASSERT_TRUE(!url.empty() ||
                    regSetString(HKEY_CURRENT_USER, kLauncherRegistryKey, "TvsTestFailCheckThread", "1"));
        const DWORD start = GetTickCount();
        const LauncherResult r = run(install, {session()}, prepare(true, url.empty() ? server.url(kCast) : url, ""));
        ASSERT_TRUE(r.exitCode == 0 && GetTickCount() - start < 30000u) << r.exitCode;
        EXPECT_TRUE(r.boxes.empty());
        EXPECT_TRUE(r.logHas(L"Exiting Launcher with status  0"));
        EXPECT_TRUE(url != server.url(kCast) || r.logHas(L"Updater finished."));
        EXPECT_FALSE(url.empty() && r.logHas(L"Waiting for updater to finish."));
    }
    EXPECT_TRUE(server.held()) << "the appcast was asked for, and answered once the launcher waited for it";
}

// "update" from the window, and the user installs in the library's dialog. This architecture's signed installer is
// downloaded and started, the library asks the launcher to shut down, and the launcher closes the window and ends. A tampered one,
// or any with a launcher without key, starts nothing; the window having gone, the launcher waits for the user.
TEST_F(RealLibraryTest, AnUpdateFromTheWindowIsStartedOnlyWhenItsSignatureVerifies) {
    const struct { bool keyed, tampered; } rows[] = {{true, false}, {true, true}, {false, false}};
    for (const auto& row : rows) {
        const bool verifies = row.keyed && !row.tampered;
        SCOPED_TRACE(verifies ? "signed" : row.tampered ? "tampered" : "no key");
        offer("1.6.0.0", row.tampered);
        // Only the window's request checks: the start's own check would offer the same update alongside. Written in
        // the other architecture's view: the library's settings in HKEY_CURRENT_USER\Software are one for both.
        ASSERT_TRUE(regSetString(HKEY_CURRENT_USER, kLauncherRegistryKey, "CheckForUpdates", "0",
                                 sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY));
        LauncherProcess launcher(install, {},
                                 prepare(row.keyed, server.url(kCast),
                                         verifies ? "out update\nwait shutdown\nexit 0\n" : "out update\nexit 0\n"));
        ASSERT_TRUE(pressWindowButton(L"A new version of Tavisto Convoca Launcher is available!", L"Install update",
                                      kWindowMs));
        ASSERT_TRUE(verifies ? pressWindowButton(L"Ready to install.", L"Install update", kWindowMs)
                             : pressWindowButton(L"The update is improperly signed.", L"Cancel", kWindowMs));
        ASSERT_EQ(0, launcher.wait(kWindowMs));
        const std::vector<std::wstring> log = lastRunLog();
        const auto waited = std::find(log.begin(), log.end(), L"Waiting for updater to finish.");
        EXPECT_EQ(verifies, std::count(log.begin(), log.end(), L"Notified of successful update. Calling shutdown"));
        EXPECT_TRUE(verifies || (waited != log.end() && *(waited + 1) == L"Updater finished."));
        EXPECT_EQ(1, std::count(log.begin(), log.end(), L"Exiting Launcher with status  0"));
        const std::vector<std::string> java = splitLines(readFile(workingJreHome() + L"\\bin\\java.record.txt"));
        EXPECT_EQ(verifies ? 1 : 0, std::count(java.begin(), java.end(), "in: shutdown\\r"));
        std::string started;
        for (int i = 0; i < (verifies ? 100 : 10) && (started = readFile(record)).empty(); ++i) Sleep(100);
        // Started from the library's download folder, with the appcast's arguments.
        EXPECT_EQ(verifies, started.find("\\Update-") != std::string::npos &&
                                started.find(kSetup.substr(1) + " with 1 arguments") != std::string::npos)
            << started;
        EXPECT_TRUE(robot.boxes().empty());
        resetLauncherUserState();
        DeleteFileW(record.c_str());
    }
}

// With doNotRunUpdater the window's "update" shows nothing. When no check's thread can start (the library's test
// switch), its window tells of an error, and once that is closed the run ends: the library is not left busy.
TEST_F(RealLibraryTest, AnUpdateRequestThatCannotCheckLeavesTheLibraryIdle) {
    offer("1.5.0.0"); // a check that runs finds no newer version and shows no error
    for (const bool threadFails : {false, true}) {
        ASSERT_TRUE(!threadFails ||
                    regSetString(HKEY_CURRENT_USER, kLauncherRegistryKey, "TvsTestFailCheckThread", "1"));
        LauncherProcess launcher(install, {},
                                 prepare(true, server.url(kCast), "out update\nsleep 6000\nexit 0\n",
                                         threadFails ? "" : "doNotRunUpdater=true\r\n"));
        ASSERT_EQ(threadFails, pressWindowButton(L"Update Error!", L"Cancel", threadFails ? kWindowMs : 5000));
        ASSERT_EQ(0, launcher.wait(kWindowMs));
    }
}

} // namespace
