// The score window: rows appear and count up on their own timer, a key shows
// everything, "Exit" closes or awards a medal the player lacks, after which a
// key closes the window once the medal has landed.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "StoryTestSupport.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/effects/PSGeneratorEntity.h"
#include "entities/effects/ParticleSystemEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/TextEntity.h"
#include "screens/LevelCompleteScreen.h"

using ZOLTFramework::CButtonEntity;
using ZOLTFramework::CSpriteEntity;

namespace {

const char* const kRowsFile = R"(<screen>
  <caption_items x="-120" font="Default14" text="Items"/>
  <score_items x="190" font="Score" alignment="1"/>
  <caption_speed x="-120" font="Default14" text="Speed"/>
  <score_speed x="190" font="Score" alignment="1"/>
  <caption_minigame x="-120" font="Default14" text="Games"/>
  <score_minigame x="190" font="Score" alignment="1"/>
  <caption_time x="-120" font="Default14" text="Time"/>
  <score_time x="190" font="Score" alignment="1"/>
  <decoration x="0" font="Default14" text="not a row"/>
  <caption_level x="-120" font="Default14" text="Level"/>
  <score_level x="190" font="Score" alignment="1"/>
  <caption_gametotal x="-120" font="Default14" text="Total"/>
  <score_gametotal x="190" font="Score" alignment="1"/>
  <score_item x="190" font="Score"/>
</screen>)";

const char* const kMedalsFile = R"(<medals>
  <medal id="1" sprite="SmallStarParticle" x="170" y="350" z="3"/>
  <medal id="2" sprite="CigarAppearingParticle" x="200" y="350" z="3"/>
  <medal id="3" sprite="BBuble" x="230" y="350" z="3"/>
</medals>)";

struct Window {
    LevelCompleteScreen* screen;
    std::weak_ptr<void> alive;
    CButtonEntity* exit;  // the child "Exit"
};

Window Open(StoryEngine& engine, std::vector<uint32_t> scores, int medal = 0) {
    auto* screen = new LevelCompleteScreen("", scores.data(), engine.Write("LevelComplete.xml", kRowsFile),
                                           engine.Write("Medals.xml", kMedalsFile));
    screen->SetLayer(15.0f);
    screen->SetMedalToAdd(medal);
    return {screen, screen->GetLifeToken(), screen->FindChild<CButtonEntity>("Exit")};
}

bool Gone(StoryEngine& engine, const Window& w) { return w.alive.expired() && !engine.OnStack(w.screen); }

// The rows the window shows, by their widgets' ids, in score order.
struct Row {
    TextEntity* caption;
    TextEntity* score;
};
std::vector<Row> Rows(const Window& w) {
    std::vector<Row> rows;
    for (int i = 0; i < LevelCompleteScreen::kScoreCount; ++i)
        if (auto* score = w.screen->FindChild<TextEntity>(LevelCompleteScreen::kScoreIds[i]))
            rows.push_back({w.screen->FindChild<TextEntity>(LevelCompleteScreen::kCaptionIds[i]), score});
    return rows;
}

}  // namespace

