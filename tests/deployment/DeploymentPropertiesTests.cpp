// deployment.properties: the placeholder values, the paths, the messages and
// the retry on a busy output file.
#include "BoxRobot.h"
#include "DeploymentTesting.h"
#include "LogTail.h"
#include "deployment/DeploymentProperties.h"

#include <gtest/gtest.h>
#include <chrono>

namespace {

const std::wstring errorTitle = L"Convoca Launcher Error";

const char* const placeholderNames[] = {
    "BUNDLED_JRE_HOME", "CONSOLE_MODE", "PROXY_TYPE", "PROXY_SAME", "PROXY_CONFIG_URL",
    "PROXY_BYPASS_LIST", "PROXY_BYPASS_LOCAL", "PROXY_HTTP_HOST", "PROXY_HTTP_PORT",
    "PROXY_HTTPS_HOST", "PROXY_HTTPS_PORT", "PROXY_FTP_HOST", "PROXY_FTP_PORT",
    "PROXY_SOCKS_HOST", "PROXY_SOCKS_PORT", "PROXY_OVERRIDE_HOSTS", "USER_CACHE_DIR",
    "USER_APP_SUPPORT_DIR"};

// One line "NAME=%NAME%" per placeholder, except `without`.
std::string templateText(const std::string& without = "") {
    std::string text = "# test template\r\n";
    for (const char* name : placeholderNames)
        if (name != without) text += std::string(name) + "=%" + name + "%\r\n";
    return text;
}

// Every manual proxy value set, so that each one can be seen in the output.
std::string adminText(int selection, bool same) {
    return "proxySelection=" + std::to_string(selection) +
           "\nuseSameProxyServerForAllProctocols=" + (same ? "true" : "false") +
           "\nautomaticProxyConfigScriptLocation=http://config.example/proxy.pac"
           "\ndoNotUseProxyServerAddressList=*.local;10.*"
           "\nbypassProxyServerForLocalAddresses=true"
           "\nhttpProxyAddress=http.example\nhttpProxyPort=8080"
           "\nsecureProxyAddress=secure.example\nsecureProxyPort=0x20FB"
           "\nftpProxyAddress=ftp.example\nftpProxyPort=2121"
           "\nsocksProxyAddress=socks.example\nsocksProxyPort=1080"
           "\nproxyOverrideHostsList=intranet.example;*.corp\n";
}

bool startsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

using Values = std::map<std::string, std::string>;

class DeploymentPropertiesTest : public ::testing::Test {
protected:
    std::wstring generate(OutputFileCalls& calls = systemOutputFileCalls()) {
        DeploymentProperties properties(layout.executableDirectory, layout.javaHome,
                                        layout.userSettings, layout.adminSettings,
                                        layout.cacheDirectory, layout.supportDirectory, calls);
        return properties.generate();
    }
    // The proxy and console values of the written file.
    Values written() {
        Values values = parseProperties(readFile(layout.propertiesPath()));
        for (const char* path : {"BUNDLED_JRE_HOME", "USER_CACHE_DIR", "USER_APP_SUPPORT_DIR"})
            values.erase(path);
        return values;
    }

