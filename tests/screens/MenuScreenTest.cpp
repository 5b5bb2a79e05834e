// The main menu: the name entry on a first start, play (continue question,
// mode question, new-game reset, hand-overs), the other buttons and keys.
#include <gtest/gtest.h>

#include "ScreensTestEngine.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CListboxEntity.h"
#include "entities/screens/Dialog.h"
#include "entities/widgets/TextEntity.h"
#include "profiles/PlayerManager.h"
#include "screens/CMenuBGScreen.h"
#include "screens/CMenuScreen.h"
#include "entities/screens/ScreenFactory.h"
#include "screens/CPNameScreen.h"
#include "screens/CreditsScreen.h"
#include "screens/NewGame.h"
#include "screens/OptionsScreen.h"
#include "screens/PlayersScreen.h"
#include "screens/WelcomeText.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/engine/RecordedQuads.h"
#include "support/runtime/DialogMessage.h"

using ZOLTFramework::CEntity;
using ZOLTFramework::CMenuScreen;
using ZOLTFramework::CScreenEntity;
using ZOLTFramework::ScreenFactory;

namespace {

using Names = std::vector<std::string>;

class MenuScreenTest : public ::testing::Test {
protected:
    void TearDown() override {
        ScreenFactory::Register(ScreenFactory::kGlobalMap, nullptr);
        ScreenFactory::Register(ScreenFactory::kIntro, nullptr);
    }
    CMenuScreen* Open(int frames = 15) {
        auto* menu = engine.Manager().OpenScreen<CMenuScreen>("MenuScreen");
        engine.Step(frames);
        return menu;
    }
    static Player* AddActive(const std::string& name) {
        PlayerManager* players = PlayerManager::Instance();
        players->AddPlayer(name);
        players->SetActivePlayer(name);
        return players->GetActivePlayer();
    }
    Dialog* TopDialog() { return dynamic_cast<Dialog*>(engine.Top()); }
    // Whether the button draws that look (the up one: neither hovered nor pressed).
    bool ShowsLook(ButtonExEntity* button, const char* sprite) {
        const auto drawn = DrawnBy(engine.Hge(), button);
        return drawn.size() == 1 && Shows(drawn[0], engine.GetResourceManager()->GetSprite(sprite));
    }

    ScreensTestEngine engine{0.05f};
    HtmlLogCapture log;
};

TEST_F(MenuScreenTest, FirstStartAsksForANameOnceTheBackgroundIsOpaque) {
    CMenuScreen* menu = Open(3);
    EXPECT_EQ(engine.Top(), menu);
    EXPECT_TRUE(ZOLTFramework::g_bConfirmExit);
    engine.Step(15);
    auto* entry = dynamic_cast<CPNameScreen*>(engine.Top());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->GetName(), "NP");
    EXPECT_EQ(entry->GetLayer(), 15.0f);
    EXPECT_TRUE(menu->FindChild<ButtonExEntity>("Play")->IsPaused());

    engine.Type("Marlowe");
    engine.Press(HGEK_ENTER);
    engine.Step(2);
    EXPECT_EQ(engine.Top(), menu);
    EXPECT_EQ(engine.SaveAndReadUsers(), Names{"*Marlowe"});
    EXPECT_FALSE(menu->FindChild<ButtonExEntity>("Play")->IsPaused());
}

TEST_F(MenuScreenTest, CancellingTheNameEntryBringsItBackAtOnce) {
    Open(20);
    auto* first = dynamic_cast<CPNameScreen*>(engine.Top());
    ASSERT_NE(first, nullptr);
    engine.Type("Nobody");
    engine.Press(HGEK_ESCAPE);
    engine.Step();
    // A fresh entry, with an empty name, has the focus again.
    auto* second = dynamic_cast<CPNameScreen*>(engine.Top());
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->HasFocus());
    EXPECT_EQ(PlayerManager::Instance()->Players.size(), 0u);
    EXPECT_EQ(engine.exitRequests, 0);  // the Escape was the dialog's
    engine.Type("Ann");
    engine.Press(HGEK_ENTER);
    EXPECT_EQ(engine.SaveAndReadUsers(), Names{"*Ann"}) << "nothing typed before is kept";
}

