#include "scene/Inventory.h"

#include <algorithm>
#include <cmath>

#include "engine/HtmlLog.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/PathMoveEffector.h"
#include "entities/widgets/CButtonEntity.h"
#include "graphics/PixelHitTest.h"
#include "graphics/hgeSprite.h"
#include "scene/InventoryObject.h"
#include "scene/SceneObject.h"

using ZOLTFramework::CButtonEntity;
using ZOLTFramework::PathMoveEffector;
namespace Services = ZOLTFramework::Services;

namespace {
const char* const kClosedShifter = "CLOSED_SHIFTER";
const char* const kOpenedShifter = "OPENED_SHIFTER";
const Inventory::Slot kLastSlot = {45.0f, 45.0f};
}  // namespace

Inventory::Inventory(int) : bagSprite(Services::Sprite(engine, "Inventory")) {
    name = "Inventory";
    freeSlots = {{-15.0f, -25.0f}, {-15.0f, 45.0f}, {45.0f, -25.0f}, kLastSlot};
    if (!bagSprite) HtmlLog::Instance()->Error("Inventory: no sprite \"Inventory\"; the bag is not drawn.");
    x = kClosedX;
    y = kBagY;
    const float w = bagSprite ? bagSprite->GetWidth() : 0.0f;
    const float h = bagSprite ? bagSprite->GetHeight() : 0.0f;
    EntityManager* manager = Manager();
    if (!manager) return;
    closedTab = manager->Spawn<CButtonEntity>(kClosedShifter, this);
    closedTab->AttachTo(this);
    closedTab->SetPosXY(90.0f, 8.0f);
    closedTab->SetDepth(1.0f);
    closedTab->SetSizeCentered(26.0f, std::max(0.0f, h - 125.0f));
    openedTab = manager->Spawn<CButtonEntity>(kOpenedShifter, this);
    openedTab->AttachTo(this);
    openedTab->SetPosXY(20.0f, 0.0f);
    openedTab->SetDepth(1.0f);
    openedTab->SetSizeCentered(std::max(0.0f, w - 42.0f), std::max(0.0f, h - 50.0f));
    openedTab->Pause();  // it takes the mouse only while the bag is open
    OnMove();
}

void Inventory::OnMove() {
    CEntity::OnMove();
    if (!bagSprite) {
        SetRect(GetAbsoluteX(), GetAbsoluteY(), 0.0f, 0.0f);
        return;
    }
    SetRect(GetAbsoluteX() - bagSprite->GetHotSpotX(), GetAbsoluteY() - bagSprite->GetHotSpotY(),
            bagSprite->GetWidth(), bagSprite->GetHeight());
}

void Inventory::Update(float dt) {
    CGUIEntity::Update(dt);
    CheckShifters();
}

void Inventory::CheckShifters() {
    if (!closedTab || !openedTab) return;
    if (closedTab->IsPausedInChain() && openedTab->IsPausedInChain()) {
        closedTab->Show();
        closedTab->Resume();
    }
}

void Inventory::Render() {
    if (bagSprite) {
        bagSprite->SetColor(Services::FadeColor(0xFFFFFFFF, GetAbsoluteOpacity()));
        bagSprite->Render(GetAbsoluteX(), GetAbsoluteY());
    }
    for (InventoryObject* object : objects) object->Render();
}

void Inventory::AddObject(const std::string& resourceName, const std::string& objectName,
                          const std::string& toolName, float scale) {
    EntityManager* manager = Manager();
    if (!manager) return;
    Slot slot = kLastSlot;
    bool hasSlot = !freeSlots.empty();
    if (hasSlot) {
        slot = freeSlots.back();
        freeSlots.pop_back();
    } else {
        HtmlLog::Instance()->Warning("Inventory: no free slot for \"" + HtmlLog::Shown(objectName) +
                                     "\"; it lies on the last slot, and taking it frees none.");
    }
    auto* object = manager->Spawn<InventoryObject>(resourceName, objectName, toolName);
    object->SetHasSlot(hasSlot);
    objects.push_back(object);
    object->AttachTo(this);
    object->SetPosXY(slot.x, slot.y);
    object->SetScaleX(scale);
    object->SetScaleY(scale);
    Services::PlaySound(engine, "OnInventoryObjectAdded");
}

void Inventory::StopSlide() {
    if (mover && !moverToken.expired()) mover->Kill();
    mover = nullptr;
    moverToken.reset();
}

void Inventory::SlideTo(float targetX, float seconds, std::function<void()> arrived) {
    StopSlide();
    const float distance = std::hypot(targetX - x, kBagY - y);
    EntityManager* manager = Manager();
    if (distance == 0.0f || !manager) {
        x = targetX;
        y = kBagY;
        OnMove();
        if (arrived) arrived();
        return;
    }
    mover = manager->Spawn<PathMoveEffector>(0, false, false, 1, distance / seconds, 0.0f, 4);
    moverToken = mover->GetLifeToken();
    mover->AddPoint(x, y);
    mover->AddPoint(targetX, kBagY);
    mover->AttachTo(this);
    if (arrived) {
        std::weak_ptr<void> self = GetLifeToken();
        mover->finishedCallback = [self, arrived] {
            if (!self.expired()) arrived();
        };
    }
}

