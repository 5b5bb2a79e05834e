// The application object started in process on the headless backend: the
// volumes in force, the quit question, the snapshot key, and saving the
// players only when they were loaded.
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <sstream>
#include <string>

#include "AppTestSupport.h"
#include "app/GameApp.h"
#include "engine/AudioManager.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeResourceManager.h"
#include "platform/FileSystem.h"
#include "profiles/PlayerManager.h"
#include "platform/RenderStats.h"
#include "support/ScratchFolder.h"
#include "support/engine/DrawnText.h"

using ZOLTFramework::GameApp;
using ZOLTFramework::g_bConfirmExit;

namespace {

class GameAppTest : public ::testing::Test {
protected:
    // The storage folder the application will choose.
    std::string Storage() const { return m_home / "Orvelworks/Drovalin/"; }
    // Settings already in the storage folder (the shipped ones are then not copied).
    void WriteSettings(const std::string& ini) { ASSERT_TRUE(m_home.Write("Orvelworks/Drovalin/app.ini", ini)); }

    std::unique_ptr<GameApp> Start() {
        auto app = std::make_unique<GameApp>();
        EXPECT_TRUE(app->Init());
        EXPECT_TRUE(FileSystem::FileExists(Storage() + "Log.html")) << "the log is in the storage folder";
        return app;
    }

