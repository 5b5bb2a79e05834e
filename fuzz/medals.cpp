// The medals file through a level-complete award: any bytes as the medals file
// of a score window whose "Exit" awards the last medal the file names (2 when
// it names none) to a player who owns medal 1; the hero, the owned medals and
// the new one's flight run to their end, a key closes the window.
#include <cstddef>
#include <cstdint>

#include "FuzzGame.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/MedalList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzGameEngine& game = FuzzGame();
    const std::string path = FuzzFile("Medals.xml", data, size);
    int award = 2;
    for (const MedalInfo& medal : MedalList::Load(path, "Fuzz"))
        if (medal.id != 0) award = int(medal.id);
    game.Active()->Medals = {1};

    const uint32_t scores[LevelCompleteScreen::kScoreCount] = {1234, 300, 5000, 410, 6534, 20000};
    auto* screen = new LevelCompleteScreen("", scores, LevelCompleteScreen::kScreenFile, path);
    screen->SetLayer(15.0f);
    screen->SetMedalToAdd(award);
    game.Frames(5);
    screen->OnButtonPress("Exit");  // what the button's click sends
    game.Frames(int(4.5f / FuzzGameEngine::kDt));
    game.Input(InputEvent::Down, HGEK_SPACE);
    game.Frames(1);
    game.Input(InputEvent::Up, HGEK_SPACE);
    game.CloseAll();
    return 0;
}
