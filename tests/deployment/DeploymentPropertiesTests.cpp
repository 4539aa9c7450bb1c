// deployment.properties: the placeholder values, the paths, the messages and the retry on a busy output file.
#include "DeploymentTesting.h"

#include <chrono>

// The paths on lines of their own, the other values on one line between bars.
static const std::string propertiesTemplate =
    "%BUNDLED_JRE_HOME%\n%CONSOLE_MODE%|%PROXY_TYPE%|%PROXY_SAME%|%PROXY_CONFIG_URL%|%PROXY_BYPASS_LIST%|"
    "%PROXY_BYPASS_LOCAL%|%PROXY_HTTP_HOST%|%PROXY_HTTP_PORT%|%PROXY_HTTPS_HOST%|%PROXY_HTTPS_PORT%|"
    "%PROXY_FTP_HOST%|%PROXY_FTP_PORT%|%PROXY_SOCKS_HOST%|%PROXY_SOCKS_PORT%|%PROXY_OVERRIDE_HOSTS%\n"
    "%USER_CACHE_DIR%\n%USER_APP_SUPPORT_DIR%\n";
static const std::string defaults = "DISABLE|3|false|||false||0||0||0||0|";

struct PropertiesTest : DeploymentTest {
    PropertiesTest() { writeFile(exe + L"\\deployment.properties.tmpl", propertiesTemplate); }
    std::string written(const std::string& home, const std::string& values) {
        return home + "\n" + values + "\n" + doubled(cache) + "\n" + doubled(support) + "\n";
    }
};

TEST_F(PropertiesTest, EverySelectionWithAndWithoutOneServerForAllAndEscapedPaths) {
    const std::wstring home = root / L"J\u00f6rg \u00c5s\\jre", output = home + L"\\lib\\deployment.properties";
    const struct {
        const char *console, *selection;
        bool same;
        std::string expected;
    } rows[] = {{"0", "0", false, "SHOW|3|false|||false||0||0||0||0|"},
                {"1", "0", true, "HIDE|3|false|||false||0||0||0||0|"},
                {"2", "1", false, "DISABLE|1|false||*.local|true|h|8080|s|8443|f|8|k|1080|o;*.corp"},
                {"", "1", true, "DISABLE|1|true||*.local|true|h|8080||0||0|k|1080|o;*.corp"},
                {"", "2", true, "DISABLE|2|false|http://pac||false||0||0||0||0|"},
                {"", "3", true, "DISABLE|0|false|||false||0||0||0||0|"},
                {"3", "4", true, defaults}}; // out of range: the default of the settings table
    // Every manual value, so that each shows where it is used.
    const std::string manual =
        "\nautomaticProxyConfigScriptLocation=http://pac\ndoNotUseProxyServerAddressList=*.local"
        "\nbypassProxyServerForLocalAddresses=true\nhttpProxyAddress=h\nhttpProxyPort=8080\nsecureProxyAddress=s"
        "\nsecureProxyPort=0x20FB\nftpProxyAddress=f\nftpProxyPort=010\nsocksProxyAddress=k\nsocksProxyPort=1080"
        "\nproxyOverrideHostsList=o;*.corp\nuseSameProxyServerForAllProctocols=";
    ASSERT_TRUE(makeDirs(home + L"\\lib"));
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string("selection ") + row.selection + (row.same ? ", one server" : ""));
        ASSERT_TRUE(
            writeFile(user, std::string("javaConsoleSelection=") + row.console) &&
            writeFile(admin, std::string("proxySelection=") + row.selection + manual + (row.same ? "true" : "false")));
        ASSERT_EQ(generateProperties(home).path, output);
        EXPECT_EQ(readFile(output), written(doubled(root.path()) + "\\\\J\\u00f6rg \\u00c5s\\\\jre", row.expected));
    }
}

