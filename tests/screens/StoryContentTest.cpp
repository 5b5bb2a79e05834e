// The story screens on the game's own files: the score window's layout and
// button, the medals, and both comic pages played to their end by holding
// the mouse button, with nothing missing in the log.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "StoryTestSupport.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/SpriteExEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/TextEntity.h"
#include "screens/ComicScreen.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/MedalList.h"
#include "support/engine/HtmlLogCapture.h"

TEST(StoryContent, ScoreWindowFromTheGameFilesClosesOnItsButtonAndAwardsAMedal) {
    if (!std::filesystem::exists(LevelCompleteScreen::kScreenFile)) GTEST_SKIP() << "the story art is not there yet";
    StoryEngine engine(0.05f);
    HtmlLogCapture log;
    const auto medals = MedalList::Load(MedalList::kFile, "test");
    ASSERT_EQ(medals.size(), 3u);
    for (uint32_t id = 1; id <= 3; ++id) EXPECT_EQ(medals[id - 1].id, id);

    const uint32_t scores[6] = {1500, 500, 5000, 3000, 7000, 10000};
    for (int medal : {0, 2}) {
        SCOPED_TRACE(medal);
        auto* screen = new LevelCompleteScreen("", scores);
        screen->SetLayer(15.0f);
        screen->SetMedalToAdd(medal);
        std::weak_ptr<void> alive = screen->GetLifeToken();
        for (int i = 0; i < LevelCompleteScreen::kScoreCount; ++i) {
            auto* caption = screen->FindChild<TextEntity>(LevelCompleteScreen::kCaptionIds[i]);
            auto* score = screen->FindChild<TextEntity>(LevelCompleteScreen::kScoreIds[i]);
            ASSERT_NE(caption, nullptr);
            ASSERT_NE(score, nullptr);
            EXPECT_FALSE(caption->GetTextRef().empty());
            EXPECT_FLOAT_EQ(caption->GetX(), -120.0f);
            EXPECT_FLOAT_EQ(score->GetX(), 190.0f);
        }
        engine.Run(3.6f);
        const hgeRect& hit = screen->FindChild<ZOLTFramework::CButtonEntity>("Exit")->GetRect();
        EXPECT_NEAR(hit.x2 - hit.x1, 144.0f, 0.5f);
        EXPECT_NEAR(hit.y2 - hit.y1, 32.0f, 0.5f);
        engine.ClickEntity(screen->FindChild<ZOLTFramework::CButtonEntity>("Exit"));
        if (medal == 0) {
            EXPECT_TRUE(alive.expired() || screen->IsDead());
            continue;
        }
        EXPECT_EQ(engine.Active()->Medals, (std::set<uint32_t>{2}));
        engine.Run(4.3f);
        engine.Press(HGEK_SPACE);
        EXPECT_TRUE(alive.expired());
    }
    EXPECT_EQ(log.CountRows("Warning", ""), 0) << log.Text();
    EXPECT_EQ(log.CountRows("Error", ""), 0) << log.Text();
}

TEST(StoryContent, BothComicPagesPlayToTheirEndWithTheMedalsOnBrannok) {
    if (!std::filesystem::exists("data/Comics/Comic1.xml")) GTEST_SKIP() << "the comic pages are not there yet";
    StoryEngine engine(0.05f);
    HtmlLogCapture log;
    engine.Active()->Medals = {1, 2, 3};
    for (const char* file : {"data/Comics/Comic1.xml", "data/Comics/Comic2.xml"}) {
        SCOPED_TRACE(file);
        auto* page = new ComicScreen(file);
        page->SetLayer(15.0f);
        std::weak_ptr<void> alive = page->GetLifeToken();
        XMLDocument pageFile("comic");
        ASSERT_TRUE(pageFile.Load(file));
        EXPECT_GE(pageFile.GetRoot()->GetIntAttribute("res_group"), 40) << "a scene group, freed with the page";
        bool medalsWorn = false;
        for (auto* child : page->GetChildren())
            if (child->GetName() == ComicScreen::kHeroName && ChildrenOf<SpriteExEntity>(child).size() >= 5u)
                medalsWorn = true;
        EXPECT_TRUE(medalsWorn) << "his body, a head and three medals";
        engine.Step();  // the page stands: the press is one made on it
        engine.KeyDown(HGEK_LBUTTON);
        EXPECT_TRUE(engine.RunUntil([&] { return alive.expired(); }, 30.0f));
        engine.KeyUp(HGEK_LBUTTON);
        engine.Step();
    }
    EXPECT_EQ(log.CountRows("Warning", ""), 0) << log.Text();
    EXPECT_EQ(log.CountRows("Error", ""), 0) << log.Text();
}
