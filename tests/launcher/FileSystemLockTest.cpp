#include "Registry.h"
#include "TestLogger.h"
#include "launcher/OneTimeSetup.h"
#include "launcher/SessionMode.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <functional>

using Change = std::function<bool(const std::wstring& copy)>;
struct Stopped {}; // the process ends here
enum class FinalMove { moves, fails, stops };

// The system's copy, then changed as a full disk would; with inUse, a folder that cannot be renamed and no copy at all.
// The final move of a swap, the staged copy's, may fail or end the process.
struct FakeTreeCalls : TreeCalls {
    bool canRename(const std::wstring& directory) const override { return !inUse && TreeCalls::canRename(directory); }
    bool copy(const std::wstring& source, const std::wstring& destination, const CopyProgress&) const override {
        if (inUse) ADD_FAILURE() << "copied while the working copy is in use";
        return copyTree(source, destination) && change(destination);
    }
    bool move(const std::wstring& from, const std::wstring& to) const override {
        const bool final = from.size() > 8 && from.compare(from.size() - 8, 8, L".partial") == 0;
        if (final && finalMove == FinalMove::stops) throw Stopped();
        if (final && finalMove == FinalMove::fails) return SetLastError(ERROR_ACCESS_DENIED), false;
        return TreeCalls::move(from, to);
    }
    Change change = [](const std::wstring& copy) { return writeFile(copy + L"\\Java\\rt.jar", "1"); };
    bool inUse = false;
    FinalMove finalMove = FinalMove::moves;
};

// A copy differing from its master is removed (runtime, security folder); a stale copy in use, or behind an undeletable
// staging folder or a live lock, is kept whole at no copy's cost. Then a refresh swaps, past an undeletable old copy.
TEST(Refresh, NoCopyButACompleteOneEverTakesTheWorkingCopysPlace) {
    ScopedTestLogger logger;
    TempDir install, support;
    const std::wstring embedded = support / L"embedded";
    ASSERT_TRUE(makeDirs(install / L"Resources\\Java") && makeDirs(install / L"security") &&
                writeFile(install / L"Resources\\Java\\rt.jar", "12345") &&
                writeFile(install / L"security\\certs", "certs") &&
                regSetString(HKEY_CURRENT_USER, kLauncherRegistryKey, "NeedsEmbeddedUpdate", "stale"));
    const auto lastLine = [&] { return logger.messages().back(); };
    const auto hold = [](const std::wstring& file) {
        EXPECT_TRUE(makeDirs(findParentDirectory(file)) && writeFile(file, "held"));
        return handles::File(CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    };
    FakeTreeCalls calls;
    EXPECT_TRUE(performOneTimeSetup(install.path(), support.path(), InstallKind::perUser, calls));
    EXPECT_EQ(lastLine(), L"The copy " + embedded + L".partial differs from " + install / L"Resources" +
                              L" (Java\\rt.jar: 1 bytes instead of 5 bytes); removing it.");
    const std::pair<Change, std::wstring> rows[] = {
        {[](auto& c) { return removeTree(c + L"\\certs"); }, L"certs: missing"},
        {[](auto& c) { return writeFile(c + L"\\added", ""); }, L"added: not in the master"},
        {[](auto& c) { return removeTree(c + L"\\certs") && makeDirs(c + L"\\certs"); },
         L"certs: a folder instead of 5 bytes"}};
    for (const auto& [change, difference] : rows) {
        calls.change = change;
        EXPECT_FALSE(copySecurityDirectory(install.path(), support.path(), calls));
        EXPECT_EQ(lastLine(), L"The copy " + support / L"security." + std::to_wstring(GetCurrentProcessId()) +
                                  L".partial differs from " + install / L"security (" + difference +
                                  L"); removing it.");
    }
    EXPECT_EQ(listFiles(support.path()), std::vector<std::wstring>{}) << "no copy, no staging folder";

    calls.inUse = true;
    ASSERT_TRUE(makeDirs(embedded) && writeFile(embedded + L"\\sentinel", "current"));
    EXPECT_TRUE(performOneTimeSetup(install.path(), support.path(), InstallKind::perUser, calls));
    EXPECT_EQ(lastLine(), L"The working copy " + embedded + L" is in use; keeping it until a later start.");
    {
        const handles::File held = hold(embedded + L".partial\\held");
        EXPECT_TRUE(performOneTimeSetup(install.path(), support.path(), InstallKind::perUser));
        EXPECT_EQ(lastLine(), L"Cannot remove the leftover " + embedded +
                                  L".partial (error 32); keeping the current working copy until a later start.");
    }
    EXPECT_EQ(listFiles(support.path()), (std::vector<std::wstring>{L"embedded.partial\\held", L"embedded\\sentinel"}));
    EXPECT_EQ("stale", regString(HKEY_CURRENT_USER, kLauncherRegistryKey, "NeedsEmbeddedUpdate"));

    std::vector<DWORD> waits;
    const WaitFunction record = [&](DWORD milliseconds) { waits.push_back(milliseconds); };
    {
        const FileSystemLock holder(support.path()); // a live launcher's, which no one takes over
        const OneTimeSetupResult result =
            performOneTimeSetup(install.path(), support.path(), InstallKind::perUser, calls, record);
        EXPECT_TRUE(!result && result.embeddedJreHome.empty());
        EXPECT_EQ(waits, std::vector<DWORD>(600, 1000));
        EXPECT_EQ(lastLine(),
                  L"File system lock failed. lock.lck already exists and / or was locked. The lock has been "
                  L"cleared.");
        EXPECT_EQ(result.failure, L"Failed to lock file system for one time setup. If a session is currently "
                                  L"launching, please try again in a minute or two.If no other session is launching, "
                                  L"you may try again immediately.");
    }
    ASSERT_TRUE(writeFile(support / L"lock.lck", "left by a power cut"));
    waits.clear();
    const handles::File old = hold(embedded + L".old\\held");
    EXPECT_TRUE(performOneTimeSetup(install.path(), support.path(), InstallKind::perUser, systemTreeCalls(), record));
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(lastLine(),
              L"Cannot remove the old working copy " + embedded + L".old (error 32); a later start tries again.");
    const std::vector<std::wstring> lines = logger.messages();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), L"Taking over lock.lck, which no running launcher holds."), 1);
    EXPECT_EQ(listFiles(support.path()), (std::vector<std::wstring>{L"embedded.old\\held", L"embedded\\Java\\rt.jar"}));
    EXPECT_NE("stale", regString(HKEY_CURRENT_USER, kLauncherRegistryKey, "NeedsEmbeddedUpdate"));
    regDeleteTree(HKEY_CURRENT_USER, kLauncherRegistryKey);
}