    RuntimeLayout layout;
    BoxRobot robot;
};

Values proxyValues(const char* type, const char* same, const char* config, const char* bypass,
                   const char* local, const char* http, const char* httpPort, const char* https,
                   const char* httpsPort, const char* ftp, const char* ftpPort, const char* socks,
                   const char* socksPort, const char* overrides) {
    return {{"CONSOLE_MODE", "DISABLE"}, {"PROXY_TYPE", type}, {"PROXY_SAME", same},
            {"PROXY_CONFIG_URL", config}, {"PROXY_BYPASS_LIST", bypass},
            {"PROXY_BYPASS_LOCAL", local}, {"PROXY_HTTP_HOST", http},
            {"PROXY_HTTP_PORT", httpPort}, {"PROXY_HTTPS_HOST", https},
            {"PROXY_HTTPS_PORT", httpsPort}, {"PROXY_FTP_HOST", ftp},
            {"PROXY_FTP_PORT", ftpPort}, {"PROXY_SOCKS_HOST", socks},
            {"PROXY_SOCKS_PORT", socksPort}, {"PROXY_OVERRIDE_HOSTS", overrides}};
}

const Values fallbacks(const char* type) {
    return proxyValues(type, "false", "", "", "false", "", "0", "", "0", "", "0", "", "0", "");
}

TEST_F(DeploymentPropertiesTest, SettingsFilesWithoutTheKeysGiveTheDefaults) {
    ASSERT_TRUE(layout.writePropertiesTemplate(templateText()));
    ASSERT_TRUE(writeFile(layout.userSettings, "automaticallyDownloadUpdates=true\n"));
    ASSERT_TRUE(writeFile(layout.adminSettings, "doNotRunUpdater=false\n"));
    ASSERT_EQ(generate(), layout.propertiesPath());
    EXPECT_EQ(written(), fallbacks("3"));
    EXPECT_TRUE(robot.boxes().empty());
}

TEST_F(DeploymentPropertiesTest, EveryProxySelectionWithAndWithoutOneServerForAll) {
    ASSERT_TRUE(layout.writePropertiesTemplate(templateText()));
    ASSERT_TRUE(writeFile(layout.userSettings, "javaConsoleSelection=2\n"));
    const char* const pac = "http://config.example/proxy.pac";
    const Values manualSame = proxyValues(
        "1", "true", "", "*.local;10.*", "true", "http.example", "8080", "", "0", "", "0",
        "socks.example", "1080", "intranet.example;*.corp");
    const Values manualEach = proxyValues(
        "1", "false", "", "*.local;10.*", "true", "http.example", "8080", "secure.example",
        "8443", "ftp.example", "2121", "socks.example", "1080", "intranet.example;*.corp");
    Values automatic = fallbacks("2");
    automatic["PROXY_CONFIG_URL"] = pac;
    const struct {
        int selection;
        bool same;
        Values expected;
    } rows[] = {{0, false, fallbacks("3")}, {0, true, fallbacks("3")},
                {1, false, manualEach},    {1, true, manualSame},
                {2, false, automatic},     {2, true, automatic},
                {3, false, fallbacks("0")}, {3, true, fallbacks("0")}};
    for (const auto& row : rows) {
        SCOPED_TRACE("proxySelection " + std::to_string(row.selection) +
                     (row.same ? ", one server for all" : ", a server each"));
        ASSERT_TRUE(writeFile(layout.adminSettings, adminText(row.selection, row.same)));
        ASSERT_EQ(generate(), layout.propertiesPath());
        EXPECT_EQ(written(), row.expected);
    }
    EXPECT_TRUE(robot.boxes().empty());
}

TEST_F(DeploymentPropertiesTest, SelectionsOutOfRangeTakeTheirDefaults) {
    ASSERT_TRUE(layout.writePropertiesTemplate(templateText()));
    const struct {
        const char* console;
        const char* proxy;
        const char* mode;
    } rows[] = {{"0", "1", "SHOW"}, {"1", "1", "HIDE"}, {"3", "4", "DISABLE"},
                {"-1", "-1", "DISABLE"}, {"0x7fffffff", "99", "DISABLE"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string("console ") + row.console + ", proxy " + row.proxy);
        ASSERT_TRUE(writeFile(layout.userSettings, std::string("javaConsoleSelection=") + row.console));
        ASSERT_TRUE(writeFile(layout.adminSettings,
                              "proxySelection=" + std::string(row.proxy) + "\nhttpProxyAddress=h\n"));
        ASSERT_EQ(generate(), layout.propertiesPath());
        const Values values = written();
        EXPECT_EQ(values.at("CONSOLE_MODE"), row.mode);
        EXPECT_EQ(values.at("PROXY_TYPE"), std::string(row.proxy) == "1" ? "1" : "3");
        EXPECT_EQ(values.at("PROXY_HTTP_HOST"), std::string(row.proxy) == "1" ? "h" : "");
    }
}

TEST_F(DeploymentPropertiesTest, PathsAreWrittenWithPropertiesEscapes) {
    const std::wstring home = layout.root / L"J\u00f6rg \u00c5s\\jre";
    const std::wstring cache = layout.root / L"Cache\\\u65e5\u672c";
    const std::wstring support = layout.root / L"Support";
    ASSERT_TRUE(makeDirs(home + L"\\lib"));
    ASSERT_TRUE(layout.writePropertiesTemplate(templateText()));
    DeploymentProperties properties(layout.executableDirectory, home, layout.userSettings,
                                    layout.adminSettings, cache, support);
    ASSERT_EQ(properties.generate(), home + L"\\lib\\deployment.properties");

    std::string root = utf8(layout.root.path()), doubled;
    for (char c : root) doubled += c == '\\' ? std::string("\\\\") : std::string(1, c);
    const Values values = parseProperties(readFile(home + L"\\lib\\deployment.properties"));
    EXPECT_EQ(values.at("BUNDLED_JRE_HOME"), doubled + "\\\\J\\u00f6rg \\u00c5s\\\\jre");
    EXPECT_EQ(values.at("USER_CACHE_DIR"), doubled + "\\\\Cache\\\\\\u65e5\\u672c");
    EXPECT_EQ(values.at("USER_APP_SUPPORT_DIR"), doubled + "\\\\Support");
}

TEST_F(DeploymentPropertiesTest, MissingPlaceholderStopsAfterTheOnesBefore) {
    ASSERT_TRUE(layout.writePropertiesTemplate(templateText("PROXY_FTP_PORT")));
    ASSERT_TRUE(writeFile(layout.adminSettings, adminText(1, false)));
    LogTail log;
    EXPECT_EQ(generate(), L"");
    EXPECT_EQ(robot.boxes(),
              (std::vector<Box>{{errorTitle, L"Error finding PROXY_FTP_PORT parameter in "
                                             L"deployment properties template file."}}));
    EXPECT_FALSE(fileExists(layout.propertiesPath()));

    std::vector<std::wstring> replaced;
    for (const std::wstring& entry : log.entries())
        if (startsWith(entry, L"Replaced ")) replaced.push_back(entry);
    ASSERT_EQ(replaced.size(), 13u);
    for (size_t i = 0; i < 12; ++i)
        EXPECT_NE(replaced[i].find(L"' 1 times with '"), std::wstring::npos) << replaced[i];
    EXPECT_EQ(replaced[12], L"Replaced '%PROXY_FTP_PORT%' 0 times with '2121' in deployment.properties");
}

TEST_F(DeploymentPropertiesTest, MissingRuntimeHomePlaceholderNamesTheUrlPlaceholder) {
    ASSERT_TRUE(layout.writePropertiesTemplate(templateText("BUNDLED_JRE_HOME")));
    EXPECT_EQ(generate(), L"");
    EXPECT_EQ(robot.boxes(),
              (std::vector<Box>{{errorTitle, L"Error finding BUNDLED_JRE_HOME_URL parameter in "
                                             L"deployment properties template file."}}));
}

TEST_F(DeploymentPropertiesTest, ReplacementsAreLoggedInTableOrder) {
    ASSERT_TRUE(layout.writePropertiesTemplate(templateText() + "again=%PROXY_TYPE%\r\n"));
    ASSERT_TRUE(writeFile(layout.adminSettings, adminText(2, false)));
    LogTail log;
    ASSERT_EQ(generate(), layout.propertiesPath());
    const std::vector<std::wstring> entries = log.entries();
    const std::wstring templatePath = layout.executableDirectory + L"\\deployment.properties.tmpl";
    ASSERT_GE(entries.size(), 4u + 18u + 2u);
    EXPECT_EQ(entries[0], L"Opening deployment.properties.tmpl file: " + templatePath);
    EXPECT_EQ(entries[1], L"Successfully opened and read deployment.properties.tmpl file " + templatePath);
    EXPECT_EQ(entries[2], L"DeploymentProperties Utility Window Properties File specified: " +
                              layout.userSettings);
    // The user's file is missing: reading the console setting, the second
    // value, says so.
    EXPECT_EQ(entries[4], L"Utilities Window properties file " + layout.userSettings +
                              L" not available at this time, code 2");
    std::vector<std::wstring> replaced;
    for (const std::wstring& entry : entries)
        if (startsWith(entry, L"Replaced ")) replaced.push_back(entry);
    ASSERT_EQ(replaced.size(), 18u);
    for (size_t i = 0; i < 18; ++i)
        EXPECT_TRUE(startsWith(replaced[i], L"Replaced '%" + fromUtf8(placeholderNames[i]) + L"%' "))
            << replaced[i];
    EXPECT_EQ(replaced[2], L"Replaced '%PROXY_TYPE%' 2 times with '2' in deployment.properties");
    EXPECT_EQ(replaced[4], L"Replaced '%PROXY_CONFIG_URL%' 1 times with "
                           L"'http://config.example/proxy.pac' in deployment.properties");
    EXPECT_EQ(entries[entries.size() - 2], L"Opening deployment.properties file: " + layout.propertiesPath());
    EXPECT_EQ(entries.back(), L"Successfully opened, wrote, and flushed write of "
                              L"deployment.properties file " + layout.propertiesPath());
}

TEST_F(DeploymentPropertiesTest, EmptyArgumentsAreEachReportedAtConstruction) {
    LogTail log;
    DeploymentProperties properties(L"", L"", L"", L"", L"", L"");
    const std::vector<std::wstring> messages = {
        L"Properties template file directory path null.", L"Java home path null.",
        L"Utility Window Properties File null.", L"Admin Properties File null.",
        L"Java Cache Path null.", L"App Support Path null."};
    EXPECT_EQ(boxTexts(robot.boxes()), messages);
    EXPECT_EQ(log.entries(), messages);

    robot.clear();
    EXPECT_EQ(properties.generate(), L"");
    EXPECT_EQ(boxTexts(robot.boxes()),
              std::vector<std::wstring>{L"Error reading deployment properties template file."});
    EXPECT_TRUE(log.has(L"Error: No deployment.properties.tmpl file path supplied"));
}

TEST_F(DeploymentPropertiesTest, SecondGenerateNeitherReadsNorWrites) {
    ASSERT_TRUE(layout.writePropertiesTemplate(templateText()));
    DeploymentProperties properties(layout.executableDirectory, layout.javaHome,
                                    layout.userSettings, layout.adminSettings,
                                    layout.cacheDirectory, layout.supportDirectory);
    LogTail log;
    const std::wstring path = properties.generate();
    ASSERT_EQ(path, layout.propertiesPath());
    const size_t logged = log.entries().size();
    ASSERT_TRUE(writeFile(path, "changed since"));
    EXPECT_EQ(properties.generate(), path);
    EXPECT_EQ(readFile(path), "changed since");
    EXPECT_EQ(log.entries().size(), logged);
}

TEST_F(DeploymentPropertiesTest, BusyOutputIsWrittenOnceReleased) {
    ASSERT_TRUE(layout.writePropertiesTemplate(templateText()));
    ScriptedCalls calls;
    const auto start = std::chrono::steady_clock::now();
    HeldFile held(layout.propertiesPath(), 5000);
    ASSERT_TRUE(held.held());
    EXPECT_EQ(generate(calls), layout.propertiesPath());
    const auto seconds = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - start).count() / 1000.0;
    EXPECT_GE(calls.waits, 3);
    EXPECT_LE(calls.waits, 6);
    EXPECT_GE(seconds, 4.0);
    EXPECT_EQ(written(), fallbacks("3"));
    EXPECT_TRUE(robot.boxes().empty());
}

