// Comic pages: any bytes as a page, shown to a player who owns the demo's
// medals, run to its end with the left mouse button held down. A page that
// has not ended after every step it may hold has had its time is a hang.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "FuzzGame.h"
#include "screens/ComicScreen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzGameEngine& game = FuzzGame();
    const std::string path = FuzzFile("Page.xml", data, size);
    game.Active()->Medals = {1, 2, 3};

    auto* page = new ComicScreen(path);  // owned by the entity manager
    page->SetOpacity(1.0f);
    page->SetLayer(15.0f);
    std::weak_ptr<void> alive = page->GetLifeToken();
    // Each step waits at most 0.6 s; two frames more for its button.
    const int limit = int((ComicScreen::kMaxSteps + 2) * (0.6f / FuzzGameEngine::kDt + 2.0f));
    // The press is made on the page once it stands: one held from before it
    // opened does not run it.
    game.Frames(1);
    game.Input(InputEvent::Down, HGEK_LBUTTON);
    int frames = 0;
    while (!alive.expired() && !page->IsDead() && frames < limit) {
        game.Frames(1);
        ++frames;
    }
    if (!alive.expired() && !page->IsDead()) std::abort();  // the page never ended
    game.CloseAll();
    return 0;
}
