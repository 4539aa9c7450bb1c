// Reading the launcher's settings files.
#include "DeploymentTesting.h"
#include "deployment/LauncherSettings.h"

using S = LauncherSettings;

TEST(LauncherSettings, ValuesFollowTheLookupRule) {
    static const char text[] =
        "httpProxyPort=0x50\nsecureProxyPort=010\nftpProxyPort=abc\ndoNotRunUpdater=True\n"
        "doNotValidateVcaFile=true   \rhttpProxyAddress =proxy\n#doNotLaunchVcaSession=true\n"
        "socksProxyAddress= a b \r\nftpProxyAddress=first\nftpProxyAddress=second\n\0javaConsoleSelection=1\n";
    TempDir dir;
    ASSERT_TRUE(writeFile(dir / L"s.properties", std::string(text, sizeof text - 1)));
    LauncherSettings settings(dir / L"s.properties");
    EXPECT_EQ(settings.getInt(S::kHttpProxyPort, 7), 80);
    EXPECT_EQ(settings.getInt(S::kSecureProxyPort, 7), 8);
    EXPECT_EQ(settings.getInt(S::kFtpProxyPort, 7), 7);
    EXPECT_FALSE(settings.getBool(S::kDoNotRunUpdater, false));
    EXPECT_TRUE(settings.getBool(S::kDoNotRunUpdater, true)) << "True is neither true nor false";
    EXPECT_TRUE(settings.getBool(S::kDoNotValidateVcaFile, false));
    EXPECT_EQ(settings.getString(S::kHttpProxyAddress, "none"), "none") << "a blank before the =";
    EXPECT_TRUE(settings.getBool(S::kDoNotLaunchVcaSession, false)) << "a number sign is no comment";
    EXPECT_EQ(settings.getValue(S::kSocksProxyAddress), "a b");
    EXPECT_EQ(settings.getString(S::kFtpProxyAddress, ""), "first");
    EXPECT_EQ(settings.getInt(S::kJavaConsoleSelection, 2), 2) << "a zero byte ends the text";
}

TEST(LauncherSettings, UnreadableFilesGiveTheDefaultsAndLogEveryCall) {
    const TempDir dir;
    const std::wstring path = dir / L"s.properties", file = L"Utilities Window properties file " + path;
    LauncherSettings settings(path);
    const LogTail log;
    EXPECT_EQ(settings.getInt(S::kProxySelection, 3), 3);
    ASSERT_TRUE(writeFile(path, ""));
    EXPECT_FALSE(settings.getBool(S::kDoNotRunUpdater, false));
    EXPECT_EQ(settings.getString(S::kOverrideAppcastURL, "d"), "d");
    ASSERT_TRUE(writeFile(path, "proxySelection=1\n"));
    {
        handles::File reader(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_EQ(LauncherSettings(path, [](DWORD) { FAIL() << "another reader blocks nothing"; }).getInt(S::kProxySelection, 0), 1);
    }
    handles::Process holder = holdFile(path, 3000);
    ASSERT_TRUE(holder.valid());
    std::vector<DWORD> waits;
    EXPECT_EQ(LauncherSettings(path, [&](DWORD ms) { waits.push_back(ms); }).getInt(S::kProxySelection, 0), 0);
    EXPECT_EQ(waits, std::vector<DWORD>(60, 1000)) << "a writer is waited for 60 times a second";
    EXPECT_EQ(settings.getInt(S::kProxySelection, 0), 1) << "read once released";
    ASSERT_TRUE(writeFile(path, "proxySelection=2\n"));
    EXPECT_EQ(settings.getInt(S::kProxySelection, 0), 1) << "and not read again";
    EXPECT_EQ(log.text(), file + L" not available at this time, code 2\n" + file + L" has no data\n" + file +
                              L" has no data\n" + file + L" not available at this time, code 32\n");
    EXPECT_EQ(WaitForSingleObject(holder.get(), 0), WAIT_OBJECT_0) << "the real wait outlasted the writer";
}
