#include "entities/widgets/ColorSwitcher.h"

#include "entities/widgets/TextEntity.h"

ColorSwitcher::ColorSwitcher(DWORD colorA, DWORD colorB, float switchPeriod)
    : colors{colorA, colorB}, period(switchPeriod), elapsed(switchPeriod) {}

void ColorSwitcher::Update(float dt) {
    if (!running) return;
    elapsed += dt;
    if (elapsed > period) {
        elapsed = 0.0f;
        if (TextEntity* target = dynamic_cast<TextEntity*>(parent)) target->SetColor(colors[current]);
        current = (current + 1) % colors.size();
    }
}
