// How a mini-game shows points: the level's score pop-up at a screen point,
// parented to the mini-game screen so that it draws above the game, in the
// kind that sends ("AddItemScore", points) to the level's listener.
//
// The scene code installs the real pop-up with SetMiniGameScorePopup; until
// then (and in a game run without a level) the points go straight to the
// listener as that message.
#pragma once

#include <functional>

#include "entities/core/CEntity.h"
#include "entities/core/Listeners.h"

using MiniGameScorePopup =
    std::function<void(ZOLTFramework::CEntity* parent, ZOLTFramework::CQuestionListener* listener, float x, float y,
                       int points)>;

void SetMiniGameScorePopup(MiniGameScorePopup popup);
void ShowMiniGameScore(ZOLTFramework::CEntity* parent, ZOLTFramework::CQuestionListener* listener, float x, float y,
                       int points);
