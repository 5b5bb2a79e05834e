// The resource groups that live scenes draw from. A play field (or any screen
// built on a scene's pictures) holds its group for as long as it lives; a page
// or screen that goes frees its own group only when that is a scene group (10
// or more: 0 would free every resource, 1 and 2 are start-up groups) that
// nothing alive holds.
#pragma once

#include <string>

class hgeResourceManager;

namespace ZOLTFramework {
class CEntity;
}

namespace LiveGroups {

constexpr int kFirstSceneGroup = 10;

// The group stays held while the holder lives (its death releases it).
void Hold(int group, ZOLTFramework::CEntity* holder);
// True while a live, not killed holder (other than `besides`) holds the group.
bool IsHeld(int group, const ZOLTFramework::CEntity* besides = nullptr);
// Purges the group when it may go and returns true; otherwise one Warning row
// naming `who` (escaped for the log by the caller) and the group, and nothing
// is freed. A holder that releases its own group as it goes names itself as
// `leaving`: it no longer counts.
bool Release(hgeResourceManager* resources, int group, const std::string& who,
             const ZOLTFramework::CEntity* leaving = nullptr);

}  // namespace LiveGroups
