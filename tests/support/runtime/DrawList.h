// Whether the entity manager draws an entity: it is in the draw list, which an
// entity joins while it is registered (enabled, alive and shown with its chain).
#pragma once

#include <algorithm>
#include <vector>

#include "entities/core/CEntity.h"
#include "entities/core/EntityManager.h"

inline bool InDrawList(const EntityManager& manager, const ZOLTFramework::CEntity* entity) {
    const std::vector<ZOLTFramework::CEntity*> drawn = manager.GetDrawList();
    return std::find(drawn.begin(), drawn.end(), entity) != drawn.end();
}
