#include "entities/widgets/CSliderEntity.h"

#include <algorithm>

#include "engine/EngineContext.h"
#include "entities/core/EntityManager.h"
#include "entities/widgets/CSlCurEntity.h"

namespace ZOLTFramework {

CSliderEntity::CSliderEntity(const std::string& sliderName, CSliderListener* sliderListener)
    : listener(sliderListener) {
    name = sliderName;
    cursor = SpawnChild<CSlCurEntity>(this);
    cursor->SetDepth(2.0f);
}

CSlCurEntity* CSliderEntity::GetCursor() const {
    // Only while it is still this slider's child: a cursor that left may be gone.
    if (!cursor) return nullptr;
    return std::find(children.begin(), children.end(), cursor) != children.end() ? cursor : nullptr;
}

void CSliderEntity::Render() { RenderNamedSprite(*this, spriteName); }

float CSliderEntity::ValueAt(float mouseX) const {
    const float width = rect.x2 - rect.x1;
    if (width <= 0.0f) return mouseX < rect.x1 ? 0.0f : 1.0f;
    return std::min(1.0f, std::max(0.0f, (mouseX - rect.x1) / width));
}

void CSliderEntity::Report() {
    if (listener) listener->OnSliderChanged(name, value);
}

void CSliderEntity::OnLeftButton(bool down) {
    if (!down) return;
    const float mx = engine ? engine->GetMouseX() : 0.0f;
    value = ValueAt(mx);
    if (CSlCurEntity* c = GetCursor()) c->SetAbsoluteX(mx);
    Report();
}

void CSliderEntity::OnCursorMoved() {
    const float mx = engine ? engine->GetMouseX() : 0.0f;
    if (!(rect.x1 < mx && mx < rect.x2)) return;
    if (CSlCurEntity* c = GetCursor()) c->SetAbsoluteX(mx);
    value = ValueAt(mx);
    Report();
}

void CSliderEntity::SetValue(float v) {
    CSlCurEntity* c = GetCursor();
    if (!c) return;
    value = std::min(1.0f, std::max(0.0f, v));
    c->SetAbsoluteX(rect.x1 + value * (rect.x2 - rect.x1));
}

void CSliderEntity::SetCursorSpriteName(const std::string& n) {
    if (CSlCurEntity* c = GetCursor()) c->SetSpriteName(n);
}

void CSliderEntity::SetCursorSizeCentered(float w, float h) {
    if (CSlCurEntity* c = GetCursor()) c->SetSizeCentered(w, h);
}

}  // namespace ZOLTFramework
