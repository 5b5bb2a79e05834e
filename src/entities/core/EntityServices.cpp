#include "entities/core/EntityServices.h"

#include "engine/AudioManager.h"
#include "engine/EngineContext.h"
#include "engine/StringManager.h"
#include "graphics/hgeResourceManager.h"

namespace ZOLTFramework {
namespace Services {

HGE* Hge(const EngineContext* engine) { return engine ? engine->GetHGE() : nullptr; }

hgeSprite* Sprite(const EngineContext* engine, const std::string& name) {
    hgeResourceManager* rm = engine ? engine->GetResourceManager() : nullptr;
    return rm ? rm->GetSprite(name.c_str()) : nullptr;
}

HTEXTURE Texture(const EngineContext* engine, const std::string& name) {
    hgeResourceManager* rm = engine ? engine->GetResourceManager() : nullptr;
    return rm ? rm->GetTexture(name.c_str()) : 0;
}

hgeFont* ResourceFont(const EngineContext* engine, const std::string& name) {
    hgeResourceManager* rm = engine ? engine->GetResourceManager() : nullptr;
    return rm ? rm->GetFont(name.c_str()) : nullptr;
}

void PlaySound(const EngineContext* engine, const std::string& name) {
    CAudioManager* audio = engine ? engine->GetAudioManager() : nullptr;
    if (audio) audio->PlaySound(name);
}

std::string Text(const EngineContext* engine, const std::string& key, bool* found) {
    StringManager* strings = engine ? engine->GetStringManager() : nullptr;
    const char* text = strings ? strings->GetString(key) : nullptr;
    if (found) *found = text != nullptr;
    return text ? std::string(text) : std::string();
}

}  // namespace Services
}  // namespace ZOLTFramework
