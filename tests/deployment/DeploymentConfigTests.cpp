// The template mechanism and deployment.config.
#include "BoxRobot.h"
#include "DeploymentTesting.h"
#include "LogTail.h"
#include "deployment/DeploymentConfig.h"
#include "deployment/ReplaceAll.h"

#include <gtest/gtest.h>

namespace {

const std::wstring errorTitle = L"Convoca Launcher Error";
const std::wstring placeholderMissing =
    L"Error finding BUNDLED_JRE_HOME_URL parameter in deployment config template file.";

TEST(ReplaceAll, CountsAndNeverSearchesInsertedText) {
    std::string text = "a%X%b%X%%X%";
    EXPECT_EQ(replaceAll(text, "%X%", "%X%%X%"), 3u);
    EXPECT_EQ(text, "a%X%%X%b%X%%X%%X%%X%");

    std::string overlapping = "aaaa";
    EXPECT_EQ(replaceAll(overlapping, "aa", "b"), 2u);
    EXPECT_EQ(overlapping, "bb");

    std::string unchanged = "abc";
    EXPECT_EQ(replaceAll(unchanged, "x", "y"), 0u);
    EXPECT_EQ(replaceAll(unchanged, "", "y"), 0u) << "an empty find would never end";
    EXPECT_EQ(unchanged, "abc");

    std::wstring path = L"C:\\Program Files\\X\\jre";
    EXPECT_EQ(replaceAll(path, L"\\", L"/"), 3u);
    EXPECT_EQ(path, L"C:/Program Files/X/jre");
    EXPECT_EQ(replaceAll(path, L"/", L"//"), 3u);
    EXPECT_EQ(path, L"C://Program Files//X//jre");
}

class DeploymentConfigTest : public ::testing::Test {
protected:
    // The runtime home as the file URL the generator should insert, for a
    // layout folder whose own path needs no escapes.
    std::string homeUrl(const std::wstring& home) {
        std::string url = "file:///" + utf8(home);
        replaceAll(url, "\\", "/");
        return url;
    }

