// The administrator's settings file that a per-machine installation ships:
// read by the launcher's own reader, it must give exactly the defaults, and
// its comments must never be taken for a setting.
#include "TestLogger.h"
#include "deployment/LauncherSettings.h"

#include <gtest/gtest.h>

namespace {

using S = LauncherSettings;

// Every key that the launcher reads from the administrator's file, with its default.
const std::pair<const char*, const char*> kAdminKeys[] = {
    {S::kProxySelection, "0"},
    {S::kBypassProxyServerForLocalAddresses, "false"},
    {S::kAutomaticProxyConfigScriptLocation, ""},
    {S::kHttpProxyAddress, ""},
    {S::kSecureProxyAddress, ""},
    {S::kFtpProxyAddress, ""},
    {S::kSocksProxyAddress, ""},
    {S::kHttpProxyPort, "0"},
    {S::kSecureProxyPort, "0"},
    {S::kFtpProxyPort, "0"},
    {S::kSocksProxyPort, "0"},
    {S::kUseSameProxyServerForAllProctocols, "false"},
    {S::kDoNotUseProxyServerAddressList, ""},
    {S::kProxyOverrideHostsList, ""},
    {S::kDoNotRunUpdater, "false"},
    {S::kDoNotValidateVcaFile, "false"},
    {S::kDoNotLaunchVcaSession, "false"},
    {S::kOverrideAppcastURL, ""},
};

// Keys of the user's file or of no file.
const char* const kOtherKeys[] = {S::kJavaConsoleSelection, S::kAutomaticallyDownloadUpdates,
                                  S::kDoNotCreateNewDeploymentProperties};

size_t occurrences(const std::string& text, const std::string& pattern) {
    size_t count = 0;
    for (size_t at = text.find(pattern); at != std::string::npos; at = text.find(pattern, at + 1)) ++count;
    return count;
}

TEST(ShippedAdminFile, ListsEveryKeyOnceAtItsLineStartAndGivesExactlyTheDefaults) {
    ScopedTestLogger log; // the reader logs what it cannot read
    const std::string text = readFile(CONVOCA_ADMIN_TEMPLATE_WIN);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(std::string::npos, text.find('\0')) << "the reader stops at a zero byte";
    S settings(CONVOCA_ADMIN_TEMPLATE_WIN);
    ASSERT_TRUE(settings.load());
    for (const auto& key : kAdminKeys) {
        // A comment naming the key followed by "=" would be a second occurrence.
        const std::string pattern = std::string(key.first) + "=";
        EXPECT_EQ(1u, occurrences(text, pattern)) << pattern;
        const size_t at = text.find(pattern);
        EXPECT_TRUE(at == 0 || (at != std::string::npos && text[at - 1] == '\n')) << pattern;
        EXPECT_EQ(key.second, settings.getValue(key.first)) << key.first;
    }
    for (const char* key : kOtherKeys) EXPECT_EQ(std::string::npos, text.find(key)) << key;
    EXPECT_EQ(S::kDefaultProxySelection, settings.getInt(S::kProxySelection, -1));
}

} // namespace
