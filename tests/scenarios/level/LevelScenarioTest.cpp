// The whole game headless, played like a person: a new player starts a timed
// game, plays the study to its end, leaves the harbour painting half done for
// the menu, quits, comes back to it, finishes it and reaches the final
// screen; then what the game kept on disk.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/GameApp.h"
#include "engine/XMLDocument.h"
#include "entities/core/EntityManager.h"
#include "entities/screens/Dialog.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "platform/FrameDriver.h"
#include "platform/InputEvent.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "screens/CMenuScreen.h"
#include "screens/CPNameScreen.h"
#include "screens/ComicScreen.h"
#include "screens/FinalScreen.h"
#include "screens/GlobalMapScreen.h"
#include "screens/IntroScreen.h"
#include "screens/LevelNode.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/LevelScreen.h"
#include "screens/OptionsScreen.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"
#include "support/TestInput.h"
#include "support/scene/ScenePlayHelpers.h"

using ZOLTFramework::CEntity;
using ZOLTFramework::CMenuScreen;
using ZOLTFramework::GameApp;

namespace {

class LevelScenario : public ::testing::Test {
protected:
    std::string Storage() const { return home / "Orvelworks/Drovalin/"; }
    EntityManager& Manager() { return *app->GetEntityManager(); }
    CEntity* Top() { return Manager().GetTopScreen(); }
    template <class T>
    T* TopAs() {
        return dynamic_cast<T*>(Top());
    }
    template <class T>
    T* Find() {
        for (CEntity* screen : Manager().GetScreenStack())
            if (auto* found = dynamic_cast<T*>(screen)) return found;
        return nullptr;
    }
    Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }
    bool RunUntil(const std::function<bool()>& done, int maxFrames = 2000) {
        for (int i = 0; i < maxFrames; ++i) {
            if (done()) return true;
            if (FrameDriver::RunFrames(1) == 0) return done();
        }
        return done();
    }
    void Step(int frames = 1) { FrameDriver::RunFrames(frames); }
    void Press(int key) {
        TestInput::Key(InputEvent::Press, key);
        Step(2);
    }
    void Click(float x, float y) {
        TestInput::Move(x, y);
        Step();
        Press(HGEK_LBUTTON);
    }
    void ClickCentre(const ZOLTFramework::CGUIEntity* entity) {
        ASSERT_NE(entity, nullptr);
        const hgeRect& r = entity->GetRect();
        Click((r.x1 + r.x2) * 0.5f, (r.y1 + r.y2) * 0.5f);
    }
    // Starts the game and waits for the main menu.
    void Start() {
        app = std::make_unique<GameApp>();
        ASSERT_TRUE(app->Init());
        int frame = 0;
        ASSERT_TRUE(RunUntil([&] {
            if (++frame % 3 == 0) TestInput::Key(InputEvent::Press, HGEK_SPACE);
            return Find<CMenuScreen>() != nullptr;
        }));
    }
    // Clicks comic pages and hint windows away until the level has the focus
    // with its panel in.
    void Settle(LevelScreen* level) {
        ASSERT_TRUE(RunUntil([&] {
            if (Top() == level && level->IsPanelIn() && level->GetComicQueue().empty() &&
                level->GetHintQueue().empty() && !level->IsHintWindowOpen() && level->GetPlayField()->IsPlaying())
                return true;
            if (TopAs<ComicScreen>()) Click(400.0f, 300.0f);
            if (!Manager().GetScreenStack().empty() && Top()->GetName() == "HintScreen") Press(HGEK_ENTER);
            return false;
        }, 4000));
    }
    // Clicks an object of the scene at an opaque pixel nothing covers.
    void ClickObject(LevelScreen* level, const std::string& objectName) {
        SCOPED_TRACE(objectName);
        PlayField* field = level->GetPlayField();
        // A window that opens just then (a tutorial) takes the click: a player
        // closes it and clicks again.
        for (int tries = 0; tries < 3 && field->FindObjectByName(objectName); ++tries) {
            Settle(level);
            SceneObject* object = field->FindObjectByName(objectName);
            ASSERT_NE(object, nullptr);
            const ScreenPoint at = OpaquePointOf(object, field);
            ASSERT_TRUE(at.found);
            Click(at.x, at.y);
        }
        EXPECT_EQ(field->FindObjectByName(objectName), nullptr) << "taken";
        Step(8);
    }
    // The score window: its rows, "Exit", the medal's flight, a key.
    void ScoreWindow(bool medal) {
        LevelCompleteScreen* window = nullptr;
        ASSERT_TRUE(RunUntil([&] { return (window = TopAs<LevelCompleteScreen>()) != nullptr; }, 800));
        Step(80);
        std::weak_ptr<void> alive = window->GetLifeToken();
        ClickCentre(window->GetExitButton());
        if (medal) {
            EXPECT_EQ(Active()->Medals.count(1), 1u);
            Step(100);
        }
        ASSERT_TRUE(RunUntil([&] {
            if (alive.expired()) return true;
            TestInput::Key(InputEvent::Press, HGEK_SPACE);
            return false;
        }, 400));
    }
    LevelScreen* WaitForLevel(const std::string& part) {
        LevelScreen* level = nullptr;
        RunUntil([&] {
            level = Find<LevelScreen>();
            return level && level->GetName().find(part) != std::string::npos && !level->IsClosing();
        }, 600);
        return level;
    }

