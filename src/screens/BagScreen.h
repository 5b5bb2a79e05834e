// The evidence case of a level: the open case, one picture per piece of
// evidence the player holds (from "data/Bag.xml"), a pulse on the pieces that
// are new since the case was last closed, and a large picture of a piece when
// it is clicked (the next click puts it away; clicks wait a second after an
// opening). "Exit" (or Enter) closes the case: it leaves the screen stack and
// is destroyed.
//
// The level opens it through the entity manager (OpenScreen) and sets its
// layer; it fades in. Two class-wide operations move
// evidence between the active player's sets: TakeItem during a level,
// SyncPlayerItems when the level's pieces become the player's for good.
#pragma once

#include <string>
#include <vector>

#include "entities/core/Listeners.h"
#include "entities/screens/CScreenEntity.h"

namespace ZOLTFramework {
class CAnimationEffector;
class CButtonEntity;
class CSpriteEntity;
class CWindowEntity;
}  // namespace ZOLTFramework

class BagScreen : public ZOLTFramework::CScreenEntity, public ZOLTFramework::CButtonListener {
public:
    static constexpr const char* kBagFile = "data/Bag.xml";
    static constexpr float kClickLock = 1.0f;

    struct ZoomItem {
        ZOLTFramework::CSpriteEntity* picture = nullptr;
        std::string zoomSprite;
    };

    explicit BagScreen(const std::string& screenName, const std::string& bagFile = kBagFile);
    ~BagScreen() override = default;

    void Update(float dt) override;
    void Render() override {}
    void OnButtonPress(const std::string& message) override;
    void OnButtonOver(const std::string& message) override;
    bool SetAcceptsClicks(bool accepts) { return acceptsClicks = accepts; }

    // False, nothing changed, when the player holds the piece already.
    static bool TakeItem(const std::string& name);
    // The level's pieces become the player's own.
    static void SyncPlayerItems();

    // The close button is the child "Exit"; each piece's picture is named
    // after the piece, its pulse "Pulse", and the large picture "Zoom".
    bool AcceptsClicks() const { return acceptsClicks; }

private:
    void SearchZoom();

    ZOLTFramework::CWindowEntity* window = nullptr;
    ZOLTFramework::CButtonEntity* exitButton = nullptr;
    std::vector<ZoomItem> zoomItems;
    bool acceptsClicks = true;
    ZOLTFramework::CSpriteEntity* zoom = nullptr;
    std::vector<ZOLTFramework::CAnimationEffector*> pulses;
};
