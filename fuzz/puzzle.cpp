// The puzzle: any bytes as a mini-game file, then (after a line reading
// "%%next-file%%") its piece scene, which the file names as "%%scene%%". The
// first loose pieces are turned with a right click and dragged onto their
// places, the rest skipped.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "FuzzMiniGame.h"
#include "minigames/PuzzlePiece.h"
#include "minigames/PuzzleScreen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzGame();
    const std::string path = FuzzMiniGameFiles("15.2.xml", data, size);
    FuzzPlayMiniGame<PuzzleScreen>(path, [](PuzzleScreen* screen) {
        FuzzGameEngine& game = FuzzGame();
        std::weak_ptr<void> alive = screen->GetLifeToken();
        // The places first: a drop may dock pieces and end the game.
        std::vector<std::pair<std::pair<float, float>, std::pair<float, float>>> moves;
        for (const PuzzlePiece* piece : screen->GetLoosePieces()) {
            if (moves.size() == 6) break;
            moves.push_back({{piece->GetAbsoluteX(), piece->GetAbsoluteY()}, {piece->targetX, piece->targetY}});
        }
        for (const auto& move : moves) {
            if (alive.expired()) return;
            game.Input(InputEvent::Move, 0, move.first.first, move.first.second);
            game.Input(InputEvent::Down, HGEK_RBUTTON);
            game.Frames(1);
            game.Input(InputEvent::Up, HGEK_RBUTTON);
            game.Frames(8);  // the turn
            FuzzGame().Drag(move.first.first, move.first.second, move.second.first, move.second.second);
        }
        if (!alive.expired()) game.Frames(10);
    });
    return 0;
}
