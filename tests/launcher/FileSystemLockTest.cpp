#include "TestLogger.h"
#include "launcher/OneTimeSetup.h"

#include <gtest/gtest.h>

// The waits are recorded, not slept: the 60 one-second pauses cost no time here.
TEST(FileSystemLock, ALiveHolderCostsSixtyPausesAndALeftoverFileIsTakenOverAtOnce) {
    ScopedTestLogger logger;
    TempDir dir;
    const std::wstring lockFile = dir / L"lock.lck";
    std::vector<DWORD> waits;
    const WaitFunction record = [&](DWORD milliseconds) { waits.push_back(milliseconds); };
    {
        FileSystemLock holder(dir.path(), record);
        ASSERT_TRUE(holder.locked());
        {
            FileSystemLock second(dir.path(), record);
            EXPECT_FALSE(second.locked());
        }
        EXPECT_EQ(waits, std::vector<DWORD>(60, 1000));
        EXPECT_TRUE(fileExists(lockFile)) << "the holder keeps its file";
    }
    EXPECT_FALSE(fileExists(lockFile));
    waits.clear();
    ASSERT_TRUE(writeFile(lockFile, "left by a power cut"));
    {
        FileSystemLock lock(dir.path(), record);
        EXPECT_TRUE(lock.locked());
    }
    EXPECT_TRUE(waits.empty());
    EXPECT_FALSE(fileExists(lockFile));
    EXPECT_EQ(logger.messages().back(), L"Taking over lock.lck, which no running launcher holds.");
}
