// Blinks the colour of its parent text between two colours, one switch every
// period, from Start on. A parent that is not a text entity is left alone.
#pragma once

#include <cstddef>
#include <vector>

#include "entities/core/CEntity.h"
#include "platform/hge.h"

class ColorSwitcher : public ZOLTFramework::CEntity {
public:
    ColorSwitcher(DWORD colorA, DWORD colorB, float switchPeriod);
    ~ColorSwitcher() override = default;

    void Update(float dt) override;
    void Start() { running = true; }
    bool IsRunning() const { return running; }

private:
    std::vector<DWORD> colors;
    size_t current = 0;  // index of the colour applied next
    float period;
    float elapsed;
    bool running = false;
};
