#include "graphics/FontRegistry.h"

#include "graphics/hgeFont.h"

FontMap::~FontMap() { Clear(); }

hgeFont* FontMap::LoadFont(const std::string& name, const std::string& filename) {
    hgeFont*& slot = fonts[name];
    delete slot;
    slot = nullptr;
    slot = new hgeFont(filename.c_str(), false, hgeFont::BUILD_REGISTRY);
    return slot;
}

hgeFont* FontMap::GetFont(const std::string& name) const {
    auto it = fonts.find(name);
    return it == fonts.end() ? nullptr : it->second;
}

void FontMap::Clear() {
    for (auto& entry : fonts) delete entry.second;
    fonts.clear();
}

FontMap& FontRegistry::Instance() {
    static FontMap registry;
    return registry;
}
