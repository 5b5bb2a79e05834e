// One picture of a puzzle: a still sprite or an animation copied from the
// resource manager, drawn at its absolute transform, with a target position
// and angle to dock at and a pixel-exact hit test. The owning screen moves,
// turns, docks and animates it; the piece takes no input itself.
#pragma once

#include <string>

#include "entities/core/CEntity.h"

namespace ZOLTFramework {
class EngineContext;
}

class hgeSprite;
class hgeAnimation;

class PuzzlePiece : public ZOLTFramework::CEntity {
public:
    // The entity name is the resource name. An animated piece stands on its
    // last frame, except "eyes_14", which plays at once. A name the resource
    // script does not declare leaves the piece without a picture (IsValid).
    PuzzlePiece(const std::string& resourceName, bool animated, float targetX, float targetY, float targetAngle);
    ~PuzzlePiece() override;

    // Keeps the rotation in [0, 2*pi) and advances the animation.
    void Update(float dt) override;
    void Render() override;

    // (x, y) relative to the piece's position: true on an opaque pixel of the
    // picture, the point turned back by the piece's own rotation; scale ignored.
    bool HitTest(float px, float py) const;
    // While negative add 2*pi, then while 2*pi or more subtract it.
    static void NormalizeAngle(float& angle);
    static const float kTwoPi;

    bool IsValid() const { return picture != nullptr; }
    // Whether the resource script declares the sprite (or the animation).
    static bool IsDeclared(const ZOLTFramework::EngineContext* engine, const std::string& resourceName, bool animated);
    bool IsAnimationPlaying() const;
    // Plays the animation once from its first frame in plain colours; when the
    // run is over (on the player manager's timer) it stops and the picture
    // turns fully transparent. Animated pieces only.
    void PlayOnce();
    hgeSprite* GetPicture() const { return picture; }
    float GetPictureWidth() const;

    // The colour the picture is drawn in (alpha times the absolute opacity).
    void SetColor(unsigned long c) { color = c; }
    void SetBlendMode(int blend);

    std::string label;
    float targetX;
    float targetY;
    float targetAngle;

private:
    hgeSprite* picture = nullptr;
    hgeAnimation* animation = nullptr;
    unsigned long color = 0xFFFFFFFF;
};
