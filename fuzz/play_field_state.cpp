// The play-field state: any bytes as a scene file, played with clicks on its
// first objects and left unfinished (save); the state file it wrote is played
// again (load) and left at once (save). Both saves must write the same
// document, or a resumed level would drift from what the player left.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FuzzGame.h"
#include "FuzzLevel.h"

namespace {

// Opens the scene as the level does, plays it (clicks when asked) and saves
// its state; returns the state file's text, empty when none was written.
std::string PlayAndSave(const std::string& scenePath, bool click) {
    FuzzGameEngine& game = FuzzGame();
    Player* player = game.Active();
    player->PlayFieldPath = click ? std::string() : scenePath;  // a resumed level reads its state
    auto* level = new FuzzLevel(scenePath);  // owned by the entity manager
    std::weak_ptr<void> alive = level->GetLifeToken();
    game.Frames(2);
    if (click && !alive.expired() && level->Field()) {
        std::vector<std::pair<float, float>> places;
        for (const SceneObject* object : level->Field()->GetSceneObjects()) {
            if (places.size() == 4) break;
            places.push_back({object->GetX() / PlayField::kScreenToScene + 180.0f,
                              object->GetY() / PlayField::kScreenToScene});
        }
        for (const auto& place : places)
            if (!alive.expired()) game.Click(place.first, place.second);
        game.Frames(30);  // flights land
    }
    std::string text;
    if (!alive.expired() && level->Field()) {
        level->Field()->SaveState();
        if (!player->PlayFieldPath.empty()) FileSystem::ReadFile(player->PlayFieldPath, text);
    }
    game.CloseAll();
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzGame();
    FuzzKeepDemoScenes();
    const std::string first = PlayAndSave(FuzzFile("scene.xml", data, size), true);
    if (first.empty()) return 0;  // finished, or nothing to save
    // The seed of a saved state is made this way.
    if (const char* keep = std::getenv("DROVALIN_FUZZ_KEEP_STATE")) FileSystem::WriteFileAtomic(keep, first);
    const std::string statePath = FuzzFile("state.xml", reinterpret_cast<const uint8_t*>(first.data()), first.size());
    const std::string second = PlayAndSave(statePath, false);
    if (second != first) {
        std::fprintf(stderr, "The state saved again differs.\n--- first\n%s\n--- second\n%s\n", first.c_str(),
                     second.c_str());
        std::abort();
    }
    return 0;
}
