// Named makers of screens that framework code opens but does not know: the load
// screen opens the main menu, which belongs to the game. The application
// registers each maker at start; framework code asks for a screen by its kind.
#pragma once

#include <functional>
#include <string>

namespace ZOLTFramework {

class CEntity;

class ScreenFactory {
public:
    // Builds a screen with the given name; the caller adds it to the entity
    // manager. May return null.
    using Maker = std::function<CEntity*(const std::string& name)>;

    // The kind the load screen opens on a key press.
    static const char* const kMainMenu;

    // Replaces the maker of that kind; an empty maker removes it.
    static void Register(const std::string& kind, Maker maker);
    static bool IsRegistered(const std::string& kind);
    // The new screen, or null (with a Warning row) when no maker is registered
    // for the kind or the maker made nothing.
    static CEntity* Create(const std::string& kind, const std::string& name);
    // Forgets every maker.
    static void Clear();
};

}  // namespace ZOLTFramework
