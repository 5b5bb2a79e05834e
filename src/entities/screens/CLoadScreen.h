// The screen between the logo screens and the main menu: a background picture,
// a "LOADING" caption (the child "Press any key") and a progress bar that fills over a fixed number of
// frames. Then the product logo pops up, the caption pulses "PRESS_ANY_KEY",
// star bursts sparkle over the picture, and the first key or mouse button opens
// the main menu (made by the maker registered for ScreenFactory::kMainMenu).
//
// Layout "data/Screens/LoadScreen.xml": every "ResourceToCache" child of the
// root names a resource texture; one of them is loaded per frame while the bar
// fills, so the menu opens without a pause.
#pragma once

#include <string>
#include <vector>

#include "entities/core/GameTimer.h"
#include "entities/screens/CScreenEntity.h"

class TextEntity;

namespace ZOLTFramework {

class CAnimationEffector;

class CLoadScreen : public CScreenEntity {
public:
    // Frames of the loading phase.
    static constexpr int kFramesBeforeReady = 123;

    explicit CLoadScreen(const std::string& screenName);
    ~CLoadScreen() override;

    void Update(float dt) override;
    void Render() override;

    // The ready step (logo, prompt, first star burst after a second); runs once.
    void ShowReady();
    void ShowPressAnyKey();
    void SpawnStar();

    // Width of the progress bar's clip rectangle in this frame.
    int GetProgressWidth() const;

private:
    void LoadLayout();
    void PrecacheNext();

    int frameCount = 1;
    CAnimationEffector* effector = nullptr;
    GameManager::Timer timer;
    std::vector<std::string> resourcesToCache;
    size_t nextToCache = 0;
    TextEntity* caption = nullptr;
};

}  // namespace ZOLTFramework