    RuntimeLayout layout;
    BoxRobot robot;
};

TEST_F(DeploymentConfigTest, EveryPlaceholderIsReplacedAndCounted) {
    ASSERT_TRUE(layout.writeConfigTemplate(
        "a=%BUNDLED_JRE_HOME_URL%/lib\r\nb=%BUNDLED_JRE_HOME_URL%%BUNDLED_JRE_HOME_URL%\r\n"
        "c=%OTHER% 100% %bundled_jre_home_url%\r\n"));
    LogTail log;
    DeploymentConfig config(layout.executableDirectory, layout.javaHome);
    EXPECT_EQ(config.generate(), layout.configPath());

    const std::string url = homeUrl(layout.javaHome);
    EXPECT_EQ(readFile(layout.configPath()),
              "a=" + url + "/lib\r\nb=" + url + url + "\r\nc=%OTHER% 100% %bundled_jre_home_url%\r\n");
    const std::wstring templatePath = layout.executableDirectory + L"\\deployment.config.tmpl";
    EXPECT_EQ(log.entries(),
              (std::vector<std::wstring>{
                  L"Opening deployment.config.tmpl file: " + templatePath,
                  L"Successfully opened and read deployment.config.tmpl file " + templatePath,
                  L"Replaced '%BUNDLED_JRE_HOME_URL%' 3 times with '" + fromUtf8(url) +
                      L"' in deployment.config",
                  L"Opening deployment.config file: " + layout.configPath(),
                  L"Successfully opened, wrote, and flushed write of deployment.config file " +
                      layout.configPath()}));
    EXPECT_TRUE(robot.boxes().empty());
}

TEST_F(DeploymentConfigTest, MissingPlaceholderShowsItsBoxAndWritesNothing) {
    for (const std::string& text : {std::string("deployment.system.config=%BUNDLED_JRE_HOME%\r\n"),
                                    std::string()}) {
        SCOPED_TRACE(text.empty() ? "empty template" : "template without the placeholder");
        robot.clear();
        ASSERT_TRUE(layout.writeConfigTemplate(text));
        LogTail log;
        DeploymentConfig config(layout.executableDirectory, layout.javaHome);
        EXPECT_EQ(config.generate(), L"");
        EXPECT_EQ(robot.boxes(), (std::vector<Box>{{errorTitle, placeholderMissing}}));
        EXPECT_FALSE(fileExists(layout.configPath()));
        EXPECT_TRUE(log.has(L"Successfully opened and read deployment.config.tmpl file " +
                            layout.executableDirectory + L"\\deployment.config.tmpl"));
        EXPECT_EQ(log.entries().back(), placeholderMissing);
    }
}

TEST_F(DeploymentConfigTest, InsertedPercentSignsAreNotSearchedAgain) {
    ASSERT_TRUE(layout.writeConfigTemplate("x=%BUNDLED_JRE_HOME_URL%;y=%BUNDLED_JRE_HOME_URL%"));
    DeploymentConfig config(layout.executableDirectory, layout.javaHome);
    ASSERT_TRUE(config.readTemplate());
    LogTail log;
    EXPECT_EQ(config.replaceParameter("BUNDLED_JRE_HOME_URL", "%BUNDLED_JRE_HOME_URL%%"), 2u);
    EXPECT_EQ(log.entries(), std::vector<std::wstring>{
                                 L"Replaced '%BUNDLED_JRE_HOME_URL%' 2 times with "
                                 L"'%BUNDLED_JRE_HOME_URL%%' in deployment.config"});
    ASSERT_TRUE(config.writeOutput());
    EXPECT_EQ(readFile(layout.configPath()),
              "x=%BUNDLED_JRE_HOME_URL%%;y=%BUNDLED_JRE_HOME_URL%%");
}

TEST_F(DeploymentConfigTest, SecondGenerateWritesNothing) {
    ASSERT_TRUE(layout.writeConfigTemplate("u=%BUNDLED_JRE_HOME_URL%"));
    DeploymentConfig config(layout.executableDirectory, layout.javaHome);
    LogTail log;
    const std::wstring first = config.generate();
    ASSERT_EQ(first, layout.configPath());
    ASSERT_TRUE(writeFile(layout.configPath(), "changed since"));
    EXPECT_EQ(config.generate(), first);
    EXPECT_EQ(readFile(layout.configPath()), "changed since");
    EXPECT_EQ(log.count(L"Opening deployment.config file: " + first), 1u);
}

TEST_F(DeploymentConfigTest, ZeroByteEndsTheTemplate) {
    static const char text[] = "u=%BUNDLED_JRE_HOME_URL%\n\0v=%BUNDLED_JRE_HOME_URL%\n";
    ASSERT_TRUE(layout.writeConfigTemplate(std::string(text, sizeof text - 1)));
    DeploymentConfig config(layout.executableDirectory, layout.javaHome);
    LogTail log;
    ASSERT_FALSE(config.generate().empty());
    EXPECT_EQ(readFile(layout.configPath()), "u=" + homeUrl(layout.javaHome) + "\n");
    EXPECT_TRUE(log.has(L"Replaced '%BUNDLED_JRE_HOME_URL%' 1 times with '" +
                        fromUtf8(homeUrl(layout.javaHome)) + L"' in deployment.config"));
}

TEST_F(DeploymentConfigTest, RuntimeHomeBecomesAPercentEscapedFileUrl) {
    const std::wstring home = layout.root / L"Program Files\\J\u00e4v\u00e4 #1\\jre";
    ASSERT_TRUE(makeDirs(home + L"\\lib"));
    ASSERT_TRUE(layout.writeConfigTemplate("%BUNDLED_JRE_HOME_URL%"));
    DeploymentConfig config(layout.executableDirectory, home);
    ASSERT_EQ(config.generate(), home + L"\\lib\\deployment.config");
    EXPECT_EQ(readFile(home + L"\\lib\\deployment.config"),
              homeUrl(layout.root.path()) + "/Program%20Files/J%C3%A4v%C3%A4%20%231/jre");
}

TEST_F(DeploymentConfigTest, UnreadableTemplateShowsTheReadBox) {
    LogTail log;
    DeploymentConfig missing(layout.executableDirectory, layout.javaHome);
    EXPECT_EQ(missing.generate(), L"");
    const std::wstring templatePath = layout.executableDirectory + L"\\deployment.config.tmpl";
    EXPECT_TRUE(log.has(L"Error: Opening deployment.config.tmpl file " + templatePath +
                        L" returned invalid file handle"));

    DeploymentConfig noDirectory(L"", layout.javaHome);
    EXPECT_EQ(noDirectory.generate(), L"");
    EXPECT_TRUE(log.has(L"Error: No deployment.config.tmpl file path supplied"));

    // The template is opened without sharing and without retry.
    ASSERT_TRUE(layout.writeConfigTemplate("%BUNDLED_JRE_HOME_URL%"));
    HeldFile held(templatePath, 3000);
    ASSERT_TRUE(held.held());
    DeploymentConfig busy(layout.executableDirectory, layout.javaHome);
    EXPECT_EQ(busy.generate(), L"");

    const Box box{errorTitle, L"Error reading deployment config template file."};
    EXPECT_EQ(robot.boxes(), (std::vector<Box>{box, box, box}));
    EXPECT_FALSE(fileExists(layout.configPath()));
}

TEST_F(DeploymentConfigTest, OutputThatCannotBeCreatedShowsTheWriteBox) {
    ASSERT_TRUE(layout.writeConfigTemplate("%BUNDLED_JRE_HOME_URL%"));
    const std::wstring home = layout.root / L"no-such-jre";
    LogTail log;
    DeploymentConfig config(layout.executableDirectory, home);
    EXPECT_EQ(config.generate(), L"");
    EXPECT_TRUE(log.has(L"Error: Opening deployment.config file " + home +
                        L"\\lib\\deployment.config returned invalid file handle [3]"));
    EXPECT_EQ(robot.boxes(),
              (std::vector<Box>{{errorTitle, L"Error writing out deployment config file."}}));
}

TEST_F(DeploymentConfigTest, ShortWriteOrFailedFlushIsReportedAndRetriedLater) {
    ASSERT_TRUE(layout.writeConfigTemplate("0123456789%BUNDLED_JRE_HOME_URL%"));
    const std::string expected = "0123456789" + homeUrl(layout.javaHome);
    const unsigned length = static_cast<unsigned>(expected.size());
    ScriptedCalls calls;
    calls.shortWrite = true;
    DeploymentConfig config(layout.executableDirectory, layout.javaHome, calls);
    LogTail log;
    EXPECT_EQ(config.generate(), L"");
    EXPECT_TRUE(log.has(L"Error: Write of deployment.config file " + layout.configPath() +
                        L" returned data length written " + std::to_wstring(length - 1) +
                        L" not equal to the config data length " + std::to_wstring(length)));
    EXPECT_EQ(log.count(L"Successfully opened, wrote, and flushed write of deployment.config file " +
                        layout.configPath()), 0u);

    calls.shortWrite = false;
    calls.failFlush = true;
    EXPECT_EQ(config.generate(), L"") << "a broken file is not reported as written";
    EXPECT_TRUE(log.has(L"Error: Could not flush write of deployment.config file " +
                        layout.configPath()));

    calls.failFlush = false;
    EXPECT_EQ(config.generate(), layout.configPath());
    EXPECT_EQ(readFile(layout.configPath()), expected);
    const Box box{errorTitle, L"Error writing out deployment config file."};
    EXPECT_EQ(robot.boxes(), (std::vector<Box>{box, box}));
}

} // namespace
