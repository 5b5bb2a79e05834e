// The game's own six mini-games, opened from their files and played through
// with a fixed seed and positions read from the screens.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

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

using ZOLTFramework::CBrickEntity;

namespace {

bool HaveGame(const std::string& path) { return std::ifstream(path).good(); }

#define NEED_GAME(path) \
    if (!HaveGame(path)) GTEST_SKIP() << path << " is not there yet"

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

// A point on the piece where it is the topmost loose piece, if any.
bool FreePoint(const PuzzleScreen* screen, const PuzzlePiece* piece, float* px, float* py) {
    for (float r = 0.0f; r < 80.0f; r += 2.0f)
        for (float a = 0.0f; a < 6.28f; a += 0.3f) {
            const float dx = r * std::cos(a), dy = r * std::sin(a);
            if (!piece->HitTest(dx, dy)) continue;
            *px = piece->GetAbsoluteX() + dx;
            *py = piece->GetAbsoluteY() + dy;
            if (screen->PieceAt(*px, *py) == piece) return true;
        }
    return false;
}

void PressOk(MiniGameTestEngine& engine, MiniGameScreen* screen) {
    ASSERT_TRUE(engine.StepUntil([&] { return screen->IsOkShown(); }));
    engine.Step(40);  // slid in and pulsed
    engine.ClickEntity(screen->GetOkButton());
    ASSERT_TRUE(engine.StepUntil([&] { return screen->HasReported(); }));
}

}  // namespace

// The torn letter: every scrap turned upright with right clicks and dragged
// home; then a second opening is skipped.
TEST(MiniGameContent, LetterSolvedThenSkipped) {
    const std::string path = "data/MiniGames/15.2.xml";
    NEED_GAME(path);
    MiniGameTestEngine engine(0.05f);
    MiniGameJournal level;
    auto* screen = Open<PuzzleScreen>(engine, path, &level);
    ASSERT_NE(screen, nullptr);
    ASSERT_EQ(screen->GetLoosePieces().size(), 6u);
    for (PuzzlePiece* piece : screen->GetLoosePieces()) EXPECT_NE(piece->GetRotation(), 0.0f);
    for (int round = 0; round < 12 && !screen->GetLoosePieces().empty(); ++round) {
        for (PuzzlePiece* piece : std::vector<PuzzlePiece*>(screen->GetLoosePieces())) {
            float px = 0, py = 0;
            for (int turn = 0; turn < 4 && piece->GetRotation() != 0.0f; ++turn) {
                if (!FreePoint(screen, piece, &px, &py)) break;
                engine.MoveMouse(px, py);
                engine.Step();
                engine.Press(HGEK_RBUTTON);
                engine.Step(6);
            }
            if (piece->GetRotation() != 0.0f || !FreePoint(screen, piece, &px, &py)) continue;
            engine.Drag(px, py, px + piece->targetX - piece->GetX(), py + piece->targetY - piece->GetY());
        }
    }
    EXPECT_TRUE(screen->GetLoosePieces().empty());
    EXPECT_EQ(screen->GetState(), kMiniGameSolved);
    PressOk(engine, screen);
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameFinished=" + path});

    MiniGameJournal again;
    auto* skipped = Open<PuzzleScreen>(engine, path, &again);
    engine.ClickEntity(skipped->GetSkipButton());
    ASSERT_TRUE(engine.StepUntil([&] { return skipped->GetState() == kMiniGameSkipped; }, 40));
    EXPECT_TRUE(skipped->GetLoosePieces().empty());
    PressOk(engine, skipped);
    EXPECT_EQ(again.Results(), std::vector<std::string>{"MiniGameSkip=" + path});
}

// The drawer: the pairs clicked away leave the pawn ticket, which wins.
TEST(MiniGameContent, PairsSolved) {
    const std::string path = "data/MiniGames/1.1.xml";
    NEED_GAME(path);
    MiniGameTestEngine engine(0.05f);
    MiniGameJournal level;
    auto* screen = Open<PuzzleScreen>(engine, path, &level);
    ASSERT_NE(screen, nullptr);
    std::map<std::string, std::vector<PuzzlePiece*>> byPicture;
    for (PuzzlePiece* piece : screen->GetLoosePieces()) byPicture[piece->GetName()].push_back(piece);
    for (auto& entry : byPicture) {
        if (entry.second.size() != 2) continue;
        for (PuzzlePiece* piece : entry.second) {
            float px = 0, py = 0;
            ASSERT_TRUE(FreePoint(screen, piece, &px, &py)) << piece->label;
            engine.Click(px, py);
        }
    }
    ASSERT_EQ(screen->GetState(), kMiniGameSolved);
    EXPECT_EQ(screen->GetDockedPieces().back()->label, "pawn_ticket");
    PressOk(engine, screen);
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameFinished=" + path});
}

