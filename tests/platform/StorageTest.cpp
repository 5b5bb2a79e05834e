// The storage folder: the per-user data folder with the maker's and the game's
// folders when it can be written, otherwise a message and names relative to
// the working folder. The write test never leaves its file behind.
#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/StorageFolder.h"
#include "support/TempDir.h"

namespace {
const char* const kMessage = "Storage path error: Unable to find suitable folder to save data";
}

TEST(StorageFolder, CreatedUnderXdgDataHomeLevelByLevelAndTestedWithoutTrace) {
    TempDir dir;
    const std::string base = dir / "deep/share";
    ScopedEnv xdg("XDG_DATA_HOME", base.c_str());
    testing::internal::CaptureStderr();
    const std::string folder = FindStorageFolder("Maker", "Game");
    EXPECT_EQ(testing::internal::GetCapturedStderr().find(kMessage), std::string::npos);
    EXPECT_EQ(folder, base + "/Maker/Game/");
    EXPECT_TRUE(FileSystem::DirectoryExists(folder));
    EXPECT_FALSE(FileSystem::FileExists(folder + "writetest.dat"));
    // A second run finds the same folder; a leftover test file is overwritten and removed.
    ASSERT_TRUE(dir.Write("deep/share/Maker/Game/writetest.dat", "left over from a crash, longer than five bytes"));
    EXPECT_EQ(FindStorageFolder("Maker", "Game"), folder);
    EXPECT_FALSE(FileSystem::FileExists(folder + "writetest.dat"));
}

TEST(StorageFolder, DefaultsToLocalShareUnderHome) {
    TempDir dir;
    ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    ScopedEnv home("HOME", dir.Path().c_str());
    EXPECT_EQ(DataHomeFolder(), dir.Path() + ".local/share/");
    EXPECT_EQ(FindStorageFolder("Orvelworks", "Drovalin"), dir.Path() + ".local/share/Orvelworks/Drovalin/");
    ScopedEnv relative("XDG_DATA_HOME", "relative/path");
    EXPECT_EQ(DataHomeFolder(), dir.Path() + ".local/share/") << "a relative XDG_DATA_HOME is ignored";
}

TEST(StorageFolder, AnUnwritableGameFolderGivesTheMessageAndRelativeNames) {
    TempDir dir;
    ASSERT_TRUE(dir.Write("share/Maker", "a file where the maker's folder should be"));
    ScopedEnv xdg("XDG_DATA_HOME", (dir / "share").c_str());
    ScopedEnv headless("DROVALIN_HEADLESS", "1");
    testing::internal::CaptureStderr();
    EXPECT_EQ(FindStorageFolder("Maker", "Game"), "");
    EXPECT_NE(testing::internal::GetCapturedStderr().find(kMessage), std::string::npos);
    EXPECT_FALSE(TestWritable(dir / "missing/"));
    EXPECT_FALSE(FileSystem::FileExists(dir / "missing/writetest.dat"));
}

TEST(StorageFolder, AnUnknownDataHomeFallsBackToTheWorkingFolderQuietly) {
    // No data folder at all: the working folder is the candidate, and it is
    // writable here, so there is nothing to tell the player.
    TempDir dir;
    ASSERT_TRUE(dir.Write("blocker", "a file where the data folder should be"));
    ScopedEnv xdg("XDG_DATA_HOME", (dir / "blocker/share").c_str());
    testing::internal::CaptureStderr();
    EXPECT_EQ(FindStorageFolder("Maker", "Game"), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr().find(kMessage), std::string::npos);
    EXPECT_FALSE(FileSystem::FileExists("writetest.dat"));
}
