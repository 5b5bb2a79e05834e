// An entity that plays and draws one frame animation (tint and opacity as a
// sprite entity). Setting an animation does not start it: call its Play.
#pragma once

#include <string>

#include "entities/core/CEntity.h"
#include "platform/hge.h"

class hgeAnimation;

namespace ZOLTFramework {

class CAnimEntity : public CEntity {
public:
    CAnimEntity() = default;
    ~CAnimEntity() override;

    void Update(float dt) override;
    void Render() override;

    // Borrows the animation; the colour becomes the animation's.
    void AttachAnimation(hgeAnimation* a);
    // Plays an owned copy.
    void SetAnimation(const hgeAnimation& a);
    // An owned animation on the resource texture of that name, hot spot in the
    // middle of a frame.
    void SetAnimationRect(const std::string& textureName, int frames, float fps, float rx, float ry, float w,
                          float h);

    hgeAnimation* GetAnimation() const { return animation; }
    void SetColor(DWORD c) { color = c; }
    DWORD GetColor() const { return color; }

protected:
    void ReleaseAnimation();

    hgeAnimation* animation = nullptr;
    bool ownsAnimation = false;
    DWORD color = 0xFFFFFFFF;
};

}  // namespace ZOLTFramework
