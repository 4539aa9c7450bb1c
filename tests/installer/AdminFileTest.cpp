// The administrator's settings file that a per-machine installation ships:
// read by the launcher's own reader, it must give exactly the defaults, and
// its comments must never be taken for a setting.
#include "TestLogger.h"
#include "deployment/LauncherSettings.h"

#include <gtest/gtest.h>

namespace {

using S = LauncherSettings;

// Every key that the launcher reads from the administrator's file, by its default.
const std::pair<const char*, std::vector<const char*>> kAdminKeys[] = {
    {"0", {S::kProxySelection, S::kHttpProxyPort, S::kSecureProxyPort, S::kFtpProxyPort, S::kSocksProxyPort}},
    {"false",
     {S::kBypassProxyServerForLocalAddresses, S::kUseSameProxyServerForAllProctocols, S::kDoNotRunUpdater,
      S::kDoNotValidateVcaFile, S::kDoNotLaunchVcaSession}},
    {"",
     {S::kAutomaticProxyConfigScriptLocation, S::kHttpProxyAddress, S::kSecureProxyAddress, S::kFtpProxyAddress,
      S::kSocksProxyAddress, S::kDoNotUseProxyServerAddressList, S::kProxyOverrideHostsList, S::kOverrideAppcastURL}}};

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
    for (const auto& [value, keys] : kAdminKeys)
        for (const char* key : keys) {
            // A comment naming the key followed by "=" would be a second occurrence.
            const std::string pattern = std::string(key) + "=";
            EXPECT_EQ(1u, occurrences(text, pattern)) << pattern;
            const size_t at = text.find(pattern);
            EXPECT_TRUE(at == 0 || (at != std::string::npos && text[at - 1] == '\n')) << pattern;
            EXPECT_EQ(value, settings.getValue(key)) << key;
        }
    for (const char* key : kOtherKeys) EXPECT_EQ(std::string::npos, text.find(key)) << key;
    EXPECT_EQ(S::kDefaultProxySelection, settings.getInt(S::kProxySelection, -1));
}

} // namespace
