// The level in a real (virtual) window with the game's art: the panel slid in
// with the pocket watch, a clue row, the cigar and the glass, and the open
// evidence case with one piece in it. Started by CTest through xvfb-run;
// skipped when there is no display.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "entities/widgets/CWindowEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "platform/FrameDriver.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/PlayField.h"
#include "minigames/MiniGameScreen.h"
#include "screens/BagScreen.h"
#include "screens/HelpScreen.h"
#include "screens/LevelScreen.h"
#include "SnapshotPicture.h"
#include "WindowTestEngine.h"
#include "support/TestInput.h"

namespace {

// Two pictures of the study and one clue.
const char* const kScene = R"(<scene res_file="data\Resource\main.res" res_group="10" type="FindAll">
  <unit><sprite>background_Study</sprite><id>1</id></unit>
  <unit><sprite>watch_Study</sprite><id>3</id></unit>
  <object><id>1</id><name>background</name><x>0</x><y>0</y><z>1</z></object>
  <object><id>3</id><name>watch</name><x>300</x><y>300</y><z>20</z></object>
  <task name="Watch" type="And" text_singular="STUDY_WATCH" text_plural="STUDY_WATCH_P"><object name="watch"/></task>
</scene>)";

class LevelWindowEngine : public WindowTestEngine {
public:
    explicit LevelWindowEngine(const TempDir& dir) : WindowTestEngine(dir) {
        UseResources();
        UseEnglishText();
        const char* const fonts[][2] = {{"Default", "default"}, {"Default14", "default14"}, {"Score", "Score"},
                                        {"Comics", "comics"}};
        for (const auto& font : fonts) FontRegistry::Instance().LoadFont(font[0], std::string("data\\Font\\") + font[1] + ".fnt");
        PlayerManager* players = PlayerManager::Instance();
        players->SetSavePath(dir.Path());
        players->AddPlayer("Marlowe");
        players->SetActivePlayer("Marlowe");
        Player* player = players->GetActivePlayer();
        player->Time = 754.0f;
        player->CigarCount = 2;
    }
    ~LevelWindowEngine() override {
        PlayerManager* players = PlayerManager::Instance();
        players->RemovePlayer("Marlowe");
        players->Timer->Clear();
    }
    // The study scene's level, opened as the game flow opens one.
    LevelScreen* OpenLevel(const TempDir& dir) {
        const std::string scene = dir / "scene.xml";
        std::ofstream(scene) << kScene;
        auto* level = Manager().OpenScreen<LevelScreen>(scene, LevelScreen::kReturnScreen);
        level->SetLayer(2.0f);
        level->SetOpacity(0.0f);
        level->Open();
        return level;
    }
};

template <class Test>
int Around(const Picture& pic, int x, int y, int half, Test test) {
    return pic.Count(x - half, y - half, x + half, y + half, test);
}

bool Brass(int r, int g, int b) { return r > 130 && g > 90 && r > b + 50; }
bool Dark(int r, int g, int b) { return r + g + b < 240; }
bool Green(int r, int g, int b) { return g > r + 10 && g > b; }

}  // namespace

TEST(LevelSnapshot, PanelWithWatchClueCigarAndGlass) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    LevelWindowEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    LevelScreen* level = engine.OpenLevel(folder.dir);
    engine.RunFor(1.5f);
    ASSERT_TRUE(level->IsPanelIn());
    const Picture shot = engine.Snapshot(folder.dir, "level_panel.png");

    // The pocket watch at (65, 50): a brass case; the time beside it.
    EXPECT_GT(Around(shot, 65, 50, 30, Brass), 300);
    // The clue row from (20, 120): dark ink on the parchment.
    EXPECT_GT(shot.Count(20, 114, 110, 132, Dark), 25);
    // The cigar at (50, 360) and the glass's lens at (58, 560).
    EXPECT_GT(Around(shot, 50, 360, 25, [](int r, int g, int b) { return r > 90 && r > b + 30 && g < 170; }), 150);
    EXPECT_GT(Around(shot, 52, 555, 30, Brass), 100);
}

TEST(LevelSnapshot, OpenEvidenceCaseWithOnePiece) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    LevelWindowEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    PlayerManager::Instance()->GetActivePlayer()->Evidences = {"TornTicket"};
    auto* bag = engine.Manager().OpenScreen<BagScreen>("");
    bag->SetLayer(15.0f);
    engine.RunFor(1.0f);
    const Picture shot = engine.Snapshot(folder.dir, "evidence_case.png");
    // Green felt inside the case, the ticket in its place at (300, 160), and an
    // empty place at (500, 160).
    EXPECT_GT(Around(shot, 400, 470, 30, Green), 1500);
    const int ticket = Around(shot, 300, 160, 40, [](int r, int g, int b) { return !Green(r, g, b); });
    const int empty = Around(shot, 500, 160, 40, [](int r, int g, int b) { return !Green(r, g, b); });
    EXPECT_GT(ticket, empty + 1500);
}

// The letter asked for by the level: it covers the level with its help window
// on top; Enter leaves the letter alone over the level, whose panel has gone.
TEST(LevelSnapshot, LetterOverTheLevelWithItsHelp) {
    if (!HasDisplay()) GTEST_SKIP() << "no X display";
    WindowFolder folder;
    LevelWindowEngine engine(folder.dir);
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();
    if (!std::filesystem::exists("data/MiniGames/15.2.xml")) GTEST_SKIP() << "no letter";
    LevelScreen* level = engine.OpenLevel(folder.dir);
    engine.RunFor(0.8f);
    const Picture plain = engine.Snapshot(folder.dir, "level_before_letter.png");
    level->OnQuestion("MiniGame", "data/MiniGames/15.2.xml");
    for (int i = 0; i < 40 && !dynamic_cast<HelpScreen*>(engine.Manager().GetTopScreen()); ++i) engine.RunFor(0.05f);
    engine.RunFor(0.3f);
    ASSERT_NE(dynamic_cast<HelpScreen*>(engine.Manager().GetTopScreen()), nullptr);
    const Picture help = engine.Snapshot(folder.dir, "level_letter_help.png");
    TestInput::Key(InputEvent::Press, HGEK_ENTER);
    engine.RunFor(0.5f);
    ASSERT_EQ(engine.Manager().GetTopScreen(), static_cast<ZOLTFramework::CEntity*>(level->GetRunningMiniGame()));
    const Picture letter = engine.Snapshot(folder.dir, "level_letter.png");
    // The letter's desk and blotter cover the study and the panel's watch; the
    // help window stood over the letter.
    auto differing = [](const Picture& a, const Picture& b, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; y += 5)
            for (int x = x0; x < x1; x += 5) n += a.At(x, y) != b.At(x, y) ? 1 : 0;
        return n;
    };
    EXPECT_GT(Around(plain, 65, 50, 30, Brass), 300);
    EXPECT_GT(differing(plain, letter, 35, 20, 95, 80), 120) << "the watch is covered";
    EXPECT_GT(differing(plain, letter, 250, 100, 750, 500), 6400) << "the letter's board over the study";
    const int helpShown = differing(help, letter, 300, 200, 500, 400);
    EXPECT_GT(helpShown, 1200) << "the help window over the letter";
}
