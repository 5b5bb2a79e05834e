#include "entities/widgets/CListboxEntity.h"

#include "engine/EngineContext.h"
#include "entities/core/EntityServices.h"
#include "entities/core/Listeners.h"
#include "graphics/FontFit.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeSprite.h"

namespace ZOLTFramework {

CListboxEntity::CListboxEntity(const std::string& listName, CListboxListener* listboxListener)
    : listener(listboxListener), highlight(new hgeSprite(0, 0.0f, 0.0f, 1.0f, 1.0f)) {
    name = listName;
    // Rows are half a line of the font plus a margin; without the font the margin alone.
    if (hgeFont* font = Services::ResourceFont(engine, fontName)) itemHeight = font->GetHeight() * 0.5f + 15.0f;
}

CListboxEntity::~CListboxEntity() { delete highlight; }

void CListboxEntity::AddItem(const std::string& text, int value) {
    if (text.empty()) return;
    items.push_back({value, text});
}

void CListboxEntity::RemoveItem(int index) {
    if (index < 0 || index >= int(items.size())) return;
    items.erase(items.begin() + index);
    if (selected == index || selected >= int(items.size())) selected = -1;
}

void CListboxEntity::Clear() {
    items.clear();
    selected = -1;
}

int CListboxEntity::FindItem(const std::string& text) const {
    if (text.empty()) return -1;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].text == text) return int(i);
    }
    return -1;
}

int CListboxEntity::FindByValue(int value) const {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].value == value) return int(i);
    }
    return -1;
}

const CListboxEntity::Item* CListboxEntity::GetItem(int index) const {
    if (index < 0 || index >= int(items.size())) return nullptr;
    return &items[size_t(index)];
}

void CListboxEntity::SetSelected(int index) {
    if (index == -1 || (index >= 0 && index < int(items.size()))) selected = index;
}

std::string CListboxEntity::GetSelectedText() const {
    const Item* item = GetItem(selected);
    return item ? item->text : std::string();
}

void CListboxEntity::OnLeftButton(bool down) {
    if (itemHeight > 0.0f) {
        const float my = engine ? engine->GetMouseY() : 0.0f;
        const float row = (my - rect.y1) / itemHeight + float(firstVisible);
        if (row >= 0.0f && row < float(items.size())) selected = int(row);
    }
    if (down && listener) listener->OnListboxSelect(name, "11111");
}

void CListboxEntity::Render() {
    if (items.empty() || itemHeight <= 0.0f) return;
    const float w = rect.x2 - rect.x1;
    const float h = rect.y2 - rect.y1;
    const float ax = GetAbsoluteX();
    const float ay = GetAbsoluteY();
    const float opacity = GetAbsoluteOpacity();

    hgeFont* font = Services::ResourceFont(engine, fontName);
    if (font) font->SetColor(Services::FadeColor(0xFFFFFFFF, opacity));
    for (int k = 0, i = firstVisible; i >= 0 && i < int(items.size()) && float(k + 1) < h / itemHeight; ++k, ++i) {
        const float top = ay - h * 0.5f + float(k) * itemHeight;
        if (i == selected) {
            highlight->SetColor(Services::FadeColor(highlightColor, opacity));
            highlight->RenderStretch(ax - w * 0.5f, top, ax + w * 0.5f, top + itemHeight);
        }
        // Names from a hand-edited file may be long or hold line breaks.
        if (font) font->Render(ax, top - 4.0f, HGETEXT_CENTER, FitLine(*font, items[size_t(i)].text, w).c_str());
    }
    if (font) font->SetColor(0xFFFFFFFF);
}

}  // namespace ZOLTFramework
