// The map file: any bytes as the map of a player who holds some node scores.
// Odd-sized inputs play a player back from a won level (the banner flies onto
// the solved node and the view pans to the next), even-sized ones a new game
// (the overview, then a key). The view is scrolled at the edges, the nodes
// are hovered, Esc asks to quit; then the map goes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "FuzzGame.h"
#include "screens/GlobalMapScreen.h"
#include "screens/LevelNode.h"

using ZOLTFramework::GlobalMapScreen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzGameEngine& game = FuzzGame();
    const std::string path = FuzzFile("GlobalMapScreen.xml", data, size);
    Player* player = game.Active();
    player->PlayFieldPath.clear();
    player->Time = 100.0f;
    player->CigarCount = 3;
    if (size % 2 == 1) {
        player->NodeScores = {{"NodeBrannoksHouse", 900}, {"NodeTownHall", 0}};
        player->LastSolvedNode = "NodeBrannoksHouse";
        player->GameInProgress = true;
    } else {
        player->NodeScores = {{"NodeBrannoksHouse", 0}};
        player->LastSolvedNode.clear();
        player->GameInProgress = false;
    }

    game.Input(InputEvent::Move, 0, 400.0f, 300.0f);
    auto* map = game.Manager().OpenScreen<GlobalMapScreen>(path);
    std::weak_ptr<void> alive = map->GetLifeToken();
    map->SetOpacity(0.0f);
    map->Open();
    game.Frames(50);  // the fade-in, the flight and the pan
    if (!alive.expired() && map->GetPrompt()) {
        game.Input(InputEvent::Down, HGEK_SPACE);
        game.Frames(1);
        game.Input(InputEvent::Up, HGEK_SPACE);
        game.Frames(20);
    }
    for (const auto& edge : {std::make_pair(2.0f, 300.0f), std::make_pair(798.0f, 598.0f)}) {
        game.Input(InputEvent::Move, 0, edge.first, edge.second);
        game.Frames(15);
    }
    std::vector<std::pair<float, float>> places;
    if (!alive.expired())
        for (const ZOLTFramework::LevelNode* node : map->GetNodes())
            if (places.size() < 6) places.push_back({node->GetAbsoluteX(), node->GetAbsoluteY()});
    for (const auto& place : places) {
        game.Input(InputEvent::Move, 0, place.first, place.second);
        game.Frames(2);
    }
    game.Input(InputEvent::Down, HGEK_ESCAPE);
    game.Frames(1);
    game.Input(InputEvent::Up, HGEK_ESCAPE);
    game.Frames(5);
    game.CloseAll();
    return 0;
}