// The two photographs: every difference clicked in the other print, under the
// mirrored cursor.
TEST(MiniGameContent, DifferencesSolved) {
    const std::string path = "data/MiniGames/4.1.xml";
    NEED_GAME(path);
    MiniGameTestEngine engine(0.05f);
    MiniGameJournal level;
    auto* screen = Open<PuzzleScreen>(engine, path, &level);
    ASSERT_NE(screen, nullptr);
    ASSERT_EQ(screen->GetDockedPieces().size(), 1u);  // the panel
    const PuzzlePiece* panel = screen->GetDockedPieces()[0];
    const float half = panel->GetPicture() ? panel->GetPicture()->GetHotSpotX() : 0.0f;
    ASSERT_EQ(screen->GetLoosePieces().size(), 5u);
    for (PuzzlePiece* piece : std::vector<PuzzlePiece*>(screen->GetLoosePieces())) {
        float px = 0, py = 0;
        ASSERT_TRUE(FreePoint(screen, piece, &px, &py));
        const float mirrored = px < panel->GetX() ? px + half : px - half;
        engine.Click(mirrored, py);
        EXPECT_FALSE(screen->GetDifferenceCursor()->IsHidden());
    }
    ASSERT_EQ(screen->GetState(), kMiniGameSolved);
    PressOk(engine, screen);
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameFinished=" + path});
}

// The rack: the truncheon dropped in the chest first (it goes back and then
// scores 500), everything else 1000; then a second opening is put off with
// Skip pressed in its fade-out.
TEST(MiniGameContent, RackSolvedThenPutOff) {
    const std::string path = "data/MiniGames/2.2.xml";
    NEED_GAME(path);
    MiniGameTestEngine engine(0.05f);
    MiniGameJournal level;
    auto* screen = Open<Puzzle2tScreen>(engine, path, &level);
    ASSERT_NE(screen, nullptr);
    ASSERT_NE(screen->GetCleaner(), nullptr);
    const size_t things = screen->GetPlayablePieces().size();
    auto drag = [&](PuzzlePiece* piece, float tx, float ty) {
        float px = 0, py = 0;
        ASSERT_TRUE(OpaquePoint(piece, &px, &py));
        std::vector<PuzzlePiece*> under;
        screen->PieceAt(px, py, under);
        ASSERT_EQ(under.back(), piece);
        engine.Drag(px, py, px + tx - piece->GetX(), py + ty - piece->GetY());
    };
    PuzzlePiece* truncheon = nullptr;
    for (PuzzlePiece* piece : screen->GetPlayablePieces())
        if (piece->GetName().find("dubinko") != std::string::npos) truncheon = piece;
    ASSERT_NE(truncheon, nullptr);
    const Puzzle2tScreen::Slot chest = screen->GetRightSlots().front();
    drag(truncheon, chest.first, chest.second);
    EXPECT_FLOAT_EQ(truncheon->GetX(), truncheon->targetX);
    while (!screen->GetPlayablePieces().empty()) {
        PuzzlePiece* piece = screen->GetPlayablePieces().front();
        const bool tool = Puzzle2tScreen::IsToolName(piece->GetName());
        ASSERT_FALSE((tool ? screen->GetLeftSlots() : screen->GetRightSlots()).empty());
        const Puzzle2tScreen::Slot slot = (tool ? screen->GetLeftSlots() : screen->GetRightSlots()).front();
        drag(piece, slot.first, slot.second);
        ASSERT_TRUE(std::find(screen->GetPlayablePieces().begin(), screen->GetPlayablePieces().end(), piece) ==
                    screen->GetPlayablePieces().end());
    }
    EXPECT_EQ(level.Count("AddItemScore=500"), 1);
    EXPECT_EQ(level.Count("AddItemScore=1000"), int(things) - 1);
    EXPECT_EQ(screen->GetState(), kMiniGameSolved);
    PressOk(engine, screen);
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameFinished=" + path});

    MiniGameJournal later;
    auto* putOff = Open<Puzzle2tScreen>(engine, path, &later);
    engine.ClickEntity(putOff->GetSolveLaterButton());
    engine.ClickEntity(putOff->GetSkipButton());
    ASSERT_TRUE(engine.StepUntil([&] { return putOff->HasReported(); }));
    EXPECT_EQ(later.Results(), std::vector<std::string>{"MiniGameSolveLater=" + path});
}

