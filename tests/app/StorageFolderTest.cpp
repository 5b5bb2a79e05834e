// The application names its storage folder: Orvelworks/Drovalin below the
// per-user data folder, or relative names when it cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/GameApp.h"
#include "support/TempDir.h"

using ZOLTFramework::GameApp;

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
