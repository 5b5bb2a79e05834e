// The application names its storage folder: Orvelworks/Drovalin below the
// per-user data folder, or relative names when it cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/GameApp.h"
#include "platform/FileSystem.h"
#include "support/TempDir.h"

using ZOLTFramework::GameApp;

namespace {
const char* const kMessage = "Storage path error: Unable to find suitable folder to save data";
}

TEST(StorageFolder, CreatedUnderXdgDataHomeLevelByLevelAndTestedWithoutTrace) {
    TempDir dir;
    const std::string base = dir / "deep/share";
    ScopedEnv xdg("XDG_DATA_HOME", base.c_str());
    testing::internal::CaptureStderr();
    const std::string folder = GameApp::ChooseStorageFolder("Maker/Game/");
    EXPECT_EQ(testing::internal::GetCapturedStderr().find(kMessage), std::string::npos);
    EXPECT_EQ(folder, base + "/Maker/Game/");
    EXPECT_TRUE(FileSystem::DirectoryExists(folder));
    EXPECT_FALSE(FileSystem::FileExists(folder + "writetest.dat"));
    // A second run finds the same folder; a leftover test file is overwritten and removed.
    ASSERT_TRUE(dir.Write("deep/share/Maker/Game/writetest.dat", "left over from a crash, longer than five bytes"));
    EXPECT_EQ(GameApp::ChooseStorageFolder("Maker/Game/"), folder);
    EXPECT_FALSE(FileSystem::FileExists(folder + "writetest.dat"));
    EXPECT_EQ(GameApp::CreateFolderPath(dir / "a\\b/c"), dir / "a\\b/c/");
    EXPECT_TRUE(FileSystem::DirectoryExists(dir / "a/b/c"));
}

TEST(StorageFolder, AnUnwritableGameFolderGivesTheMessageAndAnUnknownDataHomeTheWorkingFolder) {
    TempDir dir;
    ASSERT_TRUE(dir.Write("share/Maker", "a file where the maker's folder should be"));
    ScopedEnv xdg("XDG_DATA_HOME", (dir / "share").c_str());
    ScopedEnv headless("DROVALIN_HEADLESS", "1");
    testing::internal::CaptureStderr();
    EXPECT_EQ(GameApp::ChooseStorageFolder("Maker/Game/"), "");
    EXPECT_NE(testing::internal::GetCapturedStderr().find(kMessage), std::string::npos);
    EXPECT_FALSE(GameApp::TestWritable(dir / "missing/"));

    // No data folder at all: the working folder is the candidate, and it is
    // writable here, so there is nothing to tell the player.
    ASSERT_TRUE(dir.Write("blocker", "a file where the data folder should be"));
    ScopedEnv blocked("XDG_DATA_HOME", (dir / "blocker/share").c_str());
    testing::internal::CaptureStderr();
    EXPECT_EQ(GameApp::ChooseStorageFolder("Maker/Game/"), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr().find(kMessage), std::string::npos);
    EXPECT_FALSE(FileSystem::FileExists("writetest.dat"));
}

TEST(StorageFolder, TheApplicationUsesTheMakersAndTheGamesFolder) {
    TempDir dir;
    ScopedEnv home("XDG_DATA_HOME", (dir / "home/share").c_str());
    ScopedEnv headless("DROVALIN_HEADLESS", "1");
    {
        GameApp app;
        EXPECT_TRUE(std::filesystem::is_directory(dir / "home/share/Orvelworks/Drovalin/"));
    }
    ASSERT_TRUE(dir.Write("blocked/Orvelworks", "a file where the maker's folder should be"));
    ScopedEnv blocked("XDG_DATA_HOME", (dir / "blocked").c_str());
    testing::internal::CaptureStderr();
    {
        GameApp app;
    }
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Unable to find suitable folder to save data"),
              std::string::npos);
}
