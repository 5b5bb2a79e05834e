// The memory game ("6.2.xml"): any bytes as its file. Two bricks of one kind
// are clicked, then two of different kinds; the rest is skipped.
#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "FuzzMiniGame.h"
#include "minigames/CBrickEntity.h"
#include "minigames/CBricksField.h"
#include "minigames/MemoryScreen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzGame();
    const std::string path = FuzzFile("6.2.xml", data, size);
    FuzzPlayMiniGame<MemoryScreen>(path, [](MemoryScreen* screen) {
        FuzzGameEngine& game = FuzzGame();
        std::weak_ptr<void> alive = screen->GetLifeToken();
        // The places first: a matched pair goes.
        std::map<int, std::vector<std::pair<float, float>>> byKind;
        if (screen->FindChild<ZOLTFramework::CBricksField>("BricksField"))
            for (const ZOLTFramework::CBrickEntity* brick : screen->FindChild<ZOLTFramework::CBricksField>("BricksField")->GetBricks())
                byKind[brick->GetKind()].push_back({brick->GetAbsoluteX(), brick->GetAbsoluteY()});
        std::vector<std::pair<float, float>> clicks;
        for (const auto& kind : byKind) {
            if (kind.second.size() >= 2 && clicks.empty()) clicks.assign(kind.second.begin(), kind.second.begin() + 2);
        }
        for (const auto& kind : byKind)
            if (clicks.size() < 4) clicks.push_back(kind.second.front());
        for (size_t i = 0; i < clicks.size() && !alive.expired(); ++i) {
            game.Click(clicks[i].first, clicks[i].second);
            if (i % 2 == 1) game.Frames(30);  // the comparison runs out
        }
    });
    return 0;
}
