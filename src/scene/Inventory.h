// The bag at the lower left of the play screen: it slides open and shut on a
// tab, keeps up to four items in fixed slots and hands an item to the play
// field when the player clicks it.
//
// Positions are local to the bag's parent (the level's panel): closed at
// (25, 525), open at (160, 525). Slots are relative to the bag and used as a
// stack: the first item goes to (45, 45), then (45, -25), (-15, 45), (-15, -25);
// a taken item's slot is the next one used. A fifth item lies on (45, 45)
// without a slot of its own (Warning row), and taking it frees none.
//
// Closed, the bag sits in the panel's cut-out below what the panel carries;
// from the start of its opening until it is home again it is raised by
// kOpenRaise, in front of the panel's stile and everything on the panel.
//
// A press on the bag while it slides counts as on the open bag: sliding open,
// it takes the item under the pointer; sliding shut, the bag opens again (and
// the item is taken too), so a press on the strap's place just after the
// pointer left the bag is not lost. A press on the closed bag at home does
// nothing but on its tab.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "entities/core/Listeners.h"
#include "entities/widgets/CGUIEntity.h"

class hgeSprite;
class InventoryObject;

namespace ZOLTFramework {
class CButtonEntity;
class PathMoveEffector;
}  // namespace ZOLTFramework

class Inventory : public ZOLTFramework::CGUIEntity, public ZOLTFramework::CButtonListener {
public:
    struct Slot {
        float x, y;
    };
    static constexpr float kClosedX = 25.0f;
    static constexpr float kOpenX = 160.0f;
    static constexpr float kBagY = 525.0f;
    static constexpr float kOpenRaise = 4.0f;

    // The argument is not used.
    explicit Inventory(int unused);
    ~Inventory() override = default;

    // Mouse dispatch, then the shifter check.
    void Update(float dt) override;
    void Render() override;
    void OnMove() override;
    void OnMouseOver(bool entered) override;
    void OnLeftButton(bool down) override;
    void OnButtonPress(const std::string& buttonName) override;
    void OnButtonOver(const std::string& buttonName) override;
    void OnButtonLeave(const std::string& buttonName) override;

    // Puts an item into the next free slot, scaled, and plays "OnInventoryObjectAdded".
    void AddObject(const std::string& resourceName, const std::string& objectName, const std::string& toolName,
                   float scale);
    // Slides open (0.25 s) unless busy; at the open position it is open at once.
    void Open();
    // Slides shut (0.75 s) unless busy or hovered.
    void Close();
    // When both tabs are paused, the closed tab is shown and resumed.
    void CheckShifters();
    // The screen point the next added item will take once the bag is open.
    Slot GetNextSlotPosition() const;
    // The topmost item with an opaque texel under the screen point, or null.
    InventoryObject* HitTestObject(float px, float py) const;
    // Hands the item to the pick-up callback and removes it.
    void PickUp(InventoryObject* object);

    void SetBusy() { busy = true; }
    void ClearBusy() { busy = false; }
    bool IsBusy() const { return busy; }
    bool IsOpened() const { return opened; }
    bool IsHovered() const { return hovered; }
    void AddReturning() { ++returning; }
    const std::vector<InventoryObject*>& GetObjects() const { return objects; }
    ZOLTFramework::CButtonEntity* GetClosedTab() const { return closedTab; }
    ZOLTFramework::CButtonEntity* GetOpenedTab() const { return openedTab; }

    // (sprite name, object name) of a taken item.
    std::function<void(const std::string&, const std::string&)> pickUpCallback;
    // Every press into the open bag, before a pick-up.
    std::function<void()> pressCallback;

private:
    // Between leaving home and getting back there, not yet open (either way).
    bool IsSliding() const { return raised && !opened; }
    // Slides the bag to x; at x already, arrived runs at once.
    void SlideTo(float targetX, float seconds, std::function<void()> arrived);
    // Open, with a step run once the bag is open.
    void SlideOpen(std::function<void()> thenOpen);
    // A press brought the shutting bag back: open, and shut again at once
    // should the pointer then be off it.
    void Reopen();
    // The open tab was left: the closed tab comes back and the bag shuts.
    void LeaveOpenTab();
    void StopSlide();
    // Raises the bag by kOpenRaise (true) or puts it back (false); once each way.
    void Raise(bool up);

    bool opened = false;
    bool raised = false;
    bool shutting = false;  // sliding home
    hgeSprite* bagSprite;
    std::vector<InventoryObject*> objects;
    std::vector<Slot> freeSlots;
    ZOLTFramework::PathMoveEffector* mover = nullptr;
    std::weak_ptr<void> moverToken;
    bool busy = false;
    bool hovered = false;
    int returning = 0;
    ZOLTFramework::CButtonEntity* closedTab = nullptr;
    ZOLTFramework::CButtonEntity* openedTab = nullptr;
};