TEST_F(MenuScreenTest, EightPlayersAndNoneActiveOpenThePlayersList) {
    for (int i = 1; i <= 8; ++i) PlayerManager::Instance()->AddPlayer("P" + std::to_string(i));
    Open(20);
    auto* list = dynamic_cast<ZOLTFramework::PlayersScreen*>(engine.Top());
    ASSERT_NE(list, nullptr);
    list->FindChild<ZOLTFramework::CListboxEntity>("PL")->SetSelected(3);
    engine.Press(HGEK_ENTER);
    engine.Step(2);
    EXPECT_EQ(PlayerManager::Instance()->GetActivePlayer()->Name, "P4");
    EXPECT_EQ(dynamic_cast<CMenuScreen*>(engine.Top())->GetName(), "MenuScreen");
}

TEST_F(MenuScreenTest, PlayWithPlayersButNoneActiveDoesNothing) {
    PlayerManager::Instance()->AddPlayer("Ann");
    CMenuScreen* menu = Open(2);
    menu->OnButtonPress("Play");
    EXPECT_EQ(engine.Top(), menu);
}

TEST_F(MenuScreenTest, PlayForANewcomerAsksThePlayModeAndStopsTheAquarium) {
    Player* ann = AddActive("Ann");
    CMenuScreen* menu = Open();
    ASSERT_NE(menu->GetBackground(), nullptr);
    engine.ClickEntity(menu->FindChild<ButtonExEntity>("Play"));
    Dialog* mode = TopDialog();
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->GetName(), "MODE");
    EXPECT_TRUE(ShowsMessage(mode, "CHOOSE_PLAY_MODE"));
    EXPECT_EQ(mode->GetDepth(), 70000.0f);
    // The aquarium stopped as the continue question was answered.
    EXPECT_TRUE(PlayerManager::Instance()->Timer->IsEmpty());

    ann->CigarCount = 7;
    ann->ScoreItems = 900;
    ann->TempEvidences = {"pipe"};
    engine.Press(HGEK_ESCAPE);  // "no": relaxed
    EXPECT_TRUE(ann->RelaxedMode);
    EXPECT_EQ(ann->Time, 1200.0f);
    EXPECT_EQ(ann->ScoreItems, 0);
    EXPECT_EQ(ann->CigarCount, 7);
    // No intro yet: a Warning row, and the menu stays with a fresh background.
    EXPECT_NE(log.Text().find("intro is not available"), std::string::npos);
    EXPECT_EQ(engine.Top(), menu);
    ASSERT_NE(menu->GetBackground(), nullptr);
    EXPECT_EQ(menu->GetBackground()->GetOpacity(), 1.0f);
    EXPECT_FALSE(PlayerManager::Instance()->Timer->IsEmpty());
}

TEST_F(MenuScreenTest, ANewGameHandsOverToTheIntro) {
    AddActive("Ann");
    CScreenEntity* intro = nullptr;
    ScreenFactory::Register(ScreenFactory::kIntro, [&intro](EntityManager& manager, const std::string& name) {
        return intro = manager.Spawn<CScreenEntity>(name);
    });
    CMenuScreen* menu = Open();
    const auto bgAlive = menu->GetBackground()->GetLifeToken();
    menu->OnButtonPress("Play");
    engine.Step();
    engine.Press(HGEK_ENTER);  // "yes": timed
    ASSERT_NE(intro, nullptr);
    EXPECT_FALSE(PlayerManager::Instance()->GetActivePlayer()->RelaxedMode);
    EXPECT_TRUE(menu->IsClosing());
    EXPECT_TRUE(bgAlive.expired());
    EXPECT_EQ(menu->GetBackground(), nullptr);
    const auto& stack = engine.Manager().GetScreenStack();
    EXPECT_EQ(std::find(stack.begin(), stack.end(), menu), stack.end());
    engine.Step(30);
    EXPECT_EQ(intro->GetOpacity(), 1.0f);
    EXPECT_TRUE(engine.Named("MenuScreen").empty());
}