// The signal plaques: one wrong press starts over, then the sequence is
// repeated round by round on the plaques until the lock opens.
TEST(MiniGameContent, PlaquesRepeatedAfterOneWrongPress) {
    const std::string path = "data/MiniGames/5.2.xml";
    NEED_GAME(path);
    MiniGameTestEngine engine(0.1f);
    MiniGameJournal level;
    auto* screen = Open<RepeatScreen>(engine, path, &level);
    ASSERT_NE(screen, nullptr);
    std::map<int, ZOLTFramework::CGUIEntity*> plaques;
    std::vector<ZOLTFramework::CEntity*> pending(1, screen);
    while (!pending.empty()) {
        ZOLTFramework::CEntity* entity = pending.back();
        pending.pop_back();
        for (ZOLTFramework::CEntity* child : entity->GetChildren()) {
            pending.push_back(child);
            const std::string& n = child->GetName();
            if (!n.empty() && std::isdigit(static_cast<unsigned char>(n[0])))
                plaques[std::atoi(n.c_str())] = dynamic_cast<ZOLTFramework::CGUIEntity*>(child);
        }
    }
    ASSERT_EQ(plaques.size(), 5u);
    ASSERT_TRUE(engine.StepUntil([&] { return screen->GetShowTime() == 0.0f; }, 40));
    engine.ClickEntity(plaques[(screen->GetSequence()[0] + 1) % 5]);
    // A new sequence: one symbol shown for 3.0 s (the click's frames have begun it).
    EXPECT_EQ(screen->GetShownLength(), 1);
    EXPECT_GT(screen->GetShowTime(), 2.7f);
    const int cells = screen->GetCellNumber();
    for (int shown = 1; shown <= cells; ++shown) {
        ASSERT_TRUE(engine.StepUntil([&] { return screen->GetShowTime() == 0.0f && screen->GetWaitTime() == 0.0f; }, 60));
        ASSERT_EQ(screen->GetShownLength(), shown);
        for (int i = 0; i < shown; ++i) engine.ClickEntity(plaques[screen->GetSequence()[size_t(i)]]);
    }
    EXPECT_EQ(screen->GetState(), kMiniGameSolved);
    PressOk(engine, screen);
    EXPECT_FLOAT_EQ(screen->GetFinishPicture()->GetOpacity(), 1.0f);
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameFinished=" + path});
}

// The cellar bottles: turned up in pairs until the shelf is empty; a second
// opening is skipped.
TEST(MiniGameContent, BottlesSolvedThenSkipped) {
    const std::string path = "data/MiniGames/6.2.xml";
    NEED_GAME(path);
    MiniGameTestEngine engine(0.05f);
    MiniGameJournal level;
    auto* screen = Open<MemoryScreen>(engine, path, &level);
    ASSERT_NE(screen, nullptr);
    ASSERT_EQ(screen->GetField()->GetBricks().size(), 12u);
    engine.Step(20);
    std::map<int, std::vector<CBrickEntity*>> byKind;
    for (CBrickEntity* brick : screen->GetField()->GetBricks()) byKind[brick->GetKind()].push_back(brick);
    for (auto& entry : byKind) {
        ASSERT_EQ(entry.second.size(), 2u);
        for (CBrickEntity* brick : entry.second) engine.Click(brick->GetAbsoluteX(), brick->GetAbsoluteY());
        engine.Step(30);
    }
    EXPECT_EQ(screen->GetState(), kMiniGameSolved);
    PressOk(engine, screen);
    EXPECT_EQ(level.Results(), std::vector<std::string>{"MiniGameFinished=" + path});

    MiniGameJournal again;
    auto* skipped = Open<MemoryScreen>(engine, path, &again);
    engine.ClickEntity(skipped->GetSkipButton());
    PressOk(engine, skipped);
    EXPECT_EQ(again.Results(), std::vector<std::string>{"MiniGameSkip=" + path});
}
