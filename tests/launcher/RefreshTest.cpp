// The runtime copies through a seam: a copy that falls short as on a full disk, and a working copy in use.
#include "Registry.h"
#include "TestLogger.h"
#include "launcher/OneTimeSetup.h"
#include "launcher/SessionMode.h"

#include <gtest/gtest.h>
#include <algorithm>

namespace {

const std::wstring kRuntimeFile = L"Java\\jre1.7.0_40\\lib\\rt.jar";

// The shell's copy with one file then cut to a byte; or, for a folder in use, no rename and no copy at all.
struct FakeTreeCalls : TreeCalls {
    bool canRename(const std::wstring& directory) const override { return !inUse && TreeCalls::canRename(directory); }
    bool copy(const std::wstring& source, const std::wstring& destination) const override {
        ++copies;
        return !inUse && copyTree(source, destination) && writeFile(destination + L"\\" + cut, "1");
    }
    std::wstring cut;
    bool inUse = false;
    mutable int copies = 0;
};

class RefreshTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(makeDirs(install / L"Resources\\Java\\jre1.7.0_40\\lib") && makeDirs(install / L"security") &&
                    writeFile(install / (L"Resources\\" + kRuntimeFile), "12345") &&
                    writeFile(install / L"security\\trusted.certs", "certs") &&
                    regSetString(HKEY_CURRENT_USER, kLauncherRegistryKey, "NeedsEmbeddedUpdate", "stale"));
    }
    void TearDown() override { regDeleteTree(HKEY_CURRENT_USER, kLauncherRegistryKey); }

    std::string marker() const { return regString(HKEY_CURRENT_USER, kLauncherRegistryKey, "NeedsEmbeddedUpdate"); }
    bool logged(const std::wstring& line) const {
        const std::vector<std::wstring> lines = logger.messages();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    ScopedTestLogger logger;
    TempDir install, support;
    std::wstring home;
};

// Neither the working copy nor the security folder is kept, and the marker stays, until a copy matches its master.
TEST_F(RefreshTest, ACopyThatFallsShortIsRemovedAndNeverTakenForARuntime) {
    FakeTreeCalls cutRuntime, cutCertificates;
    cutRuntime.cut = kRuntimeFile;
    cutCertificates.cut = L"trusted.certs";
    EXPECT_TRUE(performOneTimeSetup(install.path(), support.path(), home, cutRuntime));
    EXPECT_FALSE(copySecurityDirectory(install.path(), support.path(), cutCertificates));
    EXPECT_EQ(listFiles(support.path()), std::vector<std::wstring>{}) << "no copy, no staging folder";
    EXPECT_EQ("stale", marker());
    EXPECT_TRUE(logged(L"The copy " + support / L"embedded.partial" + L" differs from " + install / L"Resources (" +
                       kRuntimeFile + L": 1 bytes instead of 5 bytes); removing it."));
    EXPECT_TRUE(logged(L"The copy " + support / (L"security." + std::to_wstring(GetCurrentProcessId())) +
                       L".partial differs from " +
                       install / L"security (trusted.certs: 1 bytes instead of 5 bytes); "
                                 L"removing it."));
    EXPECT_TRUE(performOneTimeSetup(install.path(), support.path(), home) &&
                copySecurityDirectory(install.path(), support.path()));
    EXPECT_EQ("12345", readFile(home + L"\\lib\\rt.jar"));
    EXPECT_EQ("certs", readFile(support / L"security\\trusted.certs"));
}

// A stale working copy that cannot be moved aside is kept whole and unmarked, at no copy's cost.
TEST_F(RefreshTest, AWorkingCopyInUseIsKeptWholeAndNothingIsCopied) {
    FakeTreeCalls inUse;
    inUse.inUse = true;
    ASSERT_TRUE(makeDirs(support / L"embedded") && writeFile(support / L"embedded\\sentinel", "current"));
    EXPECT_TRUE(performOneTimeSetup(install.path(), support.path(), home, inUse));
    EXPECT_EQ(0, inUse.copies);
    EXPECT_EQ(listFiles(support.path()), std::vector<std::wstring>{L"embedded\\sentinel"});
    EXPECT_EQ("stale", marker());
    EXPECT_TRUE(logged(L"The working copy " + support / L"embedded" + L" is in use; keeping it until a later start."));
}

} // namespace