    // Quits from the main menu with yes to the question.
    void Quit() {
        auto* menu = TopAs<CMenuScreen>();
        ASSERT_NE(menu, nullptr);
        Step(15);
        ClickCentre(menu->FindChild<ButtonExEntity>("Exit"));
        ASSERT_TRUE(app->IsExitDialogOpen());
        TestInput::Key(InputEvent::Press, HGEK_ENTER);
        EXPECT_LT(FrameDriver::RunFrames(20), 20);
        app.reset();
    }

    ScopedEnv headlessEnv{"DROVALIN_HEADLESS", "1"};
    ScopedEnv stepEnv{"DROVALIN_DT", "0.05"};
    TempDir home;
    ScopedEnv dataHome{"XDG_DATA_HOME", home.Path().c_str()};
    std::unique_ptr<GameApp> app;
};

TEST_F(LevelScenario, StudyPaintingResumedAndTheFinalScreen) {
    Start();
    ASSERT_TRUE(RunUntil([&] { return TopAs<CPNameScreen>() != nullptr; }, 200));
    TestInput::Text("Marlowe");
    Step(9);
    Press(HGEK_ENTER);
    auto* menu = TopAs<CMenuScreen>();
    ASSERT_NE(menu, nullptr);

    // Play, timed: the study opens with its comic page.
    Step(15);
    ClickCentre(menu->FindChild<ButtonExEntity>("Play"));
    ASSERT_NE(TopAs<Dialog>(), nullptr);
    Press(HGEK_ENTER);
    // The intro (a key ends it), the map's overview (a key flies down to the
    // start), its tutorial (Enter), then a click on the start node.
    ASSERT_TRUE(RunUntil([&] { return TopAs<ZOLTFramework::IntroScreen>() != nullptr; }, 100));
    Step(30);
    Press(HGEK_SPACE);
    ZOLTFramework::GlobalMapScreen* map = nullptr;
    ASSERT_TRUE(RunUntil([&] { return (map = TopAs<ZOLTFramework::GlobalMapScreen>()) && map->GetAbsoluteOpacity() >= 1.0f; }, 100));
    Press(HGEK_SPACE);
    ASSERT_TRUE(RunUntil([&] { return Top() && Top()->GetName() == "FirstTutorial"; }, 200));
    Step(15);
    Press(HGEK_ENTER);
    ASSERT_TRUE(RunUntil([&] { return Top() == map; }, 100));
    ZOLTFramework::LevelNode* start = map->FindNodeByName("NodeBrannoksHouse");
    ASSERT_NE(start, nullptr);
    Click(start->GetAbsoluteX(), start->GetAbsoluteY());
    LevelScreen* study = nullptr;
    ASSERT_TRUE(RunUntil([&] { return (study = Find<LevelScreen>()) != nullptr; }, 100));
    EXPECT_EQ(study->GetName(), "data/Scenes/Study.xml");
    EXPECT_EQ(Active()->CurrentNode, "NodeBrannoksHouse");
    EXPECT_FLOAT_EQ(Active()->Time, 1200.0f);
    EXPECT_EQ(Active()->CigarCount, 3);
    ASSERT_TRUE(RunUntil([&] { return TopAs<ComicScreen>() != nullptr; }, 600));
    Settle(study);
    EXPECT_EQ(Active()->TempEvidences.size(), 2u);

    // Every object clicked; the key goes into the bag and onto the drawer.
    ClickObject(study, "study_key");
    PlayField* field = study->GetPlayField();
    Inventory* bag = field->GetInventory();
    ASSERT_TRUE(RunUntil([&] { return bag->GetObjects().size() == 1u; }, 200));
    Settle(study);
    bag->Open();
    Step(12);
    InventoryObject* key = bag->GetObjects()[0];
    Click(key->GetAbsoluteX(), key->GetAbsoluteY());
    ASSERT_EQ(field->GetCursor().kind, PlayField::CURSOR_HELD_ITEM);
    ClickObject(study, "desk_drawer");
    for (const char* name : {"watch", "spectacles", "scissors", "quill", "ace_of_spades", "horseshoe", "teacup",
                             "envelope", "glove", "pipe", "chess_knight", "coin_1", "coin_2", "coin_3"})
        ClickObject(study, name);
    EXPECT_GT(Active()->ScoreItems, 0);
    EXPECT_LT(Active()->Time, 1200.0f) << "the clock ran";

    // The score window and the medal; then the painting opens.
    ScoreWindow(true);
    const int32_t scoreAfterStudy = Active()->ScoreNode;
    EXPECT_GT(scoreAfterStudy, 0);
    LevelScreen* painting = WaitForLevel("Portrait");
    ASSERT_NE(painting, nullptr);
    Settle(painting);
    field = painting->GetPlayField();
    ASSERT_EQ(field->GetPairs().size(), 6u);
    ClickObject(painting, "diff_sail_red_upper");
    ClickObject(painting, "diff_window_lit_lower");
    Step(30);
    const int32_t itemsBefore = Active()->ScoreItems;
    EXPECT_GT(itemsBefore, 0);

    // Esc, "EXIT", yes: the painting is saved and the menu opens.
    Settle(painting);
    Press(HGEK_ESCAPE);
    auto* options = TopAs<OptionsScreen>();
    ASSERT_NE(options, nullptr);
    Step(15);
    ClickCentre(options->GetExitButton());
    ASSERT_NE(TopAs<Dialog>(), nullptr);
    Press(HGEK_ENTER);
    ASSERT_TRUE(RunUntil([&] { return TopAs<CMenuScreen>() != nullptr && !Find<LevelScreen>(); }, 200));
    const std::string saved = Active()->PlayFieldPath;
    EXPECT_NE(saved.find("_playfield.xml"), std::string::npos);
    const float timeLeft = Active()->Time;
    Quit();

    // Restart, Play, continue: the painting resumes as it was left.
    Start();
    menu = TopAs<CMenuScreen>();
    ASSERT_NE(menu, nullptr);
    Step(15);
    ClickCentre(menu->FindChild<ButtonExEntity>("Play"));
    ASSERT_NE(TopAs<Dialog>(), nullptr);
    Press(HGEK_ENTER);
    painting = WaitForLevel("_playfield.xml");
    ASSERT_NE(painting, nullptr);
    Settle(painting);
    field = painting->GetPlayField();
    EXPECT_EQ(field->FindObjectByName("diff_sail_red_upper"), nullptr);
    EXPECT_EQ(field->FindObjectByName("diff_sail_blue_lower"), nullptr);
    EXPECT_EQ(field->FindObjectByName("diff_window_dark_upper"), nullptr);
    EXPECT_EQ(field->GetPairs().size(), 6u);
    EXPECT_NEAR(Active()->Time, timeLeft, 5.0f);
    EXPECT_EQ(Active()->ScoreItems, itemsBefore);
    EXPECT_EQ(Active()->CurrentNode, "NodeBrannoksHouse");

    // Finished: its comic, the score window, the final screen, a key, the menu.
    for (const char* name : {"diff_gull_perched_upper", "diff_flag_three_lower", "diff_chimney_plain_upper",
                             "diff_boat_one_lower"})
        ClickObject(painting, name);
    ASSERT_TRUE(RunUntil([&] {
        if (TopAs<ComicScreen>()) Click(400.0f, 300.0f);
        return TopAs<LevelCompleteScreen>() != nullptr;
    }, 2000));
    ScoreWindow(false);
    ASSERT_TRUE(RunUntil([&] { return TopAs<ZOLTFramework::FinalScreen>() != nullptr; }, 400));
    Step(40);
    Press(HGEK_SPACE);
    ASSERT_TRUE(RunUntil([&] { return TopAs<CMenuScreen>() != nullptr; }, 400));
    Quit();

    XMLDocument profile("profile");
    ASSERT_TRUE(profile.Load(Storage() + "data/Map/1.xml"));
    const std::string text = profile.ToText();
    EXPECT_EQ(text.find("play_field"), std::string::npos) << text;
    EXPECT_NE(text.find("<medal"), std::string::npos) << text;
}

}  // namespace
