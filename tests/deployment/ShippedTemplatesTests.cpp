// The templates in the install tree produce complete files for the runtime.
#include "BoxRobot.h"
#include "DeploymentTesting.h"
#include "deployment/DeploymentConfig.h"
#include "deployment/DeploymentProperties.h"

#include <gtest/gtest.h>

namespace {

const std::wstring packageDirectory = CONVOCA_PACKAGE_DIR_WIN;

bool hasPlaceholderLeft(const std::string& text) {
    for (size_t open = text.find('%'); open != std::string::npos; open = text.find('%', open + 1)) {
        size_t end = open + 1;
        while (end < text.size() && (isupper(static_cast<unsigned char>(text[end])) || text[end] == '_'))
            ++end;
        if (end > open + 1 && end < text.size() && text[end] == '%') return true;
    }
    return false;
}

// An ASCII path as a properties value: each backslash doubled.
std::string doubled(const std::wstring& path) {
    std::string result;
    for (char c : utf8(path)) result += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return result;
}

class ShippedTemplates : public ::testing::Test {
protected:
    RuntimeLayout layout;
    BoxRobot robot;
};

TEST_F(ShippedTemplates, ConfigPointsTheRuntimeAtItsDeploymentProperties) {
    DeploymentConfig config(packageDirectory, layout.javaHome);
    ASSERT_EQ(config.generate(), layout.configPath());
    const std::string text = readFile(layout.configPath());
    EXPECT_FALSE(hasPlaceholderLeft(text));

    std::string url = "file:///" + utf8(layout.javaHome);
    for (char& c : url) if (c == '\\') c = '/';
    const auto values = parseProperties(text);
    EXPECT_EQ(values.at("deployment.system.config"), url + "/lib/deployment.properties");
    EXPECT_EQ(values.at("deployment.system.config.mandatory"), "true");
    EXPECT_TRUE(robot.boxes().empty());
}

TEST_F(ShippedTemplates, PropertiesCarryTheRuntimesOwnKeys) {
    ASSERT_TRUE(writeFile(layout.userSettings, "javaConsoleSelection=0\n"));
    ASSERT_TRUE(writeFile(layout.adminSettings,
                          "proxySelection=1\nhttpProxyAddress=proxy.example\nhttpProxyPort=3128\n"
                          "socksProxyAddress=socks.example\nsocksProxyPort=1080\n"
                          "useSameProxyServerForAllProctocols=true\n"
                          "doNotUseProxyServerAddressList=*.corp\n"
                          "bypassProxyServerForLocalAddresses=true\n"
                          "proxyOverrideHostsList=intranet.corp\n"));
    DeploymentProperties properties(packageDirectory, layout.javaHome, layout.userSettings,
                                    layout.adminSettings, layout.cacheDirectory,
                                    layout.supportDirectory);
    ASSERT_EQ(properties.generate(), layout.propertiesPath());
    const std::string text = readFile(layout.propertiesPath());
    EXPECT_FALSE(hasPlaceholderLeft(text));

    const std::string support = doubled(layout.supportDirectory);
    const auto values = parseProperties(text);
    const std::map<std::string, std::string> expected = {
        {"deployment.console.startup.mode", "SHOW"},
        {"deployment.proxy.type", "1"},
        {"deployment.proxy.same", "true"},
        {"deployment.proxy.auto.config.url", ""},
        {"deployment.proxy.bypass.list", "*.corp"},
        {"deployment.proxy.bypass.local", "true"},
        {"deployment.proxy.http.host", "proxy.example"},
        {"deployment.proxy.http.port", "3128"},
        {"deployment.proxy.https.host", ""},
        {"deployment.proxy.https.port", "0"},
        {"deployment.proxy.ftp.host", ""},
        {"deployment.proxy.ftp.port", "0"},
        {"deployment.proxy.socks.host", "socks.example"},
        {"deployment.proxy.socks.port", "1080"},
        {"deployment.proxy.override.hosts", "intranet.corp"},
        {"deployment.user.security.trusted.certs", support + "\\\\security\\\\trusted.certs"},
    };
    for (const auto& pair : expected) {
        ASSERT_TRUE(values.count(pair.first)) << pair.first;
        EXPECT_EQ(values.at(pair.first), pair.second) << pair.first;
    }
    EXPECT_EQ(values.at("deployment.user.cachedir"), doubled(layout.cacheDirectory));
    EXPECT_EQ(values.at("deployment.javaws.jre.0.path"),
              doubled(layout.javaHome) + "\\\\bin\\\\javaw.exe");
    EXPECT_TRUE(robot.boxes().empty());
}

} // namespace
