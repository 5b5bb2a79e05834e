// The game's own six mini-games, opened from their files and played through
// with a fixed seed and positions read from the screens.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>

#include "entities/core/CSpriteEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "graphics/hgeSprite.h"
#include "MiniGameTestSupport.h"
#include "minigames/CBrickEntity.h"
#include "minigames/CBricksField.h"
#include "minigames/MemoryScreen.h"
#include "minigames/OpenMiniGame.h"
#include "minigames/Puzzle2tScreen.h"
#include "minigames/PuzzleScreen.h"
#include "minigames/RepeatScreen.h"
#include "support/scene/MiniGameSolver.h"

using ZOLTFramework::CSpriteEntity;

namespace {

// Opens the game and confirms its help the way the level does (it gets
// "ShowHelp" once the fade-in is over).
template <class T>
T* Open(MiniGameTestEngine& engine, const std::string& path, MiniGameJournal* level) {
    auto* screen = dynamic_cast<T*>(OpenMiniGame(path, level));
    EXPECT_NE(screen, nullptr);
    if (!screen) return nullptr;
    EXPECT_TRUE(engine.StepUntil([&] { return level->Count("ShowHelp=") == 1; }));
    engine.Step();
    return screen;
}

void PressOk(MiniGameScreen* screen) { ASSERT_TRUE(PressMiniGameOk(screen)); }

// Plays the open game through and checks it says so.
void Solve(MiniGameScreen* screen, MiniGameSolveOptions options = {}) {
    ASSERT_TRUE(SolveMiniGame(screen, options));
}

// Presses OK on the closing dialog: the level hears just `result` for the game.
void PressOkAndHear(MiniGameScreen* screen, const MiniGameJournal& level, const std::string& result) {
    PressOk(screen);
    EXPECT_EQ(level.Results(), std::vector<std::string>{result});
}

MiniGameSolveOptions MistakeFirst() {
    MiniGameSolveOptions options;
    options.mistakeFirst = true;
    return options;
}

// One game of the content on an engine of its own, heard by `level`.
class MiniGameContent : public ::testing::Test {
protected:
    // Opens the game file as the level does; null (and the test skipped) while
    // the file is not there yet, or null after a failure to open it.
    template <class T>
    T* Play(const std::string& file, float dt = 0.05f) {
        path = file;
        if (!std::ifstream(path).good()) {
            Skip();
            return nullptr;
        }
        engine.emplace(dt);
        return Open<T>(*engine, path, &level);
    }

    void Skip() { GTEST_SKIP() << path << " is not there yet"; }

    std::string path;
    std::optional<MiniGameTestEngine> engine;
    MiniGameJournal level;
};

}  // namespace

// The torn letter: the widest scrap lies in its place from the start, the
// others at quarter turns; each turned upright with right clicks and dropped
// 30 px beside its place (a letter laid together by eye) docks there with its
// pin; then a second opening is skipped.
TEST_F(MiniGameContent, LetterLaidTogetherByEyeThenSkipped) {
    auto* screen = Play<PuzzleScreen>("data/MiniGames/15.2.xml");
    if (!screen) return;
    std::vector<PuzzlePiece*> scraps;
    for (const char* label : {"scrap1", "scrap2", "scrap3", "scrap4", "scrap5", "scrap6"})
        scraps.push_back(PieceLabelled(screen, label));
    ASSERT_EQ(std::count(scraps.begin(), scraps.end(), nullptr), 0);
    PuzzlePiece* anchor = scraps.front();
    EXPECT_EQ(anchor->GetX(), anchor->targetX);
    EXPECT_EQ(anchor->GetY(), anchor->targetY);
    EXPECT_EQ(anchor->GetRotation(), 0.0f);
    ASSERT_EQ(screen->GetLoosePieces().size(), 5u);
    for (PuzzlePiece* piece : screen->GetLoosePieces()) EXPECT_NE(piece->GetRotation(), 0.0f);
    MiniGameSolveOptions byEye;
    byEye.offBy = 30.0f;
    ASSERT_NO_FATAL_FAILURE(Solve(screen, byEye));
    EXPECT_TRUE(screen->GetLoosePieces().empty());
    // The pin: a mark on every scrap docked in play, none on the anchor,
    // whose picture has its pin painted in.
    auto marks = [](const PuzzlePiece* piece) {
        return std::count_if(piece->GetChildren().begin(), piece->GetChildren().end(),
                             [](const auto* child) { return dynamic_cast<const CSpriteEntity*>(child) != nullptr; });
    };
    EXPECT_EQ(marks(anchor), 0);
    for (size_t i = 1; i < scraps.size(); ++i) {
        EXPECT_EQ(scraps[i]->GetX(), scraps[i]->targetX) << scraps[i]->label;
        EXPECT_EQ(marks(scraps[i]), 1) << scraps[i]->label;
    }
    PressOkAndHear(screen, level, "MiniGameFinished=" + path);

    MiniGameJournal again;
    auto* skipped = Open<PuzzleScreen>(*engine, path, &again);
    ASSERT_TRUE(SkipMiniGame(skipped));
    EXPECT_TRUE(skipped->IsOkShown());
    EXPECT_TRUE(skipped->GetLoosePieces().empty());
    PressOkAndHear(skipped, again, "MiniGameSkip=" + path);
}

