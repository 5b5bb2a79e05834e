// The platform's part of the storage folder: the per-user data folder under
// HOME when XDG_DATA_HOME does not name one, and a write test that never
// leaves its file behind.
#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/StorageFolder.h"
#include "support/TempDir.h"

TEST(StorageFolder, DefaultsToLocalShareUnderHomeAndTestsWithoutTrace) {
    TempDir dir;
    ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    ScopedEnv home("HOME", dir.Path().c_str());
    EXPECT_EQ(DataHomeFolder(), dir.Path() + ".local/share/");
    ScopedEnv relative("XDG_DATA_HOME", "relative/path");
    EXPECT_EQ(DataHomeFolder(), dir.Path() + ".local/share/") << "a relative XDG_DATA_HOME is ignored";
    ScopedEnv absolute("XDG_DATA_HOME", (dir / "share").c_str());
    EXPECT_EQ(DataHomeFolder(), dir / "share/");

    // A leftover test file is overwritten and removed; a missing folder fails.
    ASSERT_TRUE(dir.Write("writetest.dat", "left over from a crash, longer than five bytes"));
    EXPECT_TRUE(TestWritable(dir.Path()));
    EXPECT_FALSE(FileSystem::FileExists(dir / "writetest.dat"));
    EXPECT_FALSE(TestWritable(dir / "missing/"));
    EXPECT_FALSE(FileSystem::FileExists(dir / "missing/writetest.dat"));
}
