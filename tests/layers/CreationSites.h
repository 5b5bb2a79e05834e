// The rule for making entities: every entity is created through the entity
// manager's owning calls (Spawn, OpenScreen) or CEntity::SpawnChild. This
// finds the places under src/ that create an entity with `new` or hand one to
// the manager by hand (Add, PushScreen, OpenScreen with an argument), so that
// a test can hold them to a short list of allowed places.
#pragma once

#include <string>
#include <vector>

namespace layers {

// Every entity class declared in the headers under root/src: CEntity and the
// classes and aliases that derive from it, directly or not.
std::vector<std::string> FindEntityClasses(const std::string& root);

// Each creation or hand-over site outside the owning calls' own code, as
// "path/below/src:site", one entry per occurrence; site is "new Name" or
// "manager->Call(argument)" (spaces removed).
std::vector<std::string> FindCreationSites(const std::string& root);

}  // namespace layers
