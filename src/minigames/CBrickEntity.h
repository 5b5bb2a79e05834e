// One face-down brick of the memory field: it pops in, opens with a run of
// sparks round its outline, closes at once, or swells, spins and vanishes when
// matched. A brick covered by an overlapping brick of greater depth takes no
// click. Every live brick is in one process-wide registry.
#pragma once

#include <string>
#include <vector>

#include "entities/core/CTimerListener.h"
#include "entities/widgets/CGUIEntity.h"

namespace ZOLTFramework {

class CAnimationEffector;
class CBrickListener;
class CParticleEntity;
class CShakeEffector;
class CSpriteEntity;
class CTimer;

class CBrickEntity : public CGUIEntity, public CTimerListener {
public:
    CBrickEntity(CBrickListener* brickListener, int brickKind, const std::string& faceSprite);
    ~CBrickEntity() override;

    void Update(float dt) override;
    void Render() override;
    void OnAdded() override;
    void OnMove() override;
    void OnMouseOver(bool entered) override;
    void OnLeftButton(bool down) override;
    void OnTimer(int timerId, int markId) override;

    // The open effect: the child "OpenParticles" until it ends. The face is the
    // child "Face", shown while open; the destroy effect is "Destroy" and the
    // shake "Shake" (paused while the brick is still).
    void PlayOpen();
    void Close();
    void PlayDestroy();
    void SetShaking(bool on);

    int GetKind() const { return kind; }
    // The open effect has ended (or never ran).
    bool IsSettled() const { return openParticles == nullptr; }

    // SetShaking(false) on every brick of the registry.
    static void StopAllShaking();

    static constexpr int kOpenTimerId = 2;

private:
    bool Overlaps(const CBrickEntity& other) const;

    int kind;
    CBrickListener* listener;
    bool open = false;
    CTimer* openTimer = nullptr;
    CAnimationEffector* appear = nullptr;
    CAnimationEffector* destroyEffector = nullptr;
    CSpriteEntity* face = nullptr;
    CParticleEntity* openParticles = nullptr;
    CShakeEffector* shake = nullptr;
    bool shaking = false;
};

}  // namespace ZOLTFramework
