#include <gtest/gtest.h>

#include <map>

#include "entities/widgets/CButtonEntity.h"
#include "MiniGameTestSupport.h"
#include "minigames/CBrickEntity.h"
#include "minigames/CBricksField.h"
#include "minigames/MemoryScreen.h"
#include "minigames/OpenMiniGame.h"
#include "support/engine/HtmlLogCapture.h"

using ZOLTFramework::CBrickEntity;
using ZOLTFramework::CButtonEntity;

namespace {

std::string BottleGame(MiniGameTestEngine& engine) {
    return engine.File("6.2.xml", R"(<MiniGame res_group="62">
      <unit id=" a" Texture="coin_cool_Study"/>
      <unit id="b" Texture="coin_warm_Study"/>
      <unit id="  " Texture="ace_Study"/>
      <unit id="c" Texture="no_such_label"/>
      <brick x="200" y="300" z="1"/>
      <brick x="300" y="300" z="1"/>
      <brick x="400" y="300" z="1"/>
      <brick x="500" y="300" z="1"/>
      <brick x="600" y="300" z="1"/>
      <other/>
    </MiniGame>)");
}

// Clicks the bricks pair by pair, letting each comparison run out.
void ClearField(MiniGameTestEngine& engine, MemoryScreen* screen) {
    std::map<int, std::vector<CBrickEntity*>> byKind;
    for (CBrickEntity* brick : screen->FindChild<ZOLTFramework::CBricksField>("BricksField")->GetBricks()) byKind[brick->GetKind()].push_back(brick);
    for (auto& entry : byKind) {
        ASSERT_EQ(entry.second.size(), 2u);
        for (CBrickEntity* brick : entry.second) engine.Click(brick->GetAbsoluteX(), brick->GetAbsoluteY());
        engine.Step(30);
    }
}

}  // namespace

// The memory game: two kinds dealt on four places (a blank unit id, an
// undeclared face and a fifth brick are left out); clearing the field wins,
// Ok slides in, and the level hears "MiniGameFinished" after the fade-out.
TEST(MemoryScreen, ClearTheFieldAndFinish) {
    MiniGameTestEngine engine(0.05f);
    MiniGameJournal level;
    HtmlLogCapture log;
    const std::string path = BottleGame(engine);
    auto* screen = dynamic_cast<MemoryScreen*>(OpenMiniGame(path, &level));
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(log.Count("names the undeclared sprite"), 1);
    EXPECT_FLOAT_EQ(screen->GetOpacity(), 0.2f);
    auto* field = screen->FindChild<ZOLTFramework::CBricksField>("BricksField");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->GetLayer(), 2003.0f);
    ASSERT_EQ(field->GetBricks().size(), 4u);
    ASSERT_TRUE(engine.FadeIn(screen));
    engine.Step(20);
    ClearField(engine, screen);
    EXPECT_TRUE(screen->FindChild<CButtonEntity>("Skip")->IsHidden());
    EXPECT_TRUE(screen->IsOkShown());
    engine.Step(30);
    ASSERT_TRUE(engine.ClickOk(screen));
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameFinished=" + path});
    EXPECT_FLOAT_EQ(screen->GetX(), 5000.0f);
}

// After Skip the Ok button comes in the next update and the bricks stay in
// play: a plain Ok reports the skip, a field cleared first reports a finish.
TEST(MemoryScreen, SkipThenOkOrClear) {
    MiniGameTestEngine engine(0.05f);
    MiniGameJournal level;
    const std::string path = BottleGame(engine);
    auto* screen = dynamic_cast<MemoryScreen*>(OpenMiniGame(path, &level));
    ASSERT_TRUE(engine.FadeIn(screen));
    screen->OnButtonPress("Skip");
    EXPECT_TRUE(screen->FindChild<CButtonEntity>("Skip")->IsHidden()) << "skipping";
    EXPECT_FALSE(screen->IsOkShown());
    engine.Step();
    EXPECT_TRUE(screen->IsOkShown()) << "skipped in the next update";
    engine.Step(30);
    ASSERT_TRUE(engine.ClickOk(screen));
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameSkip=" + path});

    MiniGameJournal other;
    auto* again = dynamic_cast<MemoryScreen*>(OpenMiniGame(path, &other));
    ASSERT_TRUE(engine.FadeIn(again));
    engine.Step(20);
    again->OnButtonPress("Skip");
    ClearField(engine, again);
    ASSERT_TRUE(engine.ClickOk(again));
    EXPECT_EQ(other.Results(), std::vector<std::string>{"MiniGameFinished=" + path});
}
