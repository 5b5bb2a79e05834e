#include "entities/effects/CBubbleEmitter.h"

#include "engine/EngineContext.h"
#include "entities/core/EntityManager.h"
#include "entities/effects/CBubble.h"
#include "entities/core/CSpriteEntity.h"
#include "platform/hge.h"

namespace ZOLTFramework {

CBubbleEmitter::CBubbleEmitter(float interval_) : interval(interval_) {
    enabled = false;
    UpdateRegistration();
}

float CBubbleEmitter::Random(float min, float max) const {
    HGE* hge = engine ? engine->GetHGE() : nullptr;
    return hge ? hge->Random_Float(min, max) : (min + max) * 0.5f;
}

void CBubbleEmitter::Update(float dt) {
    if (elapsed < interval) {
        elapsed += dt;
        return;
    }
    SpawnBubble();
    elapsed = 0.0f;
}

void CBubbleEmitter::SpawnBubble() {
    // Without a manager the bubbles would never rise.
    if (!Manager()) return;

    CSpriteEntity* sprite = SpawnChild<CSpriteEntity>();
    sprite->SetSpriteRect("BBubble", 0.0f, 0.0f, 16.0f, 16.0f);
    const float offsetY = Random(-10.0f, 10.0f);
    const float offsetX = Random(-10.0f, 10.0f);
    sprite->SetAbsolutePosition(GetAbsoluteX() + offsetX, GetAbsoluteY() + offsetY);
    sprite->SetDepth(Random(-0.1f, 0.1f));
    const float scale = Random(0.3f, 0.7f);
    sprite->scaleX = scale;
    sprite->scaleY = scale;
    sprite->OnScale();
    sprite->SpawnChild<CBubble>();
}

}  // namespace ZOLTFramework
