// The options window: volumes and display mode act at once and reach the ini
// file with "OK" or the exit question; the high-score table's order and form.
#include <gtest/gtest.h>

#include "ScreensTestEngine.h"
#include "engine/AudioManager.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CSliderEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/screens/Dialog.h"
#include "entities/widgets/TextEntity.h"
#include "entities/widgets/TriggerEntity.h"
#include "profiles/PlayerManager.h"
#include "screens/HighScoreTable.h"
#include "screens/OptionsScreen.h"
#include "support/runtime/DialogMessage.h"

namespace {

const float kUnset = -1.0f;

class OptionsScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        audio()->SetSoundVolume(0.5f);
        audio()->SetMusicVolume(0.5f, false);
        engine.Hge()->System_SetStateBool(HGE_WINDOWED, true);
    }
    ZOLTFramework::CAudioManager* audio() { return engine.GetAudioManager(); }
    OptionsScreen* Open(const std::string& file) {
        auto* screen = new OptionsScreen(file, &owner);
        screen->SetLayer(15000.0f);
        screen->SetDepth(50000.0f);
        engine.Manager().Add(screen);
        engine.Step(25);
        return screen;
    }
    float Ini(const char* key) { return engine.Hge()->Ini_GetFloat("SYSTEM", key, kUnset); }
    int IniInt(const char* key) { return engine.Hge()->Ini_GetInt("SYSTEM", key, -1); }
    // Clicks a slider's track at the value's place.
    void ClickSlider(ZOLTFramework::CSliderEntity* slider, float value) {
        const hgeRect& r = slider->GetRect();
        engine.Click(r.x1 + value * (r.x2 - r.x1), (r.y1 + r.y2) * 0.5f);
    }
    bool OnStack(ZOLTFramework::CEntity* screen) {
        const auto& stack = engine.Manager().GetScreenStack();
        return std::find(stack.begin(), stack.end(), screen) != stack.end();
    }

    ScreensTestEngine engine;
    QuestionJournal owner;
};

TEST_F(OptionsScreenTest, SlidersActAtOnceAndOkWritesTheSettings) {
    OptionsScreen* screen = Open(OptionsScreen::kMainMenuFile);
    ClickSlider(screen->FindChild<ZOLTFramework::CSliderEntity>("Music"), 0.75f);
    EXPECT_NEAR(audio()->GetMusicVolume(), 0.75f, 0.01f);
    ClickSlider(screen->FindChild<ZOLTFramework::CSliderEntity>("Sound"), 0.25f);
    EXPECT_NEAR(audio()->GetSoundVolume(), 0.25f, 0.01f);
    EXPECT_EQ(Ini("MusicVolume"), kUnset);  // nothing written yet

    engine.ClickEntity(screen->FindChild<ButtonExEntity>("OK"));
    EXPECT_NEAR(Ini("MusicVolume"), 0.75f, 0.01f);
    EXPECT_NEAR(Ini("SoundVolume"), 0.25f, 0.01f);
    EXPECT_EQ(IniInt("Windowed"), 1);
    EXPECT_EQ(owner.events, std::vector<std::string>{"question:Resume="});
    EXPECT_FALSE(OnStack(screen));
    engine.Step(25);  // fades out and goes
    EXPECT_TRUE(engine.Named(OptionsScreen::kMainMenuFile).empty());
}

TEST_F(OptionsScreenTest, EnterWorksLikeOk) {
    Open(OptionsScreen::kMainMenuFile);
    engine.Press(HGEK_ENTER);
    EXPECT_EQ(owner.events, std::vector<std::string>{"question:Resume="});
    EXPECT_NEAR(Ini("MusicVolume"), 0.5f, 0.001f);
}

TEST_F(OptionsScreenTest, ExitQuestionYesSavesTheValuesReadAtOpening) {
    OptionsScreen* screen = Open(OptionsScreen::kInGameFile);
    ASSERT_NE(screen->FindChild<ButtonExEntity>("EXIT"), nullptr);
    ClickSlider(screen->FindChild<ZOLTFramework::CSliderEntity>("Music"), 0.9f);
    EXPECT_NEAR(audio()->GetMusicVolume(), 0.9f, 0.01f);

    engine.ClickEntity(screen->FindChild<ButtonExEntity>("EXIT"));
    auto* question = dynamic_cast<Dialog*>(engine.Top());
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->GetName(), "EXIT_TO_MENU");
    EXPECT_TRUE(ShowsMessage(question, "Q_QUIT"));
    EXPECT_EQ(question->GetLayer(), 102400.0f);
    EXPECT_TRUE(screen->FindChild<ZOLTFramework::CWindowEntity>("Window")->IsPaused());
    // No: back to the window, nothing written.
    engine.Press(HGEK_ESCAPE);
    EXPECT_EQ(engine.Top(), screen);
    EXPECT_EQ(Ini("MusicVolume"), kUnset);

    engine.ClickEntity(screen->FindChild<ButtonExEntity>("EXIT"));
    const auto alive = screen->GetLifeToken();
    engine.Press(HGEK_ENTER);
    EXPECT_NEAR(Ini("MusicVolume"), 0.5f, 0.001f);
    EXPECT_NEAR(Ini("SoundVolume"), 0.5f, 0.001f);
    EXPECT_EQ(owner.events, std::vector<std::string>{"question:EXIT_TO_MENU="});
    EXPECT_TRUE(alive.expired());  // killed at once, no fade-out
    EXPECT_FALSE(OnStack(screen));
}

