// The administrator's settings file that a per-machine installation ships:
// read by the launcher's own reader, it must give exactly the defaults, and
// its comments must never be taken for a setting.
#include "TestFiles.h"
#include "deployment/LauncherSettings.h"
#include "logging/LogDirectory.h"
#include "logging/Logger.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

using S = LauncherSettings;

struct Key {
    const char* name;
    const char* value; // the default, as the file states it
};

// Every key that the launcher reads from the administrator's file.
const Key kAdminKeys[] = {
    {S::proxySelection, "0"},
    {S::bypassProxyServerForLocalAddresses, "false"},
    {S::automaticProxyConfigScriptLocation, ""},
    {S::httpProxyAddress, ""},
    {S::secureProxyAddress, ""},
    {S::ftpProxyAddress, ""},
    {S::socksProxyAddress, ""},
    {S::httpProxyPort, "0"},
    {S::secureProxyPort, "0"},
    {S::ftpProxyPort, "0"},
    {S::socksProxyPort, "0"},
    {S::useSameProxyServerForAllProctocols, "false"},
    {S::doNotUseProxyServerAddressList, ""},
    {S::proxyOverrideHostsList, ""},
    {S::doNotRunUpdater, "false"},
    {S::doNotValidateVcaFile, "false"},
    {S::doNotLaunchVcaSession, "false"},
    {S::overrideAppcastURL, ""},
};

// Keys that belong to the user's file or to no file.
const char* const kOtherKeys[] = {S::javaConsoleSelection, S::automaticallyDownloadUpdates,
                                  S::doNotCreateNewDeploymentProperties};

const std::wstring kShipped = CONVOCA_ADMIN_TEMPLATE_WIN;

// The reader logs what it cannot read; this log goes to a private folder.
class PrivateLogBase : public tvs::BaseDirectorySource {
public:
    explicit PrivateLogBase(std::wstring base) : m_base(std::move(base)) {}
    std::wstring localAppData() const override { return m_base; }
    std::wstring environment(const wchar_t*) const override { return L""; }
    std::wstring tempPath() const override { return L""; }
    std::wstring longPath(const std::wstring&) const override { return L""; }

private:
    std::wstring m_base;
};

class ShippedAdminFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        logBase = std::make_unique<TempDir>();
        tvs::Logger::initialize(PrivateLogBase(logBase->path()));
    }
    static void TearDownTestSuite() {
        tvs::Logger::shutdown();
        logBase.reset();
    }
    static std::unique_ptr<TempDir> logBase;
};
std::unique_ptr<TempDir> ShippedAdminFile::logBase;

size_t occurrences(const std::string& text, const std::string& pattern) {
    size_t count = 0;
    for (size_t at = text.find(pattern); at != std::string::npos; at = text.find(pattern, at + 1)) ++count;
    return count;
}

TEST_F(ShippedAdminFile, ListsEveryAdministratorKeyOnceAtTheStartOfItsLine) {
    const std::string text = readFile(kShipped);
    ASSERT_FALSE(text.empty());
    for (const Key& key : kAdminKeys) {
        const std::string pattern = std::string(key.name) + "=";
        EXPECT_EQ(1u, occurrences(text, pattern)) << pattern;
        size_t at = text.find(pattern);
        ASSERT_NE(std::string::npos, at) << pattern;
        EXPECT_TRUE(at == 0 || text[at - 1] == '\n') << pattern << " does not start its line";
    }
    for (const char* key : kOtherKeys)
        EXPECT_EQ(std::string::npos, text.find(key)) << key << " is not the administrator's";
    // Text up to the first zero byte is all the launcher reads.
    EXPECT_EQ(std::string::npos, text.find('\0'));
}

TEST_F(ShippedAdminFile, GivesExactlyTheDefaultsThroughTheLaunchersReader) {
    S settings(kShipped);
    ASSERT_TRUE(settings.load());
    for (const Key& key : kAdminKeys) EXPECT_EQ(key.value, settings.getValue(key.name)) << key.name;
    for (const char* key : kOtherKeys) EXPECT_EQ("", settings.getValue(key)) << key;

    // What start-up and the deployment.properties generator read.
    EXPECT_FALSE(settings.getBool(S::doNotRunUpdater, true));
    EXPECT_FALSE(settings.getBool(S::doNotValidateVcaFile, true));
    EXPECT_FALSE(settings.getBool(S::doNotLaunchVcaSession, true));
    EXPECT_EQ("", settings.getString(S::overrideAppcastURL, ""));
    EXPECT_EQ(S::defaultProxySelection, settings.getInt(S::proxySelection, -1));
    EXPECT_FALSE(settings.getBool(S::useSameProxyServerForAllProctocols, true));
    EXPECT_FALSE(settings.getBool(S::bypassProxyServerForLocalAddresses, true));
    for (const char* port : {S::httpProxyPort, S::secureProxyPort, S::ftpProxyPort, S::socksProxyPort})
        EXPECT_EQ(0, settings.getInt(port, -1)) << port;
}

TEST_F(ShippedAdminFile, EditingOneValueChangesOnlyThatSetting) {
    // An administrator sets the switch on its own line; a comment that named
    // the key with an equals sign before it would win instead.
    std::string text = readFile(kShipped);
    const std::string from = "doNotValidateVcaFile=false";
    size_t at = text.find(from);
    ASSERT_NE(std::string::npos, at);
    text.replace(at, from.size(), "doNotValidateVcaFile=true");
    TempDir dir;
    ASSERT_TRUE(writeFile(dir / L"ConvocaLauncherAdmin.properties", text));
    S settings(dir / L"ConvocaLauncherAdmin.properties");
    EXPECT_TRUE(settings.getBool(S::doNotValidateVcaFile, false));
    for (const Key& key : kAdminKeys) {
        if (std::string(key.name) != S::doNotValidateVcaFile) {
            EXPECT_EQ(key.value, settings.getValue(key.name)) << key.name;
        }
    }
}

} // namespace
