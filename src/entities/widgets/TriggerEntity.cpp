#include "entities/widgets/TriggerEntity.h"

#include "entities/core/Listeners.h"

TriggerEntity::TriggerEntity(const std::string& triggerName, ZOLTFramework::CButtonListener* buttonListener,
                             TriggerListener* stateListener)
    : CButtonEntity(triggerName, buttonListener), triggerListener(stateListener) {}

void TriggerEntity::SetState(bool on) {
    if (!isOn && on) {
        CButtonEntity::OnLeftButton(true);
    } else if (isOn && !on) {
        CButtonEntity::OnLeftButton(false);
    }
    if (isOn == on) return;
    isOn = on;
    if (triggerListener) triggerListener->OnTriggerChanged(name, isOn);
}

void TriggerEntity::OnLeftButton(bool down) {
    if (down) SetState(!isOn);
}