TEST_F(OptionsScreenTest, EscapeResumesTheInGameVariant) {
    Open(OptionsScreen::kInGameFile);
    engine.Press(HGEK_ESCAPE);
    EXPECT_EQ(owner.events, std::vector<std::string>{"question:Resume="});
}

TEST_F(OptionsScreenTest, TheCheckBoxSwitchesTheDisplayAtOnceAndOkSavesIt) {
    OptionsScreen* screen = Open(OptionsScreen::kMainMenuFile);
    TriggerEntity* checkBox = screen->FindChild<TriggerEntity>("SCREEN");
    ASSERT_NE(checkBox, nullptr);
    EXPECT_FALSE(checkBox->IsOn());
    engine.ClickEntity(checkBox);
    EXPECT_FALSE(engine.Hge()->System_GetStateBool(HGE_WINDOWED));
    engine.Step();
    EXPECT_TRUE(checkBox->IsOn());
    EXPECT_EQ(IniInt("Windowed"), -1);
    // A change made elsewhere shows at once.
    engine.Hge()->System_SetStateBool(HGE_WINDOWED, true);
    engine.Step();
    EXPECT_FALSE(checkBox->IsOn());
    engine.ClickEntity(checkBox);
    engine.ClickEntity(screen->FindChild<ButtonExEntity>("OK"));
    EXPECT_EQ(IniInt("Windowed"), 0);
}

TEST_F(OptionsScreenTest, TabsSwitchThePanels) {
    OptionsScreen* screen = Open(OptionsScreen::kMainMenuFile);
    ZOLTFramework::CEntity* options = screen->FindChild("OptionsPanel");
    ZOLTFramework::CEntity* highscores = screen->FindChild("HighscorePanel");
    ButtonExEntity* optionsTab = screen->FindChild<ButtonExEntity>("OPTIONS");
    ButtonExEntity* highscoreTab = screen->FindChild<ButtonExEntity>("HIGHSCORES");
    ASSERT_TRUE(options && highscores && optionsTab && highscoreTab);
    EXPECT_FALSE(options->IsHidden());
    EXPECT_TRUE(highscores->IsHidden());
    EXPECT_TRUE(optionsTab->IsPaused());
    engine.ClickEntity(highscoreTab);
    EXPECT_TRUE(options->IsHidden());
    EXPECT_FALSE(highscores->IsHidden());
    EXPECT_TRUE(highscoreTab->IsPaused());
    EXPECT_EQ(highscoreTab->GetDepth(), 3.0f);
    EXPECT_EQ(optionsTab->GetDepth(), 2.0f);
    engine.ClickEntity(optionsTab);
    EXPECT_FALSE(options->IsHidden());
    EXPECT_TRUE(highscores->IsHidden());
}

TEST_F(OptionsScreenTest, TheHighScorePanelListsThePlayersByTotal) {
    PlayerManager* players = PlayerManager::Instance();
    for (const char* n : {"Ann", "Bob", "Cid"}) players->AddPlayer(n);
    players->Players[0]->NodeScores = {{"A", 100}, {"B", 50}};
    players->Players[1]->NodeScores = {{"A", 300}};
    OptionsScreen* screen = Open(OptionsScreen::kMainMenuFile);
    std::vector<std::string> texts;
    for (ZOLTFramework::CEntity* child : screen->FindChild("HighscorePanel")->GetChildren())
        if (auto* text = dynamic_cast<TextEntity*>(child)) texts.push_back(text->GetTextRef());
    EXPECT_EQ(texts, (std::vector<std::string>{"1.Bob", "300", "2.Ann", "150"}));
}

TEST(HighScoreTableTest, OrderFormatAndMissingRecords) {
    Player ann("Ann", ""), bob("Bob", ""), cid("Cid", ""), dan("Dan", ""), eve("Eve", "");
    ann.NodeScores = {{"N1", 500}, {"N2", -100}};
    bob.NodeScores = {{"N1", 400}};
    cid.NodeScores = {{"N1", 400}};
    eve.NodeScores = {{"NodeBrannoksHouse", 0}};
    // Dan has no record and is left out; Eve's zero total is listed.
    const auto rows = HighScoreTable::Build({&ann, &bob, &cid, &dan, &eve});
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].label, "1.Cid");  // equal totals: the later name first
    EXPECT_EQ(rows[1].label, "2.Bob");
    EXPECT_EQ(rows[2].label, "3.Ann");
    EXPECT_EQ(rows[2].total, "400");
    EXPECT_EQ(rows[3].label, "4.Eve");
    EXPECT_EQ(rows[3].total, "0");
}

TEST(HighScoreTableTest, TotalsDoNotOverflow) {
    Player big("Big", "");
    big.NodeScores = {{"A", 2000000000}, {"B", 2000000000}};
    const auto rows = HighScoreTable::Build({&big});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].total, "4000000000");
}

}  // namespace
