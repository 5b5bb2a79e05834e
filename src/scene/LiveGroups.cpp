#include "scene/LiveGroups.h"

#include <map>
#include <memory>
#include <vector>

#include "engine/HtmlLog.h"
#include "entities/core/CEntity.h"
#include "graphics/hgeResourceManager.h"

namespace LiveGroups {

namespace {

struct Holder {
    const ZOLTFramework::CEntity* entity;
    std::weak_ptr<void> token;
};

std::map<int, std::vector<Holder>>& Holders() {
    static std::map<int, std::vector<Holder>> holders;
    return holders;
}

bool Alive(const Holder& holder) { return !holder.token.expired() && !holder.entity->IsDead(); }

}  // namespace

void Hold(int group, ZOLTFramework::CEntity* holder) {
    if (!holder) return;
    auto& list = Holders()[group];
    // Drop holders that are gone, so the list does not grow with every level.
    for (size_t i = list.size(); i-- > 0;)
        if (list[i].token.expired()) list.erase(list.begin() + long(i));
    list.push_back({holder, holder->GetLifeToken()});
}

bool IsHeld(int group, const ZOLTFramework::CEntity* besides) {
    auto it = Holders().find(group);
    if (it == Holders().end()) return false;
    for (const Holder& holder : it->second)
        if (holder.entity != besides && Alive(holder)) return true;
    return false;
}

bool Release(hgeResourceManager* resources, int group, const std::string& who, const ZOLTFramework::CEntity* leaving) {
    if (group < kFirstSceneGroup) {
        HtmlLog::Instance()->Warning(who + ": resource group " + std::to_string(group) +
                                     " is not a scene group (10 or more) and is kept");
        return false;
    }
    if (IsHeld(group, leaving)) {
        HtmlLog::Instance()->Warning(who + ": resource group " + std::to_string(group) +
                                     " is still used by a live scene and is kept");
        return false;
    }
    if (resources) resources->Purge(group);
    return true;
}

}  // namespace LiveGroups