// A swap whose final move fails, or that stops between its moves (the next start's copy failing too), leaves the
// previous copy whole and its marker unchanged. Another start's refresh waits until the setup's result lets go.
TEST(Refresh, ASwapThatFailsOrStopsHalfwayKeepsThePreviousCopyAndTheLockWaitsForTheSpawn) {
    ScopedTestLogger logger;
    TempDir install, support;
    const std::wstring embedded = support / L"embedded";
    ASSERT_TRUE(makeDirs(install / L"Resources\\Java") && writeFile(install / L"Resources\\Java\\rt.jar", "12345") &&
                makeDirs(embedded) && writeFile(embedded + L"\\sentinel", "previous") &&
                regSetString(HKEY_CURRENT_USER, kLauncherRegistryKey, "NeedsEmbeddedUpdate", "stale"));
    const auto expectPreviousCopy = [&] {
        EXPECT_EQ(listFiles(support.path()), std::vector<std::wstring>{L"embedded\\sentinel"});
        EXPECT_EQ("previous", readFile(embedded + L"\\sentinel"));
        EXPECT_EQ("stale", regString(HKEY_CURRENT_USER, kLauncherRegistryKey, "NeedsEmbeddedUpdate"));
    };
    FakeTreeCalls calls;
    calls.change = [](auto&) { return true; };
    calls.finalMove = FinalMove::fails;
    EXPECT_TRUE(performOneTimeSetup(install.path(), support.path(), InstallKind::perUser, calls));
    EXPECT_EQ(logger.messages().back(),
              L"Cannot move " + embedded + L".partial into place (error 5); keeping the current working copy.");
    expectPreviousCopy();

    calls.finalMove = FinalMove::stops;
    EXPECT_THROW(performOneTimeSetup(install.path(), support.path(), InstallKind::perUser, calls), Stopped);
    EXPECT_EQ(listFiles(support.path()),
              (std::vector<std::wstring>{L"embedded.old\\sentinel", L"embedded.partial\\Java\\rt.jar"}));
    calls.finalMove = FinalMove::moves;
    calls.change = [](auto&) { return false; };
    EXPECT_TRUE(performOneTimeSetup(install.path(), support.path(), InstallKind::perUser, calls));
    const std::vector<std::wstring> lines = logger.messages();
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         L"Moving " + embedded + L".old back into place: an earlier start stopped while replacing it."),
              1);
    expectPreviousCopy();

    calls.change = [](auto&) { return true; };
    OneTimeSetupResult first = performOneTimeSetup(install.path(), support.path(), InstallKind::perUser, calls);
    ASSERT_TRUE(first && first.lock && writeFile(embedded + L"\\prepared", "this start's") &&
                regSetString(HKEY_CURRENT_USER, kLauncherRegistryKey, "NeedsEmbeddedUpdate", "upgraded"));
    int waits = 0;
    const WaitFunction spawnAfter61Waits = [&](DWORD) {
        EXPECT_EQ("this start's", readFile(embedded + L"\\prepared")) << "replaced before this start's spawn";
        if (++waits == 61) first.lock->release();
    };
    EXPECT_TRUE(performOneTimeSetup(install.path(), support.path(), InstallKind::perUser, calls, spawnAfter61Waits));
    EXPECT_EQ(61, waits) << "a live holder is waited for beyond 60 attempts";
    EXPECT_EQ(listFiles(support.path()), std::vector<std::wstring>{L"embedded\\Java\\rt.jar"});
    regDeleteTree(HKEY_CURRENT_USER, kLauncherRegistryKey);
}
