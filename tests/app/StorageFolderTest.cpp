// The storage folder: the per-user data folder with the game's sub-folder when
// it can be written, otherwise a message and names relative to the working
// folder. The write test never leaves its file behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "app/GameApp.h"
#include "platform/FileSystem.h"
#include "support/TempDir.h"

using ZOLTFramework::GameApp;

namespace {

const char* const kMessage = "Storage path error: Unable to find suitable folder to save data";

TEST(StorageFolder, WritableDataHomeGetsTheSubFolderLevelByLevel) {
    TempDir dir;
    ScopedEnv home("XDG_DATA_HOME", (dir / "home/share").c_str());
    ScopedEnv headless("DROVALIN_HEADLESS", "1");

    testing::internal::CaptureStderr();
    const std::string folder = GameApp::ChooseStorageFolder(GameApp::kStorageSubFolder);
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_EQ(folder, dir / "home/share/Orvelworks/Drovalin/");
    EXPECT_TRUE(FileSystem::DirectoryExists(folder));
    EXPECT_FALSE(FileSystem::FileExists(folder + "writetest.dat"));
    EXPECT_EQ(err.find(kMessage), std::string::npos) << err;
}

TEST(StorageFolder, UnwritableSubFolderGivesTheMessageAndRelativeNames) {
    TempDir dir;
    ASSERT_TRUE(dir.Write("share/Orvelworks", "a file where the maker's folder should be"));
    ScopedEnv home("XDG_DATA_HOME", (dir / "share").c_str());
    ScopedEnv headless("DROVALIN_HEADLESS", "1");

    testing::internal::CaptureStderr();
    const std::string folder = GameApp::ChooseStorageFolder(GameApp::kStorageSubFolder);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(folder, "");
    EXPECT_NE(err.find(kMessage), std::string::npos) << err;

    // The application then keeps every file name relative.
    testing::internal::CaptureStderr();
    {
        GameApp app;
        EXPECT_EQ(app.GetStorageFolder(), "");
    }
    EXPECT_NE(testing::internal::GetCapturedStderr().find(kMessage), std::string::npos);
}

TEST(StorageFolder, UnknownDataHomeFallsBackToTheWorkingFolderQuietly) {
    // No data folder at all: the working folder is the candidate, and it is
    // writable here, so there is nothing to tell the player.
    TempDir dir;
    ASSERT_TRUE(dir.Write("blocker", "a file where the data folder should be"));
    ScopedEnv home("XDG_DATA_HOME", (dir / "blocker/share").c_str());
    ScopedEnv headless("DROVALIN_HEADLESS", "1");

    testing::internal::CaptureStderr();
    EXPECT_EQ(GameApp::ChooseStorageFolder(GameApp::kStorageSubFolder), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr().find(kMessage), std::string::npos);
    EXPECT_FALSE(FileSystem::FileExists("writetest.dat"));
}

TEST(StorageFolder, WriteTestOverwritesALeftoverAndRemovesIt) {
    TempDir dir;
    ASSERT_TRUE(dir.Write("writetest.dat", "left over from a crash, longer than five bytes"));
    EXPECT_TRUE(GameApp::TestWritable(dir.Path()));
    EXPECT_FALSE(FileSystem::FileExists(dir / "writetest.dat"));

    EXPECT_FALSE(GameApp::TestWritable(dir / "missing/"));
    EXPECT_FALSE(FileSystem::FileExists(dir / "missing/writetest.dat"));
}

TEST(StorageFolder, CreateFolderPathMakesEveryLevelAndEndsWithASlash) {
    TempDir dir;
    EXPECT_EQ(GameApp::CreateFolderPath(dir / "a\\b\\c"), dir / "a/b/c/");
    EXPECT_TRUE(FileSystem::DirectoryExists(dir / "a/b/c"));
    // Existing levels are fine.
    EXPECT_EQ(GameApp::CreateFolderPath(dir / "a/b/d/"), dir / "a/b/d/");
    EXPECT_TRUE(FileSystem::DirectoryExists(dir / "a/b/d"));
}

}  // namespace
