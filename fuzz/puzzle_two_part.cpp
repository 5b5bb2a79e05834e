// The two-part puzzle ("2.2.xml"): any bytes as its file, then (after a line
// reading "%%next-file%%") its piece scene, which the file names as
// "%%scene%%". The first pieces are dragged far away, then onto the free
// slots, the rest skipped.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "FuzzMiniGame.h"
#include "minigames/Puzzle2tScreen.h"
#include "minigames/PuzzlePiece.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzGame();
    const std::string path = FuzzMiniGameFiles("2.2.xml", data, size);
    FuzzPlayMiniGame<Puzzle2tScreen>(path, [](Puzzle2tScreen* screen) {
        std::weak_ptr<void> alive = screen->GetLifeToken();
        std::vector<std::pair<float, float>> slots = screen->GetLeftSlots();
        slots.insert(slots.end(), screen->GetRightSlots().begin(), screen->GetRightSlots().end());
        std::vector<std::pair<std::string, size_t>> moves;
        for (const PuzzlePiece* piece : screen->GetPlayablePieces()) {
            if (moves.size() == 6) break;
            moves.push_back({piece->GetName(), moves.size()});
        }
        for (const auto& move : moves) {
            // A piece that went home or docked is found again by its name.
            if (alive.expired()) return;
            const PuzzlePiece* piece = screen->FindPiece(move.first);
            if (!piece) continue;
            const float x = piece->GetAbsoluteX(), y = piece->GetAbsoluteY();
            FuzzGame().Drag(x, y, 790.0f, 10.0f);  // far from every slot: back home
            if (alive.expired()) return;
            const auto slot = slots.empty() ? std::make_pair(400.0f, 300.0f) : slots[move.second % slots.size()];
            FuzzGame().Drag(x, y, slot.first, slot.second);
        }
        if (!alive.expired()) FuzzGame().Frames(10);
    });
    return 0;
}
