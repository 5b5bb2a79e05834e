// The players window: choosing, adding and deleting players through its
// buttons, with the users file checked after each change.
#include <gtest/gtest.h>

#include "ScreensTestEngine.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CListboxEntity.h"
#include "entities/screens/Dialog.h"
#include "entities/core/EntityServices.h"
#include "graphics/FontFit.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"
#include "platform/RenderStats.h"
#include "profiles/PlayerManager.h"
#include "screens/CPNameScreen.h"
#include "screens/PlayersScreen.h"
#include "support/runtime/DialogMessage.h"
#include "support/engine/DrawnText.h"

using ZOLTFramework::PlayersScreen;

namespace {

using Names = std::vector<std::string>;

class PlayersScreenTest : public ::testing::Test {
protected:
    PlayersScreen* Open() {
        auto* screen = new PlayersScreen("PlayersScreen");
        screen->SetLayer(10.0f);
        engine.Manager().Add(screen);
        engine.Step(25);  // faded in
        return screen;
    }
    static void AddPlayers(const Names& names) {
        for (const std::string& n : names) ASSERT_TRUE(PlayerManager::Instance()->AddPlayer(n));
    }
    static ZOLTFramework::CListboxEntity* List(PlayersScreen* screen) {
        return screen->FindChild<ZOLTFramework::CListboxEntity>("PL");
    }
    static Names Rows(PlayersScreen* screen) {
        Names rows;
        for (int i = 0; i < List(screen)->GetItemCount(); ++i) rows.push_back(List(screen)->GetItem(i)->text);
        return rows;
    }
    bool OnStack(ZOLTFramework::CEntity* screen) {
        const auto& stack = engine.Manager().GetScreenStack();
        return std::find(stack.begin(), stack.end(), screen) != stack.end();
    }

    ScreensTestEngine engine;
};

TEST_F(PlayersScreenTest, ListsThePlayersWithTheActiveOneSelected) {
    AddPlayers({"Ann", "Bob", "Cid"});
    PlayerManager::Instance()->SetActivePlayer("Bob");
    PlayersScreen* screen = Open();
    EXPECT_EQ(Rows(screen), (Names{"Ann", "Bob", "Cid"}));
    EXPECT_EQ(List(screen)->GetSelected(), 1);
    EXPECT_EQ(engine.Top(), screen);
}

TEST_F(PlayersScreenTest, WithoutAnActivePlayerNothingIsSelected) {
    AddPlayers({"Ann"});
    PlayersScreen* screen = Open();
    EXPECT_EQ(List(screen)->GetSelected(), -1);
    // OK without a selection does nothing.
    engine.ClickEntity(screen->FindChild<ButtonExEntity>("OK"));
    EXPECT_TRUE(OnStack(screen));
    EXPECT_EQ(PlayerManager::Instance()->GetActivePlayer(), nullptr);
}

TEST_F(PlayersScreenTest, NewPlayerIsAddedSelectedAndBecomesActiveOnlyWithOk) {
    AddPlayers({"Ann"});
    PlayersScreen* screen = Open();
    engine.ClickEntity(screen->FindChild<ButtonExEntity>("NP"));
    auto* entry = dynamic_cast<CPNameScreen*>(engine.Top());
    ASSERT_NE(entry, nullptr);
    // The window's buttons sleep while the name entry is open: Enter is the entry's.
    EXPECT_TRUE(screen->FindChild<ButtonExEntity>("OK")->IsPausedInChain());
    engine.Type("Cleo");
    engine.Press(HGEK_ENTER);
    EXPECT_EQ(engine.Top(), screen);
    EXPECT_EQ(Rows(screen), (Names{"Ann", "Cleo"}));
    EXPECT_EQ(List(screen)->GetSelected(), 1);
    EXPECT_EQ(engine.SaveAndReadUsers(), (Names{"Ann", "Cleo"}));

    // Enter presses OK now that the window has the focus again.
    const auto alive = screen->GetLifeToken();
    engine.Press(HGEK_ENTER);
    EXPECT_FALSE(OnStack(screen));
    EXPECT_TRUE(alive.expired());
    EXPECT_EQ(engine.SaveAndReadUsers(), (Names{"Ann", "*Cleo"}));
}

TEST_F(PlayersScreenTest, ChoosingAPlayerMakesItTheOnlyActiveOne) {
    AddPlayers({"Ann", "Bob"});
    PlayerManager::Instance()->SetActivePlayer("Ann");
    PlayersScreen* screen = Open();
    List(screen)->SetSelected(1);
    engine.ClickEntity(screen->FindChild<ButtonExEntity>("OK"));
    EXPECT_EQ(engine.SaveAndReadUsers(), (Names{"Ann", "*Bob"}));
    EXPECT_FALSE(OnStack(screen));
}

TEST_F(PlayersScreenTest, DeletingAsksFirstAndNoKeepsThePlayer) {
    AddPlayers({"Ann", "Bob"});
    PlayerManager::Instance()->SetActivePlayer("Bob");
    PlayersScreen* screen = Open();
    engine.ClickEntity(screen->FindChild<ButtonExEntity>("DL"));
    auto* question = dynamic_cast<Dialog*>(engine.Top());
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->GetName(), "DL");
    EXPECT_TRUE(ShowsMessage(question, "Q_DELETE"));
    engine.Press(HGEK_ESCAPE);
    EXPECT_EQ(engine.Top(), screen);
    EXPECT_EQ(Rows(screen), (Names{"Ann", "Bob"}));
    EXPECT_EQ(engine.SaveAndReadUsers(), (Names{"Ann", "*Bob"}));