TEST(LevelCompleteScreen, RowsAppearInTurnAndCountUpToTheirScores) {
    StoryEngine engine(0.005f);
    ASSERT_TRUE(engine.HasSound());
    Window w = Open(engine, {1234, 56, 5000, 700, 6990, 9000});
    LevelCompleteScreen* screen = w.screen;
    EXPECT_EQ(engine.Top(), screen);
    const auto rows = Rows(w);
    ASSERT_EQ(rows.size(), 6u);
    for (size_t i = 0; i < rows.size(); ++i) {
        ASSERT_NE(rows[i].caption, nullptr);
        EXPECT_FLOAT_EQ(rows[i].score->GetY(), -150.0f + 30.0f * float(i));
        EXPECT_FLOAT_EQ(rows[i].caption->GetY(), rows[i].score->GetY());
        EXPECT_FLOAT_EQ(rows[i].score->GetX(), 190.0f) << "x comes from the file";
        EXPECT_TRUE(rows[i].score->IsHidden());
    }
    EXPECT_EQ(rows[3].caption->GetTextRef(), "Time");
    EXPECT_TRUE(w.exit->IsPaused());

    std::vector<std::string> items;
    std::vector<float> shownAt(rows.size(), -1.0f);
    std::vector<int> soundsAt;
    float freeAt = -1.0f, itemsFinalAt = -1.0f;
    bool speedOnlyZero = true;
    float t = 0.0f;
    for (int frame = 0; frame < int(4.6f / engine.dt); ++frame) {
        const int before = engine.Plays("OnScoreCount");
        engine.Step();
        t += engine.dt;
        if (engine.Plays("OnScoreCount") > before) soundsAt.push_back(int(std::lround(t * 10)));
        for (size_t i = 0; i < rows.size(); ++i)
            if (shownAt[i] < 0 && !rows[i].score->IsHidden()) shownAt[i] = t;
        const std::string& text = rows[0].score->GetTextRef();
        if (!text.empty() && (items.empty() || items.back() != text)) items.push_back(text);
        if (itemsFinalAt < 0 && text == "1234") itemsFinalAt = t;
        const std::string& speed = rows[1].score->GetTextRef();
        if (!speed.empty() && speed != "0" && speed != "56") speedOnlyZero = false;
        if (freeAt < 0 && !w.exit->IsPaused()) freeAt = t;
    }

    std::vector<std::string> expected;
    for (int i = 1; i <= 99; ++i) expected.push_back(std::to_string(12 * i));
    expected.push_back("1234");
    EXPECT_EQ(items, expected);
    EXPECT_NEAR(itemsFinalAt, 1.5f, 0.02f) << "the exact number 1.0 s after the row appeared";
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_NEAR(shownAt[i], 0.5f + 0.5f * float(i), 0.02f) << "row " << i;
    EXPECT_TRUE(speedOnlyZero) << "a score under 100 counts 0 until its exact value";
    EXPECT_EQ(soundsAt, (std::vector<int>{5, 10, 15, 20, 25, 30}));
    EXPECT_NEAR(freeAt, 3.5f, 0.02f);
    const std::vector<std::string> finals = {"1234", "56", "5000", "700", "6990", "9000"};
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].score->GetTextRef(), finals[i]);
        EXPECT_FALSE(rows[i].caption->IsHidden());
    }
}

TEST(LevelCompleteScreen, WithoutTimeBonusTheLaterRowsMoveUp) {
    StoryEngine engine(0.01f);
    Window w = Open(engine, {500, 0, 0, 0, 500, 800});
    const auto rows = Rows(w);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[3].caption->GetTextRef(), "Level");
    EXPECT_FLOAT_EQ(rows[3].score->GetY(), -60.0f);
    EXPECT_FLOAT_EQ(rows[4].score->GetY(), -30.0f);
    float levelAt = -1.0f, freeAt = -1.0f;
    EXPECT_TRUE(engine.RunUntil([&] { return !rows[3].score->IsHidden(); }, 3.0f, &levelAt));
    EXPECT_NEAR(levelAt, 2.0f, 0.03f);
    EXPECT_TRUE(engine.RunUntil([&] { return !w.exit->IsPaused(); }, 3.0f, &freeAt));
    EXPECT_NEAR(levelAt + freeAt, 3.0f, 0.03f);
}

TEST(LevelCompleteScreen, AKeyShowsEverythingAndExitClosesWithoutANewMedal) {
    StoryEngine engine(0.01f);
    engine.Active()->Medals.insert(2);
    for (int medal : {0, 2}) {
        SCOPED_TRACE(medal);
        Window w = Open(engine, {1234, 56, 5000, 700, 6990, 9000}, medal);
        const std::vector<std::string> finals = {"1234", "56", "5000", "700", "6990", "9000"};
        const int before = engine.Plays("OnScoreCount");
        engine.Run(1.2f);
        const int counted = engine.Plays("OnScoreCount");
        EXPECT_EQ(counted - before, 2) << "rows at 0.5 s and 1.0 s";
        engine.Press(HGEK_SPACE);
        EXPECT_FALSE(w.exit->IsPaused());
        const auto rows = Rows(w);
        ASSERT_EQ(rows.size(), 6u);
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_FALSE(rows[i].score->IsHidden());
            EXPECT_FALSE(rows[i].caption->IsHidden());
            EXPECT_EQ(rows[i].score->GetTextRef(), finals[i]);
        }
        engine.Run(3.0f);
        EXPECT_EQ(engine.Plays("OnScoreCount"), counted) << "no row counts after the key";
        EXPECT_EQ(rows[5].score->GetTextRef(), "9000");

        if (medal == 0) {
            w.screen->OnButtonPress("Exit");  // what the button's click sends
            engine.Step();
        } else {
            engine.Press(HGEK_ENTER);
        }
        EXPECT_TRUE(Gone(engine, w));
        EXPECT_EQ(engine.Plays("OnRewarding"), 0);
        EXPECT_EQ(engine.Active()->Medals, (std::set<uint32_t>{2}));
    }
}

