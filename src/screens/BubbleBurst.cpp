#include "screens/BubbleBurst.h"

#include "entities/core/CAnimEntity.h"
#include "entities/core/GameTimer.h"
#include "graphics/hgeAnimation.h"

namespace ZOLTFramework {

void ScheduleBubbleBurst(GameManager::Timer& timer, CAnimEntity* column, float pause, std::function<void()> next) {
    if (!column) return;
    hgeAnimation* anim = column->GetAnimation();
    if (!anim) return;
    anim->Stop();
    anim->SetFrame(anim->GetFrames() - 1);
    const float fps = anim->GetSpeed();
    const float length = fps > 0.0f ? float(anim->GetFrames()) / fps : 0.0f;
    timer.Add(pause, [column] { if (hgeAnimation* a = column->GetAnimation()) a->SetFrame(0); }, column);
    timer.Add(pause, [column] { if (hgeAnimation* a = column->GetAnimation()) a->Play(); }, column);
    timer.Add(pause + length, std::move(next), column);
}

}  // namespace ZOLTFramework