TEST_F(DeploymentPropertiesTest, OutputBusyForSixtyAttemptsIsGivenUp) {
    ASSERT_TRUE(layout.writePropertiesTemplate(templateText()));
    ASSERT_TRUE(writeFile(layout.propertiesPath(), "previous launch"));
    handles::File busy(CreateFileW(layout.propertiesPath().c_str(), GENERIC_READ, 0, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(busy.valid());
    ScriptedCalls calls;
    calls.sleep = false;
    LogTail log;
    EXPECT_EQ(generate(calls), L"");
    EXPECT_EQ(calls.waits, 60);
    EXPECT_TRUE(log.has(L"Error: Opening deployment.properties file " + layout.propertiesPath() +
                        L" returned invalid file handle"));
    EXPECT_EQ(boxTexts(robot.boxes()),
              std::vector<std::wstring>{L"Error writing deployment properties file."});
    busy.reset();
    EXPECT_EQ(readFile(layout.propertiesPath()), "previous launch");
}

TEST_F(DeploymentPropertiesTest, OtherOpenErrorsAreNotRetried) {
    ASSERT_TRUE(layout.writePropertiesTemplate(templateText()));
    ScriptedCalls calls;
    DeploymentProperties properties(layout.executableDirectory, layout.root / L"no-such-jre",
                                    layout.userSettings, layout.adminSettings,
                                    layout.cacheDirectory, layout.supportDirectory, calls);
    EXPECT_EQ(properties.generate(), L"");
    EXPECT_EQ(calls.waits, 0);
    EXPECT_EQ(boxTexts(robot.boxes()),
              std::vector<std::wstring>{L"Error writing deployment properties file."});
}

TEST_F(DeploymentPropertiesTest, ShortWriteAndFailedFlushShowTwoBoxes) {
    ASSERT_TRUE(layout.writePropertiesTemplate(templateText()));
    const std::vector<std::wstring> twoBoxes = {L"Error writing deployment properties file file.",
                                                L"Error writing deployment properties file."};
    ScriptedCalls calls;
    calls.shortWrite = true;
    LogTail log;
    EXPECT_EQ(generate(calls), L"");
    EXPECT_EQ(boxTexts(robot.boxes()), twoBoxes);
    // The file holds what the short write wrote, one byte less than asked.
    const size_t partial = readFile(layout.propertiesPath()).size();
    EXPECT_TRUE(log.has(L"Error: Write of deployment.properties file " + layout.propertiesPath() +
                        L" returned data length written " + std::to_wstring(partial) +
                        L" not equal to the properties data length " + std::to_wstring(partial + 1)));
    EXPECT_EQ(log.count(L"Successfully opened, wrote, and flushed write of deployment.properties file " +
                        layout.propertiesPath()), 0u);

    robot.clear();
    calls.shortWrite = false;
    calls.failFlush = true;
    EXPECT_EQ(generate(calls), L"");
    EXPECT_EQ(boxTexts(robot.boxes()), twoBoxes);
    EXPECT_TRUE(log.has(L"Error: Could not flush write of deployment.properties file " +
                        layout.propertiesPath()));
}

TEST_F(DeploymentPropertiesTest, FailedWriteCallShowsOnlyTheGenerateBox) {
    ASSERT_TRUE(layout.writePropertiesTemplate(templateText()));
    ScriptedCalls calls;
    calls.failWrite = true;
    DeploymentProperties properties(layout.executableDirectory, layout.javaHome,
                                    layout.userSettings, layout.adminSettings,
                                    layout.cacheDirectory, layout.supportDirectory, calls);
    LogTail log;
    EXPECT_EQ(properties.generate(), L"");
    EXPECT_EQ(boxTexts(robot.boxes()),
              std::vector<std::wstring>{L"Error writing deployment properties file."});
    EXPECT_TRUE(log.has(L"Error: Cannot write deployment.properties file " + layout.propertiesPath()));

    // Nothing counts as written yet: the next call tries again.
    calls.failWrite = false;
    EXPECT_EQ(properties.generate(), layout.propertiesPath());
    EXPECT_EQ(written(), fallbacks("3"));
}

} // namespace
