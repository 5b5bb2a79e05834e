// The whole game from an empty storage folder, headless, driven like a player:
// logos, load screen, main menu, name entry, the players window, options,
// credits and the quit question; then what the game kept on disk.
#include <gtest/gtest.h>

#include <string>

#include "app/GameApp.h"
#include "engine/XMLDocument.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CListboxEntity.h"
#include "entities/widgets/CSliderEntity.h"
#include "entities/screens/Dialog.h"
#include "profiles/PlayerManager.h"
#include "screens/CMenuScreen.h"
#include "screens/CPNameScreen.h"
#include "screens/CreditsScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/PlayersScreen.h"
#include "support/TestFiles.h"
#include "support/app/GameScenario.h"

using ZOLTFramework::CMenuScreen;
using ZOLTFramework::PlayersScreen;

namespace {

// The player's steps as the game's own time: a frame is 1/300 s.
class MenuScenario : public GameScenario {};

TEST_F(MenuScenario, FromAnEmptyStorageFolderToTheQuitQuestion) {
    // Logos and the load screen: a key now and then until the menu is there.
    Start();
    EXPECT_TRUE(ZOLTFramework::g_bConfirmExit);

    // No player yet: the name entry opens by itself.
    EnterName("Marlowe");
    auto* menu = TopAs<CMenuScreen>();
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(PlayerManager::Instance()->GetActivePlayer(), nullptr);
    EXPECT_EQ(PlayerManager::Instance()->GetActivePlayer()->Name, "Marlowe");

    // The players window: a second player is added, then deleted.
    Wait(0.25f);
    ClickCentre(menu->FindChild<ButtonExEntity>("SelectPlayer"));
    auto* players = TopAs<PlayersScreen>();
    ASSERT_NE(players, nullptr);
    auto* list = players->FindChild<ZOLTFramework::CListboxEntity>("PL");
    ASSERT_NE(list, nullptr);
    Wait(0.75f);
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
    Click((rows.x1 + rows.x2) * 0.5f, rows.y1 + 10.0f);  // inside the first row (at least 15 high)
    ASSERT_EQ(list->GetSelected(), 0);
    ClickCentre(players->FindChild<ButtonExEntity>("OK"));
    ASSERT_EQ(Top(), menu);

    // Options: the music volume goes up to 0.8 and OK keeps it.
    Wait(0.25f);
    ClickCentre(menu->FindChild<ButtonExEntity>("Options"));
    auto* options = TopAs<OptionsScreen>();
    ASSERT_NE(options, nullptr);
    Wait(1.25f);
    const hgeRect& track = options->FindChild<ZOLTFramework::CSliderEntity>("Music")->GetRect();
    Click(track.x1 + 0.8f * (track.x2 - track.x1), (track.y1 + track.y2) * 0.5f);
    ClickCentre(options->FindChild<ButtonExEntity>("OK"));
    ASSERT_EQ(Top(), menu);

    // Credits open and close.
    Wait(0.25f);
    ClickCentre(menu->FindChild<ButtonExEntity>("Credits"));
    auto* credits = TopAs<CreditsScreen>();
    ASSERT_NE(credits, nullptr);
    Wait(1.25f);
    ClickCentre(credits->FindChild<ButtonExEntity>("YES"));
    ASSERT_EQ(Top(), menu);

    // Exit, and "yes" to the quit question ends the run.
    Quit();

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
