#include "screens/EndingScreen.h"

#include "engine/HtmlLog.h"
#include "entities/core/EntityManager.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "screens/ComicScreen.h"
#include "screens/FinalScreen.h"

EndingScreen::EndingScreen(std::vector<std::string> closingPages)
    : CScreenEntity(kScreenName), pages(std::move(closingPages)) {}

void EndingScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    if (done || !HasFocus() || GetAbsoluteOpacity() < 1.0f) return;
    EntityManager* manager = Manager();
    if (!manager) return;
    Player* player = PlayerManager::Instance()->GetActivePlayer();
    if (next < pages.size()) {
        if (player) player->EndingPages.assign(pages.begin() + long(next), pages.end());
        HtmlLog::Instance()->Info("The story's end: the comic page " + HtmlLog::Shown(pages[next]));
        auto* page = manager->OpenScreen<ComicScreen>(pages[next++]);
        page->SetOpacity(1.0f);
        page->SetLayer(15.0f);
        return;
    }
    done = true;
    auto* final = manager->OpenScreen<ZOLTFramework::FinalScreen>();
    final->SetOpacity(0.0f);
    final->Open();
    manager->RemoveScreen(this);
    Kill();
}