TEST_F(MenuScreenTest, ASavedGameAsksToContinueAndYesOpensTheMap) {
    Player* ann = AddActive("Ann");
    ann->GameInProgress = true;
    std::string mapFile;
    ScreenFactory::Register(ScreenFactory::kGlobalMap, [&mapFile](EntityManager& manager, const std::string& file) {
        mapFile = file;
        return manager.Spawn<CScreenEntity>("GlobalMap");
    });
    CMenuScreen* menu = Open();
    engine.ClickEntity(menu->FindChild<ButtonExEntity>("Play"));
    Dialog* cont = TopDialog();
    ASSERT_NE(cont, nullptr);
    EXPECT_EQ(cont->GetName(), "CONT");
    EXPECT_TRUE(ShowsMessage(cont, "Q_CONTINUE"));
    engine.Press(HGEK_ENTER);
    EXPECT_EQ(mapFile, "data/GlobalMapScreen.xml");
    EXPECT_TRUE(menu->IsClosing());
    EXPECT_TRUE(ann->GameInProgress);  // continuing keeps the game
}

TEST_F(MenuScreenTest, ContinueWithoutAMapStaysInTheMenu) {
    AddActive("Ann")->GameInProgress = true;
    CMenuScreen* menu = Open();
    menu->OnButtonPress("Play");
    engine.Step();
    engine.Press(HGEK_ENTER);
    EXPECT_NE(log.Text().find("global map is not available"), std::string::npos);
    EXPECT_EQ(engine.Top(), menu);
    EXPECT_NE(menu->GetBackground(), nullptr);
}

TEST_F(MenuScreenTest, ButtonsOpenTheirScreens) {
    AddActive("Ann");
    CMenuScreen* menu = Open();
    engine.ClickEntity(menu->FindChild<ButtonExEntity>("Options"));
    auto* options = dynamic_cast<OptionsScreen*>(engine.Top());
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->GetName(), "data/screens/OptionsScreenMain.xml");
    EXPECT_EQ(options->GetLayer(), 15000.0f);
    EXPECT_EQ(options->GetDepth(), 50000.0f);
    engine.Press(HGEK_ENTER);
    EXPECT_EQ(engine.Top(), menu);

    engine.ClickEntity(menu->FindChild<ButtonExEntity>("Credits"));
    auto* credits = dynamic_cast<CreditsScreen*>(engine.Top());
    ASSERT_NE(credits, nullptr);
    EXPECT_EQ(credits->GetLayer(), 15.0f);
    engine.Press(HGEK_ENTER);
    EXPECT_EQ(engine.Top(), menu);

    engine.ClickEntity(menu->FindChild<ButtonExEntity>("SelectPlayer"));
    auto* players = dynamic_cast<ZOLTFramework::PlayersScreen*>(engine.Top());
    ASSERT_NE(players, nullptr);
    EXPECT_EQ(players->GetLayer(), 10.0f);
}

TEST_F(MenuScreenTest, EscapeAsksToQuitAndPOpensThePlayersOnlyWithTheFocus) {
    AddActive("Ann");
    CMenuScreen* menu = Open();
    engine.Press(HGEK_ESCAPE);
    EXPECT_EQ(engine.exitRequests, 1);
    engine.ClickEntity(menu->FindChild<ButtonExEntity>("Exit"));
    EXPECT_EQ(engine.exitRequests, 2);
    engine.Press(HGEK_P);
    ASSERT_NE(dynamic_cast<ZOLTFramework::PlayersScreen*>(engine.Top()), nullptr);
    engine.Press(HGEK_ESCAPE);
    engine.Press(HGEK_P);
    EXPECT_EQ(engine.exitRequests, 2);
}

TEST_F(MenuScreenTest, HoveringTheSelectButtonRaisesItsCaption) {
    AddActive("Ann");
    CMenuScreen* menu = Open();
    TextEntity* caption = menu->FindChild<ButtonExEntity>("SelectPlayer")->GetCaption();
    ASSERT_NE(caption, nullptr);
    EXPECT_FLOAT_EQ(caption->GetOpacity(), 0.8f);
    const hgeRect& r = menu->FindChild<ButtonExEntity>("SelectPlayer")->GetRect();
    engine.MoveMouse((r.x1 + r.x2) / 2, (r.y1 + r.y2) / 2);
    engine.Step();
    EXPECT_FLOAT_EQ(caption->GetOpacity(), 1.0f);
    engine.MoveMouse(10, 590);
    engine.Step();
    EXPECT_FLOAT_EQ(caption->GetOpacity(), 0.8f);
}

