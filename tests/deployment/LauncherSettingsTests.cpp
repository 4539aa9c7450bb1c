// Reading the launcher's settings files.
#include "DeploymentTesting.h"
#include "LogTail.h"
#include "deployment/LauncherSettings.h"

#include <gtest/gtest.h>

namespace {

class LauncherSettingsTest : public ::testing::Test {
protected:
    // A reader on a file holding text.
    LauncherSettings settingsWith(const std::string& text) {
        EXPECT_TRUE(writeFile(path, text));
        return LauncherSettings(path);
    }

    TempDir dir;
    std::wstring path = dir / L"ConvocaLauncher.properties";
};

TEST_F(LauncherSettingsTest, IntegersAreReadAsScanfReadsThem) {
    LauncherSettings settings = settingsWith(
        "proxySelection=1\nhttpProxyPort=80\nsecureProxyPort=0x50\nftpProxyPort=010\n"
        "socksProxyPort=abc\njavaConsoleSelection=  -2  \nhttpProxyAddress=12abc\n"
        "secureProxyAddress=0X1f\n");
    EXPECT_EQ(settings.getInt(LauncherSettings::proxySelection, 0), 1);
    EXPECT_EQ(settings.getInt(LauncherSettings::httpProxyPort, 0), 80);
    EXPECT_EQ(settings.getInt(LauncherSettings::secureProxyPort, 0), 80);
    EXPECT_EQ(settings.getInt(LauncherSettings::ftpProxyPort, 0), 8);
    EXPECT_EQ(settings.getInt(LauncherSettings::socksProxyPort, 0), 0);
    EXPECT_EQ(settings.getInt(LauncherSettings::socksProxyPort, 7), 7);
    EXPECT_EQ(settings.getInt(LauncherSettings::javaConsoleSelection, 2), -2);
    EXPECT_EQ(settings.getInt(LauncherSettings::httpProxyAddress, 0), 12);
    EXPECT_EQ(settings.getInt(LauncherSettings::secureProxyAddress, 0), 31);
    EXPECT_EQ(settings.getInt(LauncherSettings::ftpProxyAddress, 5), 5) << "missing key";
}

TEST_F(LauncherSettingsTest, BooleansAreExactlyTrueOrFalse) {
    LauncherSettings settings = settingsWith(
        "doNotRunUpdater=True\ndoNotValidateVcaFile=true   \ndoNotLaunchVcaSession=false\n"
        "useSameProxyServerForAllProctocols=1\nbypassProxyServerForLocalAddresses=yes\n"
        "automaticallyDownloadUpdates=\t true\n");
    EXPECT_FALSE(settings.getBool(LauncherSettings::doNotRunUpdater, false));
    EXPECT_TRUE(settings.getBool(LauncherSettings::doNotRunUpdater, true));
    EXPECT_TRUE(settings.getBool(LauncherSettings::doNotValidateVcaFile, false));
    EXPECT_FALSE(settings.getBool(LauncherSettings::doNotLaunchVcaSession, true));
    EXPECT_TRUE(settings.getBool(LauncherSettings::useSameProxyServerForAllProctocols, true));
    EXPECT_FALSE(settings.getBool(LauncherSettings::bypassProxyServerForLocalAddresses, false));
    EXPECT_TRUE(settings.getBool(LauncherSettings::automaticallyDownloadUpdates, true))
        << "only spaces are trimmed, not tabs";
}

TEST_F(LauncherSettingsTest, KeysAreFoundAsPlainText) {
    LauncherSettings settings = settingsWith(
        "httpProxyAddress =proxy\r\n"
        "#doNotRunUpdater=true\r\n"
        "secureProxyAddress=secure.example:8443 \r\n"
        "ftpProxyAddress=first\nftpProxyAddress=second\n"
        "socksProxyAddress=   \n"
        "proxyOverrideHostsList=a\\,b \\u00e9\rnext=1\n"
        "overrideAppcastURL=https://updates.example/appcast.xml?x=1=2");
    EXPECT_EQ(settings.getString(LauncherSettings::httpProxyAddress, "default"), "default")
        << "a blank before the equals sign hides the key";
    EXPECT_TRUE(settings.getBool(LauncherSettings::doNotRunUpdater, false))
        << "there is no comment syntax";
    EXPECT_EQ(settings.getValue(LauncherSettings::secureProxyAddress), "secure.example:8443");
    EXPECT_EQ(settings.getString(LauncherSettings::ftpProxyAddress, ""), "first");
    EXPECT_EQ(settings.getString(LauncherSettings::socksProxyAddress, "default"), "default");
    EXPECT_EQ(settings.getValue(LauncherSettings::proxyOverrideHostsList), "a\\,b \\u00e9");
    EXPECT_EQ(settings.getString(LauncherSettings::overrideAppcastURL, ""),
              "https://updates.example/appcast.xml?x=1=2");
}

TEST_F(LauncherSettingsTest, NoKeyEndsAnotherKeysName) {
    // The lookup is not bound to line starts, so a key that ended another
    // key's name would be found inside it.
    const std::vector<std::string> keys = {
        LauncherSettings::automaticallyDownloadUpdates, LauncherSettings::javaConsoleSelection,
        LauncherSettings::proxySelection, LauncherSettings::bypassProxyServerForLocalAddresses,
        LauncherSettings::automaticProxyConfigScriptLocation, LauncherSettings::httpProxyAddress,
        LauncherSettings::secureProxyAddress, LauncherSettings::ftpProxyAddress,
        LauncherSettings::socksProxyAddress, LauncherSettings::httpProxyPort,
        LauncherSettings::secureProxyPort, LauncherSettings::ftpProxyPort,
        LauncherSettings::socksProxyPort, LauncherSettings::useSameProxyServerForAllProctocols,
        LauncherSettings::doNotUseProxyServerAddressList, LauncherSettings::proxyOverrideHostsList,
        LauncherSettings::doNotRunUpdater, LauncherSettings::doNotValidateVcaFile,
        LauncherSettings::doNotLaunchVcaSession,
        LauncherSettings::doNotCreateNewDeploymentProperties, LauncherSettings::overrideAppcastURL};
    ASSERT_EQ(keys.size(), 21u);
    for (const std::string& shorter : keys) {
        for (const std::string& longer : keys) {
            if (&shorter == &longer || longer.size() < shorter.size()) continue;
            EXPECT_NE(longer.compare(longer.size() - shorter.size(), shorter.size(), shorter), 0)
                << shorter << " ends " << longer;
        }
    }

    std::string everyKey;
    for (size_t i = 0; i < keys.size(); ++i) everyKey += keys[i] + "=" + std::to_string(i) + "\n";
    LauncherSettings settings = settingsWith(everyKey);
    for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(settings.getInt(keys[i], -1), int(i)) << keys[i];
}

TEST_F(LauncherSettingsTest, ZeroByteEndsTheText) {
    static const char text[] = "proxySelection=1\n\0httpProxyPort=80\n";
    LauncherSettings settings = settingsWith(std::string(text, sizeof text - 1));
    EXPECT_EQ(settings.getInt(LauncherSettings::proxySelection, 0), 1);
    EXPECT_EQ(settings.getInt(LauncherSettings::httpProxyPort, 0), 0);
}

TEST_F(LauncherSettingsTest, EmptyFileLogsOnEveryCall) {
    LauncherSettings settings = settingsWith("");
    LogTail log;
    EXPECT_EQ(settings.getInt(LauncherSettings::proxySelection, 3), 3);
    EXPECT_FALSE(settings.getBool(LauncherSettings::doNotRunUpdater, false));
    EXPECT_EQ(settings.getString(LauncherSettings::overrideAppcastURL, "d"), "d");
    const std::wstring line = L"Utilities Window properties file " + path + L" has no data";
    EXPECT_EQ(log.entries(), (std::vector<std::wstring>{line, line, line}));
}

TEST_F(LauncherSettingsTest, MissingFileLogsCodeTwoAndIsReadOnceItAppears) {
    LauncherSettings settings(path);
    LogTail log;
    EXPECT_EQ(settings.getInt(LauncherSettings::proxySelection, 0), 0);
    EXPECT_EQ(log.entries(), std::vector<std::wstring>{L"Utilities Window properties file " + path +
                                                       L" not available at this time, code 2"});
    ASSERT_TRUE(writeFile(path, "proxySelection=2\n"));
    EXPECT_EQ(settings.getInt(LauncherSettings::proxySelection, 0), 2);
    // Once loaded, later changes to the file are not seen by this reader.
    ASSERT_TRUE(writeFile(path, "proxySelection=3\n"));
    EXPECT_EQ(settings.getInt(LauncherSettings::proxySelection, 0), 2);
    EXPECT_EQ(log.entries().size(), 1u);
}

TEST_F(LauncherSettingsTest, FileHeldByAnotherProcessGivesDefaultsAndCode32) {
    ASSERT_TRUE(writeFile(path, "proxySelection=1\ndoNotRunUpdater=true\n"));
    LauncherSettings settings(path);
    LogTail log;
    {
        HeldFile held(path, 2000);
        ASSERT_TRUE(held.held());
        EXPECT_EQ(settings.getInt(LauncherSettings::proxySelection, 0), 0);
        EXPECT_FALSE(settings.getBool(LauncherSettings::doNotRunUpdater, false));
    }
    const std::wstring line =
        L"Utilities Window properties file " + path + L" not available at this time, code 32";
    EXPECT_EQ(log.entries(), (std::vector<std::wstring>{line, line}));
    EXPECT_EQ(settings.getInt(LauncherSettings::proxySelection, 0), 1) << "read once released";
}

} // namespace
