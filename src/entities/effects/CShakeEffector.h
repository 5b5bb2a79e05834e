// Jitters its target around a home position: the target walks towards random
// points within the amplitudes of home at the shake speed. With decay on, the
// amplitudes and the speed die down and the shake stops by itself.
#pragma once

#include "entities/effects/CEffector.h"

namespace ZOLTFramework {

class CShakeEffector : public CEffector {
public:
    CShakeEffector() = default;
    ~CShakeEffector() override = default;

    // Only with a target: stores the amplitudes and speed as initial and current
    // values and takes the target's present local position as home.
    void SetParams(float newAmplitudeX, float newAmplitudeY, float newSpeed);

    void Update(float dt) override;
    // Stops the shake: the target goes back home (when there is one) and the
    // amplitudes and speed return to their initial values.
    void Pause() override;

    float GetAmplitudeY() const { return amplitudeY; }

    // Plain settings, written by the user after SetParams.
    float decayRate = 0.0f;
    bool decays = false;

protected:
    float pointX = 0.0f;
    float pointY = 0.0f;
    float initialSpeed = 0.0f;
    float initialAmplitudeX = 0.0f;
    float initialAmplitudeY = 0.0f;
    float amplitudeX = 0.0f;
    float amplitudeY = 0.0f;
    float shakeSpeed = 0.0f;
    bool hasPoint = false;
};

}  // namespace ZOLTFramework
