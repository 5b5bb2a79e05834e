// The animated underwater scene behind the main menu: the still pictures of the
// menu scene file, five spots where bubbles burst now and then, two bubble
// emitters, a swaying seaweed, two ship windows that glow on and off, and the
// fish of the player manager's aquarium. It takes no input and is never on the
// screen stack; the menu kills it when the game leaves the menu.
//
// Every delayed step (the bubble cycles, the fish) runs on the player manager's
// shared timer, which outlives this screen: whoever leaves the menu clears that
// timer and kills the aquarium first. Each entry names the entity it works on,
// so a killed background never gets a late call.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "entities/screens/CScreenEntity.h"

namespace ZOLTFramework {

class CAnimEntity;
class CSpriteEntity;

class CMenuBGScreen : public CScreenEntity {
public:
    static constexpr const char* kSceneFile = "data/Scenes/MainMenu/Menu.xml";
    static const int kFishCount = 14;

    // The menu passes only the name; another scene file serves tools and tests.
    explicit CMenuBGScreen(const std::string& screenName, const std::string& sceneFile = kSceneFile);
    ~CMenuBGScreen() override = default;

    // The fade, then the scene sprites snap to whole pixels.
    void Update(float dt) override;

    // One bubble cycle of a spot: it waits on its empty last frame (not at all
    // when now is set, else 1 to 15 s), plays once from frame 0, and starts
    // the next cycle.
    void ScheduleBubbles(CAnimEntity* spot, bool now);

    // Children by name: the sprites of the scene file's objects "MenuScene1",
    // "MenuScene2", ... in file order, the bubble spots "MenuBubbles1" to
    // "MenuBubbles5", "Seaweed", the ship windows "MenuShipWindow1" and
    // "MenuShipWindow2".

private:
    void LoadScene(const std::string& file);
    void AddDecorations();
    void AddShipWindow(const std::string& texture, float wx, float wy);
    void RequestFish();

    struct SceneSprite {
        CSpriteEntity* sprite;
        std::weak_ptr<void> alive;
    };
    std::vector<SceneSprite> sceneSprites;
};

}  // namespace ZOLTFramework
