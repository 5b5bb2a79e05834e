// The short film that opens a new game: four layers of the river town drift
// across the window for 70 seconds under a black band, small swimmers cross
// it, bubbles rise from the river, and the story's opening text crawls up from
// the bottom; a skip button sits in the top-left corner. When the 70 seconds
// of focused time are over, or at any key or mouse button (the skip button
// included), the film hands over to the global map's new-game overview.
//
// Every delayed step runs on the intro's own timer, which only its update
// advances while it has the focus: a screen above it stops the film's clock.
// The swimmers are the player manager's aquarium fish under the intro's life
// group; the intro's death kills them.
//
// The screen hands itself to the entity manager and pushes itself on the
// screen stack: open it with manager->OpenScreen<IntroScreen>().
#pragma once

#include <string>
#include <vector>

#include "entities/core/GameTimer.h"
#include "entities/core/Listeners.h"
#include "entities/screens/CScreenEntity.h"

class TextEntity;

namespace ZOLTFramework {

class CAnimEntity;
class CButtonEntity;
class CSpriteEntity;

class IntroScreen : public CScreenEntity, public CButtonListener {
public:
    static constexpr const char* kScreenName = "IntroScreen";
    static constexpr const char* kMapFile = "data/GlobalMapScreen.xml";
    // Seconds of focused time the film runs before the map opens by itself.
    static constexpr float kLength = 70.0f;
    static const int kLayerCount = 4;

    IntroScreen();
    // Drops the pending steps and kills every swimmer.
    ~IntroScreen() override;

    // The fades; then, only with the focus, the film's clock and any key.
    void Update(float dt) override;

    // The hand-over: the global map opens at half size for the new-game
    // overview and the intro fades out and dies. Runs once.
    void GoToGlobalMap();
    // One bubble cycle: the column waits on its last frame (not at all with
    // atOnce, else 1 to 6 s), plays once from frame 0, and starts the next.
    void PlayBubbles(CAnimEntity* bubbles, bool atOnce);

    TextEntity* GetCaption() const { return caption; }
    // The skip button is the child "Skip"; the swimmers' parent, drawn at
    // half size, is "IntroLife"; the map layers are named after their
    // pictures ("GlobalMapFrame1" to "GlobalMapFrame4", the bubble columns
    // under the third), and the black band is "IntroBand".

private:
    void CreateFrames();
    void CreateSkipButton();
    void CreateCaption();
    void CreateLife();
    CSpriteEntity* MakeLayer(const std::string& picture, float px, float py, float layerDepth);

    CSpriteEntity* layers[kLayerCount] = {};
    TextEntity* caption = nullptr;
    CEntity* life = nullptr;
    GameManager::Timer timer;
    bool handedOver = false;
};

}  // namespace ZOLTFramework
