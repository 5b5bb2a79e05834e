// Null-safe access to the engine services that entities use: the engine
// interface, the resource manager, the audio manager and the text table. Each
// gives null, nothing or an empty text while the service does not exist.
#pragma once

#include <cstdint>
#include <string>

#include "platform/hge.h"

class hgeSprite;
class hgeFont;

namespace ZOLTFramework {

class EngineContext;

namespace Services {

HGE* Hge(const EngineContext* engine);
// The resource manager's sprite, texture or font of that name.
hgeSprite* Sprite(const EngineContext* engine, const std::string& name);
HTEXTURE Texture(const EngineContext* engine, const std::string& name);
hgeFont* ResourceFont(const EngineContext* engine, const std::string& name);
// Plays an event sound by name.
void PlaySound(const EngineContext* engine, const std::string& name);
// The text table's text for the key; found reports whether there was one.
std::string Text(const EngineContext* engine, const std::string& key, bool* found = nullptr);

// The colour with its alpha multiplied by the opacity, truncated to an integer.
inline DWORD FadeColor(DWORD color, float opacity) {
    float a = float(color >> 24) * opacity;
    if (a < 0.0f) a = 0.0f;
    if (a > 255.0f) a = 255.0f;
    return (color & 0x00FFFFFFu) | (DWORD(a) << 24);
}

}  // namespace Services
}  // namespace ZOLTFramework