    engine.ClickEntity(screen->FindChild<ButtonExEntity>("DL"));
    engine.Press(HGEK_ENTER);
    EXPECT_EQ(Rows(screen), (Names{"Ann"}));
    EXPECT_EQ(List(screen)->GetSelected(), -1);
    EXPECT_EQ(engine.SaveAndReadUsers(), (Names{"Ann"}));
    // Nothing is selected: OK and delete do nothing.
    engine.ClickEntity(screen->FindChild<ButtonExEntity>("DL"));
    EXPECT_EQ(engine.Top(), screen);
    engine.ClickEntity(screen->FindChild<ButtonExEntity>("OK"));
    EXPECT_TRUE(OnStack(screen));
}

TEST_F(PlayersScreenTest, WithEightPlayersTheNewButtonOpensNothing) {
    AddPlayers({"P1", "P2", "P3", "P4", "P5", "P6", "P7", "P8"});
    PlayersScreen* screen = Open();
    engine.ClickEntity(screen->FindChild<ButtonExEntity>("NP"));
    EXPECT_EQ(engine.Top(), screen);
}

TEST_F(PlayersScreenTest, ANameAlreadyListedAddsNothing) {
    AddPlayers({"Ann"});
    PlayersScreen* screen = Open();
    screen->OnQuestion("NP", "Ann");
    EXPECT_EQ(Rows(screen), (Names{"Ann"}));
    EXPECT_EQ(PlayerManager::Instance()->Players.size(), 1u);
    // Only the name entry's answer is acted on.
    screen->OnQuestion("XX", "Zed");
    EXPECT_EQ(Rows(screen), (Names{"Ann"}));
}

TEST_F(PlayersScreenTest, ANameWithMarkupSurvivesTheUsersFile) {
    PlayersScreen* screen = Open();
    screen->OnQuestion("NP", "A&B <\"x\">");
    EXPECT_EQ(Rows(screen), (Names{"A&B <\"x\">"}));
    EXPECT_EQ(engine.SaveAndReadUsers(), (Names{"A&B <\"x\">"}));
}

}  // namespace

TEST_F(PlayersScreenTest, AHandEditedNameIsDrawnOnOneLineInsideItsRow) {
    const std::string huge(3000, 'W');
    AddPlayers({"Anna\nSmith", huge});
    PlayersScreen* screen = Open();
    EXPECT_EQ(Rows(screen), (Names{"Anna\nSmith", huge}));  // the names themselves stay
    RenderStats::SetRecording(true);
    engine.Step(1);
    const auto quads = RenderStats::Recorded();
    RenderStats::SetRecording(false);
    ASSERT_FALSE(quads.empty());
    EXPECT_LT(quads.size(), 300u);
    // The letters of the list: none spills sideways out of it, and none drops
    // below the two rows (a line break would start a third line).
    hgeFont* listFont = ZOLTFramework::Services::ResourceFont(&engine, "Main1");
    ASSERT_NE(listFont, nullptr);
    const hgeRect& list = List(screen)->GetRect();
    const float rowsBottom = list.y1 + 2.0f * (listFont->GetHeight() * 0.5f + 15.0f);
    int letters = 0;
    for (const auto& q : quads) {
        if (q.quad.tex != TextureOf(listFont)) continue;
        ++letters;
        for (const auto& v : q.quad.v) {
            if (v.y < list.y1 - 10.0f || v.y > list.y2) continue;  // the window's caption
            EXPECT_GE(v.x, list.x1 - 1.0f);
            EXPECT_LE(v.x, list.x2 + 1.0f);
            EXPECT_LE(v.y, rowsBottom);
        }
    }
    EXPECT_GT(letters, 10);

    hgeFont* font = FontRegistry::GetFont("Default14");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(FitLine(*font, "Anna\r\nSmith", 1000.0f), "Anna  Smith");
    const std::string cut = FitLine(*font, huge, 200.0f);
    EXPECT_LE(font->GetStringWidth(cut.c_str(), false), 200.0f);
    EXPECT_GT(font->GetStringWidth((cut + "W").c_str(), false), 200.0f);
}
