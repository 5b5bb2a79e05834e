// The one registry of named screen makers: framework and game code open
// screens they do not know by kind (the load screen opens the main menu, the
// main menu opens the global map and the intro). The application registers
// each maker at start.
#pragma once

#include <functional>
#include <string>

class EntityManager;

namespace ZOLTFramework {

class CEntity;

class ScreenFactory {
public:
    // Builds the screen through the manager's owning calls (Spawn or
    // OpenScreen), so it is owned from its first line on. The argument is the
    // screen's name (for the global map: its layout file). May return null.
    using Maker = std::function<CEntity*(EntityManager& manager, const std::string& argument)>;

    // The kind the load screen opens on a key press.
    static const char* const kMainMenu;
    // The kinds the main menu hands over to: continuing a game, a new game.
    static const char* const kGlobalMap;
    static const char* const kIntro;

    // Replaces the maker of that kind; an empty maker removes it.
    static void Register(const std::string& kind, Maker maker);
    static bool IsRegistered(const std::string& kind);
    // The new screen, owned by the manager, or null (with a Warning row) when
    // no maker is registered for the kind or the maker made nothing. Without a
    // manager nothing is made (null, no row).
    static CEntity* Open(EntityManager* manager, const std::string& kind, const std::string& argument);
};

}  // namespace ZOLTFramework
