// A rising bubble: moves its target (the bubble sprite) up the screen, now and
// then changing course a little, and kills it once it is above the screen.
#pragma once

#include "entities/effects/CAMovEffector.h"

namespace ZOLTFramework {

class CBubble : public CAMovEffector {
public:
    CBubble() = default;
    ~CBubble() override = default;

    void Update(float dt) override;

    // Above this absolute Y (10 pixels over the top edge) the bubble dies.
    static constexpr float kDeathY = -10.0f;
    static constexpr float kSpeed = 80.0f;
};

}  // namespace ZOLTFramework
