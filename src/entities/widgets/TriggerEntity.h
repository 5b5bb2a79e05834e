// A two-state button: each click toggles it. While on it keeps its pressed
// look; its button listener hears a press when it turns on and a release when
// it turns off, and its trigger listener hears every change of state.
#pragma once

#include <string>

#include "entities/widgets/CButtonEntity.h"

class TriggerListener;

class TriggerEntity : public ZOLTFramework::CButtonEntity {
public:
    TriggerEntity(const std::string& triggerName, ZOLTFramework::CButtonListener* buttonListener,
                  TriggerListener* stateListener);
    ~TriggerEntity() override = default;

    // A press toggles the state; a release is ignored.
    void OnLeftButton(bool down) override;

    void SetState(bool on);
    bool IsOn() const { return isOn; }

private:
    bool isOn = false;
    TriggerListener* triggerListener;
};
