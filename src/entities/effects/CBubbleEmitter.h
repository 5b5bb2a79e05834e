// An invisible anchor that releases a rising bubble (a small "BBubble" sprite
// carrying a CBubble effector) every `interval` seconds. The bubbles are its
// children and take its opacity, scale and layer.
#pragma once

#include "entities/core/CEntity.h"

namespace ZOLTFramework {

class CBubbleEmitter : public CEntity {
public:
    explicit CBubbleEmitter(float interval);
    ~CBubbleEmitter() override = default;

    // At most one bubble a frame; the frame that releases one does not count
    // its time.
    void Update(float dt) override;

    float GetInterval() const { return interval; }

private:
    void SpawnBubble();
    float Random(float min, float max) const;

    float elapsed = 0.0f;
    float interval;
};

}  // namespace ZOLTFramework