TEST_F(MenuScreenTest, AButtonLosesItsHoverUnderTheScreenItOpened) {
    AddActive("Ann");
    CMenuScreen* menu = Open();
    ButtonExEntity* select = menu->FindChild<ButtonExEntity>("SelectPlayer");
    TextEntity* caption = select->GetCaption();
    engine.ClickEntity(select);
    auto* players = dynamic_cast<ZOLTFramework::PlayersScreen*>(engine.Top());
    ASSERT_NE(players, nullptr);
    engine.MoveMouse(10, 590);
    engine.Step(3);
    EXPECT_TRUE(ShowsLook(select, "ButtonUp"));
    EXPECT_FLOAT_EQ(caption->GetOpacity(), 0.8f);

    // A button whose window is paused under a dialog loses it too.
    ButtonExEntity* remove = players->FindChild<ButtonExEntity>("DL");
    ASSERT_NE(remove, nullptr);
    engine.ClickEntity(remove);
    Dialog* question = TopDialog();
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(ShowsLook(remove, "SmallButtonUp"));
    ButtonExEntity* yes = question->FindChild<ButtonExEntity>("YES");
    const hgeRect& y = yes->GetRect();
    engine.MoveMouse((y.x1 + y.x2) / 2, (y.y1 + y.y2) / 2);
    engine.Step();
    ASSERT_TRUE(ShowsLook(yes, "SmallButtonOver"));
    auto* nested = new Dialog("Q", "data/Screens/DialogYesNo.xml", nullptr);
    nested->SetLayer(20);
    engine.Manager().Add(nested);
    engine.Step();
    EXPECT_TRUE(ShowsLook(yes, "SmallButtonUp"));

    // Back on top, the button under the pointer is hovered again.
    engine.Press(HGEK_ESCAPE);
    engine.Step(15);
    EXPECT_EQ(engine.Top(), question);
    EXPECT_TRUE(ShowsLook(yes, "SmallButtonOver"));
}

TEST(WelcomeTextTest, OnlyTheFirstPlaceholderTakesTheName) {
    EXPECT_EQ(WelcomeText::Format("Welcome, %s!", "Ann"), "Welcome, Ann!");
    EXPECT_EQ(WelcomeText::Format("%s and %s, 100%%", "Ann"), "Ann and %s, 100%");
    EXPECT_EQ(WelcomeText::Format("Hi %d %n %", "Ann"), "Hi %d %n %");
    EXPECT_EQ(WelcomeText::Format("Hello %s", "%s%n"), "Hello %s%n");
    EXPECT_EQ(WelcomeText::Format("No name", "Ann"), "No name");
}

TEST(NewGameTest, ResetKeepsTheCigarsAndTemporaryEvidence) {
    Player p("Ann", "");
    p.Time = 10.0f;
    p.GameInProgress = true;
    p.ScoreItems = p.ScoreSpeed = p.ScoreMiniGames = p.ScoreNode = 5;
    p.PlayFieldPath = "x_playfield.xml";
    p.NodeScores = {{"NodeDocks", 400}};
    p.Evidences = {"a"};
    p.LastEvidences = {"b"};
    p.TempEvidences = {"c"};
    p.TempLastEvidences = {"d"};
    p.Medals = {1, 2};
    p.LastSolvedNode = "NodeDocks";
    p.CigarCount = 3;
    NewGame::ResetPlayer(p, true);
    EXPECT_EQ(p.Time, 1200.0f);
    EXPECT_FALSE(p.GameInProgress);
    EXPECT_EQ(p.ScoreItems + p.ScoreSpeed + p.ScoreMiniGames + p.ScoreNode, 0);
    EXPECT_EQ(p.PlayFieldPath, "");
    EXPECT_EQ(p.NodeScores, (std::map<std::string, int32_t>{{"NodeBrannoksHouse", 0}}));
    EXPECT_TRUE(p.Evidences.empty());
    EXPECT_TRUE(p.LastEvidences.empty());
    EXPECT_TRUE(p.Medals.empty());
    EXPECT_EQ(p.LastSolvedNode, "");
    EXPECT_TRUE(p.RelaxedMode);
    EXPECT_EQ(p.CigarCount, 3);
    EXPECT_EQ(p.TempEvidences, std::set<std::string>{"c"});
    EXPECT_EQ(p.TempLastEvidences, std::set<std::string>{"d"});
    NewGame::ResetPlayer(p, false);
    EXPECT_FALSE(p.RelaxedMode);
}

}  // namespace