void Inventory::Raise(bool up) {
    if (up == raised) return;
    raised = up;
    SetDepth(depth + (up ? kOpenRaise : -kOpenRaise));
}

void Inventory::Open() { SlideOpen({}); }

void Inventory::SlideOpen(std::function<void()> thenOpen) {
    if (busy) return;
    Raise(true);
    shutting = false;
    SlideTo(kOpenX, 0.25f, [this, thenOpen] {
        opened = true;
        if (thenOpen) thenOpen();
    });
    if (openedTab) openedTab->Resume();
    Services::PlaySound(engine, "OnInventoryOpen");
}

void Inventory::Reopen() {
    if (closedTab) closedTab->Pause();
    SlideOpen([this] {
        HGE* hge = Services::Hge(engine);
        float mx = 0.0f, my = 0.0f;
        if (hge) hge->Input_GetMousePos(&mx, &my);
        if (!CGUIEntity::HitTest(mx, my)) LeaveOpenTab();
    });
}

void Inventory::Close() {
    if (busy) {
        if (closedTab) closedTab->Pause();
        if (openedTab) openedTab->Resume();
        return;
    }
    if (hovered) return;
    opened = false;
    shutting = true;
    SlideTo(kClosedX, 0.75f, [this] {
        shutting = false;
        Raise(false);
    });
}

void Inventory::OnButtonPress(const std::string& buttonName) {
    if (IsPausedInChain()) return;
    OnLeftButton(true);
    if (buttonName != kClosedShifter) return;
    if (closedTab) closedTab->Pause();
    // A press on the tab of the shutting bag has opened it again already.
    if (!IsSliding()) Open();
}

void Inventory::OnButtonOver(const std::string&) { hovered = true; }

void Inventory::OnButtonLeave(const std::string& buttonName) {
    hovered = false;
    if (buttonName == kOpenedShifter) LeaveOpenTab();
}

void Inventory::LeaveOpenTab() {
    // Off the tab but still over the bag: the bag stays open until the mouse
    // leaves it (OnMouseOver).
    HGE* hge = Services::Hge(engine);
    float mx = 0.0f, my = 0.0f;
    if (hge) hge->Input_GetMousePos(&mx, &my);
    hovered = CGUIEntity::HitTest(mx, my);
    if (closedTab) closedTab->Resume();
    if (openedTab) openedTab->Pause();
    Close();
}

void Inventory::OnMouseOver(bool entered) {
    hovered = entered;
    if (!entered && opened && openedTab && openedTab->IsPaused()) Close();
}

void Inventory::OnLeftButton(bool down) {
    if (!down || !(opened || IsSliding())) return;
    if (shutting) Reopen();
    HGE* hge = Services::Hge(engine);
    float mx = 0.0f, my = 0.0f;
    if (hge) hge->Input_GetMousePos(&mx, &my);
    if (pressCallback) pressCallback();
    if (InventoryObject* object = HitTestObject(mx, my)) PickUp(object);
}

Inventory::Slot Inventory::GetNextSlotPosition() const {
    const Slot slot = freeSlots.empty() ? kLastSlot : freeSlots.back();
    const float px = parent ? parent->GetAbsoluteX() : 0.0f;
    const float py = parent ? parent->GetAbsoluteY() : 0.0f;
    return {px + kClosedX + slot.x + (kOpenX - kClosedX), py + kBagY + slot.y};
}

InventoryObject* Inventory::HitTestObject(float px, float py) const {
    InventoryObject* top = nullptr;
    for (InventoryObject* object : objects) {
        hgeSprite* sprite = object->GetSprite();
        if (!sprite) continue;
        // The item is drawn at its absolute scale times the scene factor.
        const float sx = object->GetAbsoluteScaleX() * SceneObject::kSceneToScreen;
        const float sy = object->GetAbsoluteScaleY() * SceneObject::kSceneToScreen;
        if (sx == 0.0f || sy == 0.0f) continue;
        const float lx = (px - object->GetAbsoluteX()) / sx + sprite->GetHotSpotX();
        const float ly = (py - object->GetAbsoluteY()) / sy + sprite->GetHotSpotY();
        if (lx < 0.0f || ly < 0.0f || lx >= sprite->GetWidth() || ly >= sprite->GetHeight()) continue;
        if (SpriteAlphaAt(sprite, lx, ly) <= 0) continue;
        if (!top || object->GetAbsDepth() > top->GetAbsDepth()) top = object;
    }
    return top;
}

void Inventory::PickUp(InventoryObject* object) {
    const auto it = std::find(objects.begin(), objects.end(), object);
    if (it == objects.end()) return;
    --returning;
    if (object->HasSlot())
        freeSlots.push_back({object->GetX(), object->GetY()});
    else
        HtmlLog::Instance()->Warning("Inventory: \"" + HtmlLog::Shown(object->GetObjectName()) +
                                     "\" lay without a slot; taking it frees none.");
    objects.erase(it);
    if (pickUpCallback) pickUpCallback(object->GetResourceName(), object->GetObjectName());
    object->Kill();
}
