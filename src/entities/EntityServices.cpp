#include "entities/EntityServices.h"

#include "engine/AudioManager.h"
#include "engine/CEngine.h"
#include "engine/StringManager.h"
#include "graphics/hgeResourceManager.h"

namespace ZOLTFramework {
namespace Services {

HGE* Hge(const CEngine* engine) { return engine ? engine->GetHGE() : nullptr; }

hgeSprite* Sprite(const CEngine* engine, const std::string& name) {
    hgeResourceManager* rm = engine ? engine->GetResourceManager() : nullptr;
    return rm ? rm->GetSprite(name.c_str()) : nullptr;
}

HTEXTURE Texture(const CEngine* engine, const std::string& name) {
    hgeResourceManager* rm = engine ? engine->GetResourceManager() : nullptr;
    return rm ? rm->GetTexture(name.c_str()) : 0;
}

hgeFont* ResourceFont(const CEngine* engine, const std::string& name) {
    hgeResourceManager* rm = engine ? engine->GetResourceManager() : nullptr;
    return rm ? rm->GetFont(name.c_str()) : nullptr;
}

void PlaySound(const CEngine* engine, const std::string& name) {
    CAudioManager* audio = engine ? engine->GetAudioManager() : nullptr;
    if (audio) audio->PlaySound(name);
}

std::string Text(const CEngine* engine, const std::string& key, bool* found) {
    StringManager* strings = engine ? engine->GetStringManager() : nullptr;
    const char* text = strings ? strings->GetString(key) : nullptr;
    if (found) *found = text != nullptr;
    return text ? std::string(text) : std::string();
}

}  // namespace Services
}  // namespace ZOLTFramework
