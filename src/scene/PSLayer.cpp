#include "scene/PSLayer.h"

#include <algorithm>

#include "graphics/hgeParticleSystem.h"

void PSLayer::Render() {
    for (hgeParticleSystem* system : systems)
        if (system) system->Render();
}

void PSLayer::Remove(hgeParticleSystem* system) {
    const auto it = std::find(systems.begin(), systems.end(), system);
    if (it != systems.end()) systems.erase(it);
}