TEST(LevelCompleteScreen, EnterWhileStillCountingAwardsTheMedalAndAKeyClosesAfterItLands) {
    StoryEngine engine(0.01f);
    engine.Active()->Medals.insert(1);
    Window w = Open(engine, {1234, 56, 5000, 700, 6990, 9000}, 3);
    LevelCompleteScreen* screen = w.screen;
    ASSERT_TRUE(engine.RunUntil([&] { return !w.exit->IsPaused(); }, 4.0f));
    const auto rows = Rows(w);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_NE(rows[5].score->GetTextRef(), "9000") << "the last row is still counting";

    engine.KeyDown(HGEK_ENTER);
    engine.Step();
    engine.KeyUp(HGEK_ENTER);
    EXPECT_EQ(engine.Plays("OnRewarding"), 1);
    EXPECT_TRUE(w.exit->IsPaused());
    const std::vector<std::string> finals = {"1234", "56", "5000", "700", "6990", "9000"};
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].score->GetTextRef(), finals[i]);
    EXPECT_EQ(engine.Active()->Medals, (std::set<uint32_t>{1, 3}));

    engine.Step();
    // The burst beside the last row.
    const auto bursts = ChildrenOf<ParticleSystemEntity>(screen->FindChild<ZOLTFramework::CEntity>("Exit")->GetParent());
    ASSERT_EQ(bursts.size(), 1u);
    EXPECT_FLOAT_EQ(bursts[0]->GetY(), rows[5].score->GetY());
    std::vector<CSpriteEntity*> medals = ChildrenOf<CSpriteEntity>(screen);
    ASSERT_EQ(medals.size(), 2u) << "the new medal and the owned one; medal 2 is not shown";
    CSpriteEntity* owned = medals[0]->GetX() == 170.0f ? medals[0] : medals[1];
    CSpriteEntity* flying = owned == medals[0] ? medals[1] : medals[0];
    EXPECT_FLOAT_EQ(owned->GetY(), 350.0f);
    EXPECT_FLOAT_EQ(owned->GetScaleX(), 0.2f);
    EXPECT_FLOAT_EQ(owned->GetDepth(), 9.0f);
    EXPECT_FLOAT_EQ(flying->GetX(), 700.0f);
    EXPECT_FLOAT_EQ(flying->GetY(), 300.0f);
    EXPECT_GT(flying->GetScaleX(), 0.5f);

    engine.Run(1.5f);
    EXPECT_FLOAT_EQ(flying->GetScaleX(), 1.0f) << "it pops, then rests large";
    EXPECT_FLOAT_EQ(owned->GetOpacity(), 1.0f);
    engine.Run(1.85f);  // 3.37 s after the award
    EXPECT_EQ(engine.Plays("OnSalute"), 0);
    engine.Press(HGEK_SPACE);  // a key now does not close the window
    EXPECT_FALSE(w.alive.expired());
    EXPECT_TRUE(engine.RunUntil([&] { return engine.Plays("OnSalute") > 0; }, 0.3f));
    EXPECT_EQ(ChildrenOf<PSGeneratorEntity>(screen).size(), 1u);
    engine.Run(0.4f);  // about 3.9 s after the award
    engine.Press(HGEK_SPACE);
    EXPECT_FALSE(w.alive.expired()) << "the medal is still flying";
    float landed = 0.0f;
    EXPECT_TRUE(engine.RunUntil([&] { return flying->GetX() == 230.0f; }, 0.3f, &landed));
    EXPECT_GT(landed, 0.1f);
    engine.Step();
    EXPECT_FLOAT_EQ(flying->GetScaleX(), 0.2f);
    engine.Press(HGEK_SPACE);
    EXPECT_TRUE(Gone(engine, w));
}
