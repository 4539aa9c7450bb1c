#include "TestLogger.h"
#include "launcher/OneTimeSetup.h"

#include <gtest/gtest.h>

// The waits are recorded, not slept: the 60 one-second pauses cost no time here.
TEST(FileSystemLock, ALiveHolderCostsSixtyPausesAndALeftoverFileIsTakenOverAtOnce) {
    ScopedTestLogger logger;
    TempDir dir;
    std::vector<DWORD> waits;
    const WaitFunction record = [&](DWORD milliseconds) { waits.push_back(milliseconds); };
    {
        FileSystemLock holder(dir.path(), record);
        EXPECT_TRUE(holder.locked() && !FileSystemLock(dir.path(), record).locked());
        EXPECT_EQ(waits, std::vector<DWORD>(60, 1000));
        EXPECT_TRUE(fileExists(dir / L"lock.lck")) << "the holder keeps its file";
    }
    EXPECT_FALSE(fileExists(dir / L"lock.lck"));
    waits.clear();
    ASSERT_TRUE(writeFile(dir / L"lock.lck", "left by a power cut"));
    EXPECT_TRUE(FileSystemLock(dir.path(), record).locked());
    EXPECT_TRUE(waits.empty());
    EXPECT_FALSE(fileExists(dir / L"lock.lck"));
    EXPECT_EQ(logger.messages().back(), L"Taking over lock.lck, which no running launcher holds.");
}