TEST_F(PropertiesTest, MissingPlaceholderStopsAfterTheOnesBeforeAndWritesNothing) {
    std::string text = propertiesTemplate;
    ASSERT_TRUE(writeFile(exe + L"\\deployment.properties.tmpl", text.erase(text.find("%PROXY_FTP_PORT%"), 16)) &&
                writeFile(admin, "proxySelection=1\nftpProxyPort=2121\n"));
    LogTail log;
    const GenerateResult result = generateProperties(jre);
    const std::wstring logged = log.text();
    EXPECT_TRUE(result.status == GenerateResult::placeholderMissing && result.path.empty());
    EXPECT_EQ(result.messages, std::vector<std::wstring>{
                                   L"Error finding PROXY_FTP_PORT parameter in deployment properties template file."});
    EXPECT_FALSE(fileExists(properties));
    EXPECT_EQ(logged.substr(logged.rfind(L"Replaced '%PROXY_FTP_PORT%'")),
              L"Replaced '%PROXY_FTP_PORT%' 0 times with '2121' in deployment.properties\n");
}

// Each failure leaves the generator ready for another attempt; once written, it writes no more.
TEST_F(PropertiesTest, FailedWritesTellTheirMessagesAndTheFirstSuccessIsTheOnlyWrite) {
    const std::wstring box = L"Error writing deployment properties file.",
                       file = L" deployment.properties file " + properties,
                       twice = L"Error writing deployment properties file file.";
    const std::string content = written(doubled(jre), defaults);
    SettingsFiles settings(user, admin, calls.waitFunction());
    DeploymentProperties generator(exe, jre, settings, cache, support, calls);
    LogTail log;
    const struct {
        bool ScriptedCalls::*fault;
        std::wstring logged;
        std::vector<std::wstring> boxes;
    } rows[] = {{&ScriptedCalls::shortWrite,
                 L"Error: Write of" + file + L" returned data length written " + std::to_wstring(content.size() - 1) +
                     L" not equal to the properties data length " + std::to_wstring(content.size()),
                 {twice, box}},
                {&ScriptedCalls::failFlush, L"Error: Could not flush write of" + file, {twice, box}},
                {&ScriptedCalls::failWrite, L"Error: Cannot write" + file, {box}}};
    for (const auto& row : rows) {
        calls = {};
        calls.*row.fault = true;
        const GenerateResult result = generator.generate();
        EXPECT_TRUE(result.status == GenerateResult::notWritten && result.path.empty());
        EXPECT_TRUE(log.has(row.logged)) << utf8(row.logged);
        EXPECT_EQ(result.messages, row.boxes);
    }
    calls = {};
    EXPECT_EQ(generateProperties(root / L"none").messages, std::vector<std::wstring>{box});
    EXPECT_EQ(calls.waits, 0) << "only a sharing or lock violation is waited for";
    const auto start = std::chrono::steady_clock::now();
    FileHold holder(properties, 5000); // for about five retries
    ASSERT_TRUE(holder.held);
    EXPECT_EQ(generator.generate().messages, std::vector<std::wstring>{box});
    EXPECT_EQ(calls.waits, 60);
    EXPECT_TRUE(log.has(L"Error: Opening" + file + L" returned invalid file handle"));
    calls.waits = 0, calls.sleep = true;
    EXPECT_EQ(generator.generate().path, properties);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_TRUE(calls.waits >= 3 && calls.waits <= 6) << calls.waits;
    EXPECT_EQ(readFile(properties), content);
    ASSERT_TRUE(writeFile(properties, "changed since"));
    const LogTail second;
    const GenerateResult again = generator.generate();
    EXPECT_TRUE(again && again.path == properties && again.messages.empty());
    EXPECT_EQ(readFile(properties) + utf8(second.text()), "changed since") << "neither reads nor writes again";
}

// awkward-settings.txt written with the shipped template, for LoadGeneratedProperties.java to read with Java.
TEST_F(DeploymentTest, AwkwardSettingsAreWrittenForJavaToRead) {
    const std::string settings = readFile(CONVOCA_TEST_BIN_DIR_WIN L"\\awkward-settings.txt");
    ASSERT_TRUE(writeFile(exe + L"\\deployment.properties.tmpl",
                          readFile(CONVOCA_PACKAGE_DIR_WIN L"\\deployment.properties.tmpl")));
    for (const auto& [mode, selection] : {std::pair{L"manual", "1"}, std::pair{L"script", "2"}}) {
        const std::wstring home = CONVOCA_TEST_BIN_DIR_WIN L"\\generated-properties\\" + std::wstring(mode);
        ASSERT_TRUE(makeDirs(home + L"\\lib") && writeFile(admin, settings + "proxySelection=" + selection + "\n"));
        EXPECT_EQ(generateProperties(home).path, home + L"\\lib\\deployment.properties");
    }
}
