#include "screens/BagScreen.h"

#include <cmath>

#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "graphics/PixelHitTest.h"
#include "graphics/hgeSprite.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"

using ZOLTFramework::CAnimationEffector;
using ZOLTFramework::CSpriteEntity;
namespace Services = ZOLTFramework::Services;

namespace {

Player* Active() { return PlayerManager::Instance()->GetActivePlayer(); }

}  // namespace

BagScreen::BagScreen(const std::string& screenName, const std::string& bagFile) : CScreenEntity(screenName) {
    window = SpawnChild<ZOLTFramework::CWindowEntity>();
    window->SetSizeCentered(0.0f, 0.0f);
    window->SetPosXY(400.0f, 300.0f);
    window->SetDepth(0.0f);
    window->SetSpriteName("BagBG");
    if (!Services::Sprite(engine, "BagBG")) HtmlLog::Instance()->Error("Evidence case: no sprite \"BagBG\".");

    exitButton = window->SpawnChild<ZOLTFramework::CButtonEntity>("Exit", this);
    if (hgeSprite* close = Services::Sprite(engine, "InGameCloseHelp"))
        exitButton->SetSprite("InGameCloseHelp", 0.0f, 0.0f, close->GetWidth(), close->GetHeight() / 3.0f);
    else
        HtmlLog::Instance()->Error("Evidence case: no sprite \"InGameCloseHelp\"; its close button is not drawn.");
    exitButton->SetPosXY(202.0f, -270.0f);
    exitButton->SetDepth(2.0f);
    exitButton->SetSizeCentered(51.0f, 44.0f);
    exitButton->SetHotKey(13);

    Player* player = Active();
    XMLDocument file = XMLDocument::FromFile(bagFile);
    if (!file.IsLoaded()) HtmlLog::Instance()->Error("Evidence case: cannot read \"" + HtmlLog::Shown(bagFile) + "\".");
    for (const auto& element : file.GetRoot()->GetChildren()) {
        if (!player) break;
        const std::string sprite = element->GetStringAttribute("sprite");
        const std::string item = element->GetStringAttribute("name");
        if (!player->Evidences.count(item) && !player->TempEvidences.count(item)) continue;
        auto* picture = window->SpawnChild<CSpriteEntity>();
        picture->SetLayer(16.0f);
        picture->SetName(item);
        picture->AttachSprite(Services::Sprite(engine, sprite));
        if (!picture->GetSprite()) HtmlLog::Instance()->Error("Evidence case: no sprite \"" + HtmlLog::Shown(sprite) + "\".");
        picture->SetPosXY(element->GetFloatAttribute("x"), element->GetFloatAttribute("y"));
        if (element->HasAttribute("scaling_sprite"))
            zoomItems.push_back(ZoomItem{picture, element->GetStringAttribute("scaling_sprite")});
        if (player->LastEvidences.count(item) || player->TempLastEvidences.count(item)) {
            auto* pulse = picture->SpawnChild<CAnimationEffector>();
            pulse->SetName("Pulse");
            pulse->mode = CAnimationEffector::MODE_LOOP;
            const float keys[][2] = {{0.0f, 1.0f}, {0.3f, 0.6f}, {0.6f, 0.8f}, {0.9f, 0.6f}, {1.2f, 1.0f}};
            for (const auto& key : keys) pulse->AddKey(CAnimationEffector::TRACK_SCALE, key[0], key[1]);
            pulse->Prepare();
            pulses.push_back(pulse);
        }
    }
    window->OnMove();
    SetOpacity(0.0f);
    Open();
}

void BagScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    HGE* hge = Services::Hge(engine);
    // A closed case no longer looks at clicks.
    if (!hge || IsClosing() || !hge->Input_KeyDown(HGEK_LBUTTON) || !acceptsClicks) return;
    if (!pulses.empty()) {
        for (CAnimationEffector* pulse : pulses) {
            ZOLTFramework::CEntity* picture = pulse->GetParent();
            pulse->Detach();
            pulse->Kill();
            if (picture) {
                picture->SetScaleX(1.0f);
                picture->SetScaleY(1.0f);
                picture->OnScale();
            }
        }
        pulses.clear();
    }
    if (zoom) {
        zoom->Kill();
        zoom = nullptr;
    } else {
        SearchZoom();
    }
}

void BagScreen::SearchZoom() {
    HGE* hge = Services::Hge(engine);
    float mx = 0.0f, my = 0.0f;
    hge->Input_GetMousePos(&mx, &my);
    for (const ZoomItem& item : zoomItems) {
        hgeSprite* sprite = item.picture->GetSprite();
        if (!sprite) continue;
        const float x1 = item.picture->GetAbsoluteX() - sprite->GetHotSpotX();
        const float y1 = item.picture->GetAbsoluteY() - sprite->GetHotSpotY();
        const float x2 = x1 + sprite->GetWidth(), y2 = y1 + sprite->GetHeight();
        if (!(x1 < mx && mx < x2 && y1 < my && my < y2)) continue;
        if (SpriteAlphaAt(sprite, std::trunc(mx - x1), std::trunc(my - y1)) <= 0) continue;
        auto* picture = window->SpawnChild<CSpriteEntity>();
        picture->SetName("Zoom");
        picture->AttachSprite(Services::Sprite(engine, item.zoomSprite));
        if (!picture->GetSprite()) HtmlLog::Instance()->Error("Evidence case: no sprite \"" + HtmlLog::Shown(item.zoomSprite) + "\".");
        picture->SetLayer(18.0f);
        picture->SetPosXY(0.0f, 0.0f);
        picture->OnMove();
        zoom = picture;
        acceptsClicks = false;
        {
            auto* opening = picture->SpawnChild<CAnimationEffector>();
            opening->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, 0.1f);
            opening->AddKey(CAnimationEffector::TRACK_SCALE, 0.0f, 0.0f);
            opening->AddKey(CAnimationEffector::TRACK_OPACITY, 1.0f, 1.0f);
            opening->AddKey(CAnimationEffector::TRACK_SCALE, 1.0f, 1.0f);
            opening->Prepare();
        }
        PlayerManager::Instance()->Timer->Add(kClickLock, [this] { SetAcceptsClicks(true); }, this);
        return;
    }
}

void BagScreen::OnButtonPress(const std::string& message) {
    Services::PlaySound(engine, "OnButtonPress");
    if (message != "Exit" || IsClosing()) return;
    if (Player* player = Active()) {
        player->LastEvidences.clear();
        player->TempLastEvidences.clear();
    }
    // The case goes for good: a hidden one would go on looking at clicks.
    CloseAndDestroy();
    if (EntityManager* manager = Manager()) manager->RemoveScreen(this);
}

void BagScreen::OnButtonOver(const std::string&) { Services::PlaySound(engine, "MouseOver"); }

bool BagScreen::TakeItem(const std::string& name) {
    Player* player = Active();
    if (!player || player->Evidences.count(name) || player->TempEvidences.count(name)) return false;
    player->TempLastEvidences.insert(name);
    player->TempEvidences.insert(name);
    return true;
}

void BagScreen::SyncPlayerItems() {
    Player* player = Active();
    if (!player) return;
    player->Evidences.insert(player->TempEvidences.begin(), player->TempEvidences.end());
    player->TempEvidences.clear();
    player->LastEvidences.insert(player->TempLastEvidences.begin(), player->TempLastEvidences.end());
    player->TempLastEvidences.clear();
}
