#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/StorageFolder.h"
#include "support/TempDir.h"

TEST(StorageFolder, CreatedUnderXdgDataHomeAndTestedWithoutTrace) {
    TempDir dir;
    const std::string base = dir / "deep/share";
    ScopedEnv xdg("XDG_DATA_HOME", base.c_str());
    const std::string folder = FindStorageFolder();
    EXPECT_EQ(folder, base + "/Orvelworks/Drovalin/");
    EXPECT_TRUE(FileSystem::DirectoryExists(folder));
    EXPECT_FALSE(FileSystem::FileExists(folder + "writetest.dat"));
    // A second run finds the same folder; a leftover test file is overwritten and removed.
    ASSERT_TRUE(dir.Write("deep/share/Orvelworks/Drovalin/writetest.dat", "old"));
    EXPECT_EQ(FindStorageFolder(), folder);
    EXPECT_FALSE(FileSystem::FileExists(folder + "writetest.dat"));
}

TEST(StorageFolder, DefaultsToLocalShareUnderHome) {
    TempDir dir;
    ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    ScopedEnv home("HOME", dir.Path().c_str());
    EXPECT_EQ(DataHomeFolder(), dir.Path() + ".local/share/");
    EXPECT_EQ(FindStorageFolder(), dir.Path() + ".local/share/Orvelworks/Drovalin/");
    ScopedEnv relative("XDG_DATA_HOME", "relative/path");
    EXPECT_EQ(DataHomeFolder(), dir.Path() + ".local/share/") << "a relative XDG_DATA_HOME is ignored";
}

TEST(StorageFolder, NothingWritableGivesEmpty) {
    TempDir dir;
    ASSERT_TRUE(dir.Write("file", "a file where a folder should be"));
    const std::string base = dir / "file/share";
    ScopedEnv xdg("XDG_DATA_HOME", base.c_str());
    ScopedEnv headless("DROVALIN_HEADLESS", "1");
    testing::internal::CaptureStderr();
    EXPECT_EQ(FindStorageFolder(), "");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Unable to find suitable folder to save data"), std::string::npos);
    EXPECT_NE(err.find("Storage path error"), std::string::npos);
    EXPECT_FALSE(TestWritable(dir / "missing/"));
    EXPECT_TRUE(TestWritable(dir.Path()));
}
