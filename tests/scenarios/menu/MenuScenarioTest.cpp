// The whole game from an empty storage folder, headless, driven like a player:
// logos, load screen, main menu, name entry, the players window, options,
// credits and the quit question; then what the game kept on disk.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/GameApp.h"
#include "entities/core/EntityManager.h"
#include "engine/XMLDocument.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CListboxEntity.h"
#include "entities/widgets/CSliderEntity.h"
#include "entities/screens/Dialog.h"
#include "platform/FrameDriver.h"
#include "platform/InputEvent.h"
#include "profiles/PlayerManager.h"
#include "screens/CMenuScreen.h"
#include "screens/CPNameScreen.h"
#include "screens/CreditsScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/PlayersScreen.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"
#include "support/TestInput.h"

using ZOLTFramework::CEntity;
using ZOLTFramework::CMenuScreen;
using ZOLTFramework::GameApp;
using ZOLTFramework::PlayersScreen;

namespace {

class MenuScenario : public ::testing::Test {
protected:
    std::string Storage() const { return home / "Orvelworks/Drovalin/"; }
    EntityManager& Manager() { return *app->GetEntityManager(); }
    CEntity* Top() { return Manager().GetTopScreen(); }
    template <class T>
    T* TopAs() {
        return dynamic_cast<T*>(Top());
    }
    // Runs frames until the condition holds (at most the given number).
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
    void Type(const std::string& text) {
        TestInput::Text(text);
        Step(int(text.size()) + 1);
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

    ScopedEnv headlessEnv{"DROVALIN_HEADLESS", "1"};
    ScopedEnv stepEnv{"DROVALIN_DT", "0.05"};
    TempDir home;
    ScopedEnv dataHome{"XDG_DATA_HOME", home.Path().c_str()};
    std::unique_ptr<GameApp> app;
};

TEST_F(MenuScenario, FromAnEmptyStorageFolderToTheQuitQuestion) {
    app = std::make_unique<GameApp>();
    ASSERT_TRUE(app->Init());

    // Logos and the load screen: a key now and then until the menu is there.
    int frame = 0;
    ASSERT_TRUE(RunUntil([&] {
        if (++frame % 3 == 0) TestInput::Key(InputEvent::Press, HGEK_SPACE);
        for (CEntity* screen : Manager().GetScreenStack())
            if (dynamic_cast<CMenuScreen*>(screen)) return true;
        return false;
    }));
    EXPECT_TRUE(ZOLTFramework::g_bConfirmExit);

    // No player yet: the name entry opens by itself.
    ASSERT_TRUE(RunUntil([&] { return TopAs<CPNameScreen>() != nullptr; }, 200));
    Type("Marlowe");
    Press(HGEK_ENTER);
    auto* menu = TopAs<CMenuScreen>();
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(PlayerManager::Instance()->GetActivePlayer(), nullptr);
    EXPECT_EQ(PlayerManager::Instance()->GetActivePlayer()->Name, "Marlowe");

    // The players window: a second player is added, then deleted.
    Step(5);
    ClickCentre(menu->FindChild<ButtonExEntity>("SelectPlayer"));
    auto* players = TopAs<PlayersScreen>();
    ASSERT_NE(players, nullptr);
    auto* list = players->FindChild<ZOLTFramework::CListboxEntity>("PL");
    ASSERT_NE(list, nullptr);
    Step(15);
    ClickCentre(players->FindChild<ButtonExEntity>("NP"));
    ASSERT_NE(TopAs<CPNameScreen>(), nullptr);
    Type("Spade");
    Press(HGEK_ENTER);
    ASSERT_EQ(Top(), players);
    ASSERT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(PlayerManager::Instance()->Players.size(), 2u);
    ClickCentre(players->FindChild<ButtonExEntity>("DL"));
    ASSERT_NE(TopAs<Dialog>(), nullptr);
    Press(HGEK_ENTER);
    ASSERT_EQ(Top(), players);
    EXPECT_EQ(list->GetItemCount(), 1);
    // Pick Marlowe's row and confirm.
    const hgeRect& rows = list->GetRect();
    Click((rows.x1 + rows.x2) * 0.5f, rows.y1 + list->GetItemHeight() * 0.5f);
    ASSERT_EQ(list->GetSelected(), 0);
    ClickCentre(players->FindChild<ButtonExEntity>("OK"));
    ASSERT_EQ(Top(), menu);

    // Options: the music volume goes up to 0.8 and OK keeps it.
    Step(5);
    ClickCentre(menu->FindChild<ButtonExEntity>("Options"));
    auto* options = TopAs<OptionsScreen>();
    ASSERT_NE(options, nullptr);
    Step(25);
    const hgeRect& track = options->FindChild<ZOLTFramework::CSliderEntity>("Music")->GetRect();
    Click(track.x1 + 0.8f * (track.x2 - track.x1), (track.y1 + track.y2) * 0.5f);
    ClickCentre(options->FindChild<ButtonExEntity>("OK"));
    ASSERT_EQ(Top(), menu);

    // Credits open and close.
    Step(5);
    ClickCentre(menu->FindChild<ButtonExEntity>("Credits"));
    auto* credits = TopAs<CreditsScreen>();
    ASSERT_NE(credits, nullptr);
    Step(25);
    ClickCentre(credits->FindChild<ButtonExEntity>("YES"));
    ASSERT_EQ(Top(), menu);

    // Exit, and "yes" to the quit question ends the run.
    Step(5);
    ClickCentre(menu->FindChild<ButtonExEntity>("Exit"));
    ASSERT_TRUE(app->IsExitDialogOpen());
    TestInput::Key(InputEvent::Press, HGEK_ENTER);
    EXPECT_LT(FrameDriver::RunFrames(20), 20);
    app.reset();

    XMLDocument users("users");
    ASSERT_TRUE(users.Load(Storage() + "data/users.xml"));
    const auto& listed = users.GetRoot()->GetChildren();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0]->GetStringAttribute("Name"), "Marlowe");
    EXPECT_TRUE(listed[0]->GetBoolAttribute("IsActive"));
    const std::string ini = ReadWholeFile(Storage() + "app.ini");
    EXPECT_NE(ini.find("MusicVolume=0.8"), std::string::npos) << ini;
}

}  // namespace
