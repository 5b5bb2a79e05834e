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
#include "scene/PlayField.h"
#include "screens/CMenuScreen.h"
#include "screens/CPNameScreen.h"
#include "screens/ComicScreen.h"
#include "screens/FinalScreen.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/LevelScreen.h"
#include "screens/OptionsScreen.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"
#include "support/TestInput.h"

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
            if (Top() == level && level->IsPanelIn() && level->GetComicQueue().empty() && level->GetHintQueue().empty())
                return true;
            if (TopAs<ComicScreen>()) Click(400.0f, 300.0f);
            if (!Manager().GetScreenStack().empty() && Top()->GetName() == "HintScreen") Press(HGEK_ENTER);
            return false;
        }, 4000));
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
    LevelScreen* study = nullptr;
    ASSERT_TRUE(RunUntil([&] { return (study = Find<LevelScreen>()) != nullptr; }, 100));
    EXPECT_EQ(study->GetName(), "data/Scenes/Study.xml");
    EXPECT_EQ(Active()->CurrentNode, "NodeBrannoksHouse");
    EXPECT_FLOAT_EQ(Active()->Time, 1200.0f);
    EXPECT_EQ(Active()->CigarCount, 3);
    ASSERT_TRUE(RunUntil([&] { return TopAs<ComicScreen>() != nullptr; }, 600));
    Settle(study);
    EXPECT_EQ(Active()->TempEvidences.size(), 2u);
    Step(20);
    EXPECT_LT(Active()->Time, 1200.0f);
}

}  // namespace