    HeadlessSetting m_headless;
    TempDir m_home;
    ScopedEnv m_dataHome{"XDG_DATA_HOME", m_home.Path().c_str()};
};

TEST_F(GameAppTest, VolumesAreOneHalfWhenTheSettingsHaveNone) {
    WriteSettings("[SYSTEM]\nWindowed=1\n");
    auto app = Start();
    FrameDriver::RunFrames(1);
    ASSERT_NE(app->GetAudioManager(), nullptr);
    EXPECT_FLOAT_EQ(app->GetAudioManager()->GetMusicVolume(), 0.5f);
    EXPECT_FLOAT_EQ(app->GetAudioManager()->GetSoundVolume(), 0.5f);
}

TEST_F(GameAppTest, VolumesFollowTheSettings) {
    WriteSettings("[SYSTEM]\nWindowed=1\nSoundVolume=0.25\nMusicVolume=0.75\n");
    auto app = Start();
    FrameDriver::RunFrames(1);
    EXPECT_FLOAT_EQ(app->GetAudioManager()->GetMusicVolume(), 0.75f);
    EXPECT_FLOAT_EQ(app->GetAudioManager()->GetSoundVolume(), 0.25f);
    // The music and the event sounds are registered by name.
    EXPECT_NE(app->GetAudioManager()->FindMusic("music2"), nullptr);
    EXPECT_NE(app->GetAudioManager()->FindMusic("OnFinal"), nullptr);
    for (const char* sound : {"OnFinal", "Zmeya"}) app->GetAudioManager()->PlaySound(sound);
    EXPECT_EQ(app->GetAudioManager()->GetSoundPlayCount("OnFinal"), 0) << "music only";
    EXPECT_EQ(app->GetAudioManager()->GetSoundPlayCount("Zmeya"), 1);
}

// The first logo is up before the fonts, music and sounds load: they follow
// its first frame on screen, in their order, and each font picture is decoded
// once for all the fonts made from it.
TEST_F(GameAppTest, StartUpShowsTheFirstLogoThenLoadsFontsMusicVolumesAndSounds) {
    RenderStats::SetRecording(true);
    auto app = Start();
    ZOLTFramework::CEntity* logo = FindEntity(*app->GetEntityManager(), "CustomLogo");
    ASSERT_NE(logo, nullptr);
    EXPECT_FLOAT_EQ(logo->GetLayer(), 1.0f);
    EXPECT_FALSE(g_bConfirmExit);
    EXPECT_TRUE(FileSystem::DirectoryExists(Storage() + "data/Map"));
    EXPECT_TRUE(PlayerManager::Instance()->IsLoaded());
    EXPECT_FALSE(app->IsStartUpFinished());
    EXPECT_EQ(FontRegistry::GetFont("Default"), nullptr);
    EXPECT_EQ(app->GetAudioManager()->FindMusic("music1"), nullptr);
    app->GetAudioManager()->PlaySound("OnButtonPress");
    EXPECT_EQ(app->GetAudioManager()->GetSoundPlayCount("OnButtonPress"), 0);

    RenderStats::ClearRecorded();
    FrameDriver::RunFrames(1);
    EXPECT_GT(RenderStats::LastFrame().quads, 0) << "the logo's frame was drawn";
    RenderStats::SetRecording(false);
    EXPECT_TRUE(app->IsStartUpFinished());
    for (const char* name : {"Default", "Default1", "Comics", "Score", "Default14", "DefaultContourless", "Main", "Main1"})
        EXPECT_NE(FontRegistry::GetFont(name), nullptr) << name;
    EXPECT_NE(app->GetAudioManager()->FindMusic("music3"), nullptr);
    app->GetAudioManager()->PlaySound("Zmeya");
    EXPECT_EQ(app->GetAudioManager()->GetSoundPlayCount("Zmeya"), 1);

    // "main.png": the registry's "Main" and "Main1" and the resource script's
    // "Main"; "default.png": "Default" and "Default1".
    const HTEXTURE main = TextureOf(FontRegistry::GetFont("Main"));
    ASSERT_NE(main, 0u);
    EXPECT_EQ(TextureOf(FontRegistry::GetFont("Main1")), main);
    ASSERT_NE(app->GetResourceManager()->GetFont("Main"), nullptr);
    EXPECT_EQ(TextureOf(app->GetResourceManager()->GetFont("Main")), main);
    EXPECT_EQ(TextureOf(FontRegistry::GetFont("Default1")), TextureOf(FontRegistry::GetFont("Default")));
    EXPECT_NE(TextureOf(FontRegistry::GetFont("Default14")), TextureOf(FontRegistry::GetFont("Default")));

    const std::string html = ReadWholeFile(Storage() + "Log.html");
    const size_t row = html.find("Start-up steps: ") + 16;
    std::istringstream parts(html.substr(row, html.find_first_of("<\n", row) - row));
    std::string steps;
    for (std::string part; std::getline(parts >> std::ws, part, ',');)
        steps += part.substr(0, part.rfind(' ', part.rfind(" ms") - 1)) + ";";  // "first logo 0.1 ms"
    EXPECT_EQ(steps, "engine;text;players;first logo;fonts;music;volumes;sounds;");
    const size_t storage = html.find("Storage path is " + Storage());
    const size_t times = html.find("Start-up steps: engine ");
    EXPECT_NE(storage, std::string::npos);
    EXPECT_NE(times, std::string::npos);
    EXPECT_LT(storage, times);
    FrameDriver::RunFrames(1);
    EXPECT_EQ(ReadWholeFile(Storage() + "Log.html").find("Start-up steps", times + 1), std::string::npos) << "once";
}

TEST_F(GameAppTest, QuitQuestionShowsOnceAndNoStillSavesPlayersAndWindowMode) {
    WriteSettings("[SYSTEM]\nWindowed=0\n");
    auto app = Start();
    EXPECT_FALSE(app->GetHGE()->System_GetState(HGE_WINDOWED));
    // The player switched to a window meanwhile; the main menu asks before quitting.
    app->GetHGE()->System_SetState(HGE_WINDOWED, true);
    g_bConfirmExit = true;

    RequestClose();
    EXPECT_EQ(FrameDriver::RunFrames(1), 1);
    RequestClose();
    EXPECT_EQ(FrameDriver::RunFrames(1), 1);
    EXPECT_EQ(CountOnStack(*app->GetEntityManager(), "Q_EXIT"), 1);
    EXPECT_EQ(CountOnStack(*app->GetEntityManager(), "Q_EXIT"), 1);
    ZOLTFramework::CEntity* dialog = FindEntity(*app->GetEntityManager(), "Q_EXIT");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FLOAT_EQ(dialog->GetLayer(), 102400.0f);
    EXPECT_FALSE(FileSystem::FileExists(Storage() + "data/users.xml"));

    PressKey(HGEK_ESCAPE);  // "no"
    EXPECT_EQ(FrameDriver::RunFrames(3), 3);
    EXPECT_EQ(CountOnStack(*app->GetEntityManager(), "Q_EXIT"), 0);
    EXPECT_EQ(FrameDriver::RunFrames(1), 1) << "no quit";
    EXPECT_TRUE(FileSystem::FileExists(Storage() + "data/users.xml"));
    EXPECT_NE(ReadWholeFile(Storage() + "app.ini").find("Windowed=1"), std::string::npos);

    // The question can be asked again; "yes" ends the loop. (The key also
    // skipped a logo, and a new logo screen lets the window close at once.)
    g_bConfirmExit = true;
    RequestClose();
    FrameDriver::RunFrames(1);
    EXPECT_EQ(CountOnStack(*app->GetEntityManager(), "Q_EXIT"), 1);
    PressKey(HGEK_ENTER);
    EXPECT_LT(FrameDriver::RunFrames(5), 5) << "the game ends";
}

TEST_F(GameAppTest, ASignalSavesThePlayersAndQuitsWithoutAQuestion) {
    WriteSettings("[SYSTEM]\nWindowed=0\n");
    auto app = Start();
    app->GetHGE()->System_SetState(HGE_WINDOWED, true);
    g_bConfirmExit = true;  // the menu is up: a close request would ask
    ASSERT_TRUE(PlayerManager::Instance()->AddPlayer("Anna"));
    EXPECT_EQ(FrameDriver::RunFrames(2), 2);

    std::raise(SIGTERM);
    EXPECT_EQ(FrameDriver::RunFrames(5), 1) << "the game ends";
    EXPECT_EQ(CountOnStack(*app->GetEntityManager(), "Q_EXIT"), 0);
    EXPECT_NE(ReadWholeFile(Storage() + "data/users.xml").find("Name=\"Anna\""), std::string::npos);
    EXPECT_NE(ReadWholeFile(Storage() + "app.ini").find("Windowed=1"), std::string::npos);
    EXPECT_NE(ReadWholeFile(Storage() + "Log.html").find("Signal 15: the players are saved"), std::string::npos);
    PlayerManager::Instance()->RemovePlayer("Anna");
}

TEST_F(GameAppTest, OtherAnswersAreIgnored) {
    auto app = Start();
    g_bConfirmExit = true;
    RequestClose();
    FrameDriver::RunFrames(1);
    app->OnAnswer("CONT", true);
    EXPECT_EQ(CountOnStack(*app->GetEntityManager(), "Q_EXIT"), 1);
    EXPECT_EQ(FrameDriver::RunFrames(1), 1) << "no quit";
}

TEST_F(GameAppTest, OneSnapshotPerPressOfTheGraveKey) {
    auto app = Start();
    const int before = RenderStats::SnapshotsRequested();
    InjectKey(InputEvent::Down, HGEK_GRAVE);
    FrameDriver::RunFrames(10);  // held down
    InjectKey(InputEvent::Up, HGEK_GRAVE);
    FrameDriver::RunFrames(1);
    EXPECT_EQ(RenderStats::SnapshotsRequested(), before + 1);
    PressKey(HGEK_GRAVE);
    FrameDriver::RunFrames(3);
    EXPECT_EQ(RenderStats::SnapshotsRequested(), before + 2);
}

// A start-up that fails before the players are loaded leaves their files alone.
class FailingApp : public GameApp {
public:
    FailingApp() { m_resourcePack = "no-such-pack.zip"; }
};

TEST_F(GameAppTest, FailedStartUpSavesNoPlayers) {
    const std::string users = "<?xml version=\"1.0\"?>\n<Users>\n</Users>\n";
    ASSERT_TRUE(m_home.Write("Orvelworks/Drovalin/data/users.xml", users));
    {
        FailingApp app;
        EXPECT_FALSE(app.Init());
    }
    EXPECT_EQ(ReadWholeFile(Storage() + "data/users.xml"), users);
    EXPECT_EQ(ReadWholeFile(Storage() + "Log.html").find("Saving players to " + Storage()), std::string::npos);
    HtmlLog::Instance()->Open("");
}

}  // namespace