// The drawer: the pairs clicked away leave the pawn ticket, which wins.
TEST_F(MiniGameContent, PairsSolved) {
    auto* screen = Play<PuzzleScreen>("data/MiniGames/1.1.xml");
    if (!screen) return;
    ASSERT_NO_FATAL_FAILURE(Solve(screen));
    ASSERT_NE(PieceLabelled(screen, "pawn_ticket"), nullptr);
    EXPECT_TRUE(screen->GetLoosePieces().empty()) << "the pawn ticket docked after the pairs";
    PressOkAndHear(screen, level, "MiniGameFinished=" + path);
}

// The two photographs: every difference clicked in the other print, under the
// mirrored cursor.
TEST_F(MiniGameContent, DifferencesSolved) {
    auto* screen = Play<PuzzleScreen>("data/MiniGames/4.1.xml");
    if (!screen) return;
    ASSERT_EQ(screen->GetLoosePieces().size(), 5u);
    for (PuzzlePiece* piece : screen->GetLoosePieces()) ASSERT_NE(piece->label, "photo_panel") << "the panel docked";
    ASSERT_NE(PieceLabelled(screen, "photo_panel"), nullptr);
    // Clicked in the other print, where the mirrored cursor shows them.
    ASSERT_NO_FATAL_FAILURE(Solve(screen));
    EXPECT_FALSE(screen->FindChild<CSpriteEntity>("DifferenceCursor")->IsHidden());
    PressOkAndHear(screen, level, "MiniGameFinished=" + path);
}

// The rack: a tool dropped in the chest first (it goes back and then
// scores 500), everything else 1000; then a second opening is put off with
// Skip pressed in its fade-out.
TEST_F(MiniGameContent, RackSolvedThenPutOff) {
    auto* screen = Play<Puzzle2tScreen>("data/MiniGames/2.2.xml");
    if (!screen) return;
    ASSERT_NE(screen->FindPiece("Cleaner2_2"), nullptr);
    const size_t things = screen->GetPlayablePieces().size();
    ASSERT_NO_FATAL_FAILURE(Solve(screen, MistakeFirst()));
    EXPECT_EQ(level.Count("AddItemScore=500"), 1);
    EXPECT_EQ(level.Count("AddItemScore=1000"), int(things) - 1);
    PressOkAndHear(screen, level, "MiniGameFinished=" + path);

    MiniGameJournal later;
    auto* putOff = Open<Puzzle2tScreen>(*engine, path, &later);
    ASSERT_TRUE(PutOffMiniGame(putOff, true));
    EXPECT_EQ(later.Results(), std::vector<std::string>{"MiniGameSolveLater=" + path});
}

// The signal plaques: one wrong press starts over, then the sequence is
// repeated round by round on the plaques until the lock opens.
TEST_F(MiniGameContent, PlaquesRepeatedAfterOneWrongPress) {
    auto* screen = Play<RepeatScreen>("data/MiniGames/5.2.xml", 0.1f);
    if (!screen) return;
    ASSERT_NO_FATAL_FAILURE(Solve(screen, MistakeFirst()));
    PressOkAndHear(screen, level, "MiniGameFinished=" + path);
    EXPECT_FLOAT_EQ(screen->FindChild<CSpriteEntity>("FinishPicture")->GetOpacity(), 1.0f);
}

// The cellar bottles: turned up in pairs until the shelf is empty; a second
// opening is skipped.
TEST_F(MiniGameContent, BottlesSolvedThenSkipped) {
    auto* screen = Play<MemoryScreen>("data/MiniGames/6.2.xml");
    if (!screen) return;
    ASSERT_EQ(screen->FindChild<ZOLTFramework::CBricksField>("BricksField")->GetBricks().size(), 12u);
    ASSERT_NO_FATAL_FAILURE(Solve(screen));
    PressOkAndHear(screen, level, "MiniGameFinished=" + path);

    MiniGameJournal again;
    auto* skipped = Open<MemoryScreen>(*engine, path, &again);
    ASSERT_TRUE(SkipMiniGame(skipped));
    PressOkAndHear(skipped, again, "MiniGameSkip=" + path);
}
