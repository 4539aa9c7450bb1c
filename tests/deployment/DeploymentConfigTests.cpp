// The template mechanism, deployment.config, and the templates that ship.
#include "DeploymentTesting.h"
#include "deployment/DeploymentConfig.h"
#include "deployment/ReplaceAll.h"

#include <algorithm>

static std::string fileUrl(const std::wstring& path) {
    std::string url = "file:///" + utf8(path);
    std::replace(url.begin(), url.end(), '\\', '/');
    return url;
}

TEST(ReplaceAll, CountsAndNeverSearchesInsertedText) {
    std::string text = "a%X%b%X%%X%", overlapping = "aaaa", unchanged = "abc";
    EXPECT_EQ(replaceAll(text, "%X%", "%X%%X%"), 3u);
    EXPECT_EQ(replaceAll(overlapping, "aa", "b"), 2u);
    EXPECT_EQ(replaceAll(unchanged, "", "y"), 0u) << "an empty find would never end";
    EXPECT_EQ(text + "|" + overlapping + "|" + unchanged, "a%X%%X%b%X%%X%%X%%X%|bb|abc");
}

TEST_F(DeploymentTest, ConfigGetsTheRuntimeHomeAsAnEscapedFileUrlWrittenWhole) {
    const std::wstring home = root / L"Program Files\\J\u00e4v\u00e4 #1\\jre",
                       output = home + L"\\lib\\deployment.config", tmpl = exe + L"\\deployment.config.tmpl";
    const std::string url = fileUrl(root.path()) + "/Program%20Files/J%C3%A4v%C3%A4%20%231/jre",
                      expected = "a=" + url + "/lib\r\nb=" + url + url + "\r\nc=%OTHER% 100% %bundled_jre_home_url%\n";
    static const char text[] = "a=%BUNDLED_JRE_HOME_URL%/lib\r\nb=%BUNDLED_JRE_HOME_URL%%BUNDLED_JRE_HOME_URL%"
                               "\r\nc=%OTHER% 100% %bundled_jre_home_url%\n\0d=%BUNDLED_JRE_HOME_URL%";
    ASSERT_TRUE(makeDirs(home + L"\\lib") && writeFile(tmpl, std::string(text, sizeof text - 1)));
    DeploymentConfig generator(exe, home, calls);
    LogTail failed;
    calls.shortWrite = true;
    EXPECT_EQ(generator.generate().messages, std::vector<std::wstring>{L"Error writing out deployment config file."});
    EXPECT_TRUE(failed.has(L"Error: Write of deployment.config file " + output + L" returned data length written " +
                           std::to_wstring(expected.size() - 1) + L" not equal to the config data length " +
                           std::to_wstring(expected.size())));
    calls.shortWrite = false;
    LogTail log;
    EXPECT_EQ(generator.generate().path, output) << "the short write was not taken for a written file";
    EXPECT_EQ(readFile(output), expected);
    EXPECT_EQ(log.text(), L"Opening deployment.config.tmpl file: " + tmpl +
                              L"\nSuccessfully opened and read deployment.config.tmpl file " + tmpl +
                              L"\nReplaced '%BUNDLED_JRE_HOME_URL%' 3 times with '" + fromUtf8(url) +
                              L"' in deployment.config\nOpening deployment.config file: " + output +
                              L"\nSuccessfully opened, wrote, and flushed write of deployment.config file " + output +
                              L"\n");
}

TEST_F(DeploymentTest, ConfigFailuresTellTheirMessageAndWriteNothing) {
    const std::wstring tmpl = exe + L"\\deployment.config.tmpl", none = root / L"none\\lib\\deployment.config";
    const struct {
        const char* text;
        std::wstring home, logged;
        GenerateResult::Status status;
        std::wstring message;
    } rows[] = {{nullptr, jre, L"Error: Opening deployment.config.tmpl file " + tmpl + L" returned invalid file handle",
                 GenerateResult::templateNotRead, L"Error reading deployment config template file."},
                {"x=%BUNDLED_JRE_HOME%\r\n", jre, L"Successfully opened and read deployment.config.tmpl file " + tmpl,
                 GenerateResult::placeholderMissing,
                 L"Error finding BUNDLED_JRE_HOME_URL parameter in deployment config template file."},
                {"%BUNDLED_JRE_HOME_URL%", root / L"none",
                 L"Error: Opening deployment.config file " + none + L" returned invalid file handle [3]",
                 GenerateResult::notWritten, L"Error writing out deployment config file."}};
    for (const auto& row : rows) {
        ASSERT_TRUE(!row.text || writeFile(tmpl, row.text));
        LogTail log;
        const GenerateResult result = DeploymentConfig(exe, row.home).generate();
        EXPECT_TRUE(log.has(row.logged)) << utf8(log.text());
        EXPECT_TRUE(result.status == row.status && result.path.empty());
        EXPECT_EQ(result.messages, std::vector<std::wstring>{row.message});
        EXPECT_FALSE(fileExists(config));
    }
}

// Keys that no other test reads: the proxy hosts and lists reach Java in AwkwardSettingsAreWrittenForJavaToRead,
// the HTTP proxy, the cache and the runtime's address are read after real launches.
TEST_F(DeploymentTest, ShippedTemplatesUseTheRuntimesOwnKeys) {
    ASSERT_TRUE(writeFile(admin, "proxySelection=1\nuseSameProxyServerForAllProctocols=true\n"));
    const std::wstring package = CONVOCA_PACKAGE_DIR_WIN;
    ASSERT_EQ(DeploymentConfig(package, jre).generate().path, config);
    SettingsFiles settings(user, admin);
    ASSERT_EQ(DeploymentProperties(package, jre, settings, cache, support).generate().path, properties);
    const std::vector<std::string> lines = splitLines(readFile(config) + "\n" + readFile(properties));
    std::vector<std::string> expected = splitLines(
        "deployment.system.config.mandatory=true\ndeployment.console.startup.mode=DISABLE\ndeployment.proxy.type=1\n"
        "deployment.proxy.same=true\ndeployment.proxy.bypass.local=false\ndeployment.proxy.https.port=0");
    expected.push_back("deployment.system.config=" + fileUrl(jre) + "/lib/deployment.properties");
    expected.push_back("deployment.javaws.jre.0.path=" + doubled(jre) + "\\\\bin\\\\javaw.exe");
    for (const std::string& line : expected)
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
}
