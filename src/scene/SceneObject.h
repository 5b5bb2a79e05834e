// One object of a hidden-object scene: a still sprite or a looping animation,
// placed in scene units (the 1024 x 768 picture) and drawn times 0.78125 on the
// 800 x 600 screen, a child of the play field. Besides its normal look it keeps
// two lens looks (copies masked by the magnifying-glass mask) that the objects
// layer draws magnified around the mouse; the object enrols for that in every
// frame in which a parent scales it up. Objects can repeat their animation with
// a pause, ring a sound in time with it, fade out and die, and are reachable
// from scripts as the class "SceneObject". An object deleted while it hangs
// from a SceneObjectKeeper (the play field) is let go of there first.
//
// An object whose resource does not exist has no image: it draws, enrols and
// is hit by nothing (an Error row says so once, at construction).
#pragma once

#include <string>

#include "entities/core/CEntity.h"
#include "entities/core/GameTimer.h"
#include "scene/SceneObjectsLayer.h"

class hgeAnimation;
class hgeParticleSystem;
class hgeSprite;
class SharedTimer;
class SceneObject;

// What the objects of a scene hang from when it keeps lists of them (the play
// field): an object deleted while attached to it is first let go of there.
class SceneObjectKeeper {
public:
    virtual void ForgetObject(SceneObject* object) = 0;

protected:
    ~SceneObjectKeeper() = default;
};

class SceneObject : public ZOLTFramework::CEntity {
public:
    static constexpr float kSceneToScreen = 0.78125f;
    // A screen point (the mouse) times this is a scene point.
    static constexpr float kScreenToScene = 1.28f;

    SceneObject(const std::string& resourceName, bool isAnimation, float pause, float startDelay,
                bool restOnLastFrame, const std::string& objectName, SceneObjectsLayer* layer);
    ~SceneObject() override;

    void Update(float dt) override;
    void Render() override;

    // The lens look, drawn through the objects layer: the object magnified by its
    // absolute scale around the mouse moved by the offset; the second pass
    // draws the second lens sprite (the other half of a split picture).
    void DrawAt(float mouseOffsetX, float mouseOffsetY, bool secondPass);
    // Fades from the current opacity to 0 in that time, then dies.
    void StartFadeOut(float seconds);
    // Script methods: start or stop the display animation now (delay 0) or
    // after the delay on the shared timer. Nothing on a still object.
    void StartAnimation(float delay);
    void StopAnimation(float delay);
    // The shared timer those script calls wait on (not owned); without one
    // they wait on the object's own timer.
    void SetSharedTimer(SharedTimer* shared) { sharedTimer = shared; }
    // Deletes the lens sprites: the object is no longer drawn through the lens.
    void RemoveLensSprites();

    // Registers the script class "SceneObject" into the script host's state
    // (again after the state was reopened); true.
    static bool RegisterLua();

    const std::string& GetResourceName() const { return resourceName; }
    // The sprite the object shows: its animation when it is animated.
    hgeSprite* GetDisplaySprite() const { return displaySprite; }
    hgeSprite* GetLensSprite1() const { return lensSprite1; }
    hgeSprite* GetLensSprite2() const { return lensSprite2; }
    SceneObjectsLayer* GetObjectsLayer() const { return objectsLayer; }
    // Owned from then on (a previous one is freed): the object updates and
    // draws it and frees it when it dies, unless it was released first.
    void SetParticleSystem(hgeParticleSystem* system);
    // Hands the system over to the caller; the slot is empty afterwards.
    hgeParticleSystem* ReleaseParticleSystem();
    hgeParticleSystem* GetParticleSystem() const { return particleSystem; }
    float GetFadeRate() const { return fadeRate; }
    // The object's own delayed calls (animation restarts, sounds).

private:
    void BuildAnimation(float startDelay);
    void BuildStill();
    void MaskLensSprites();
    void ArmSounds(float interval);
    void RestartLater(hgeAnimation* animation, bool lastOfRun);

    hgeParticleSystem* particleSystem = nullptr;
    hgeSprite* lensSprite1 = nullptr;
    hgeSprite* lensSprite2 = nullptr;
    hgeSprite* displaySprite = nullptr;
    std::string resourceName;
    SceneObjectsLayer* objectsLayer;
    float fadeRate = 0.0f;
    float pauseNow;
    float pause;
    bool restOnLastFrame = false;
    hgeAnimation* animation1 = nullptr;
    hgeAnimation* animation2 = nullptr;
    hgeAnimation* animation3 = nullptr;
    ZOLTFramework::GameManager::Timer timer;
    SharedTimer* sharedTimer = nullptr;
};

// Plays the sound, then schedules itself again on the timer after the interval.
void PlaySoundRepeatedly(const std::string& sound, float interval, ZOLTFramework::GameManager::Timer* timer);
