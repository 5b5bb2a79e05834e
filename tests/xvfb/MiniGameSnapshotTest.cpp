// The six mini-games in a real (virtual) window with the game's art, each
// caught in play: the letter half assembled, the drawer with a selected
// button, the photographs with a ringed difference, the rack with a tool on
// its hook, the plaques showing their first signal, two open bottles. The
// snapshots are kept in snapshots/ beside the test program.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "entities/core/CSpriteEntity.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "minigames/CBrickEntity.h"
#include "minigames/CBricksField.h"
#include "minigames/MemoryScreen.h"
#include "minigames/OpenMiniGame.h"
#include "minigames/Puzzle2tScreen.h"
#include "minigames/PuzzlePiece.h"
#include "minigames/PuzzleScreen.h"
#include "minigames/RepeatScreen.h"
#include "platform/FrameDriver.h"
#include "profiles/PlayerManager.h"
#include "SnapshotPicture.h"
#include "support/scene/MiniGameSolver.h"
#include "WindowTestEngine.h"

using ZOLTFramework::CBrickEntity;

namespace {

class MiniGameWindowEngine : public WindowTestEngine {
public:
    explicit MiniGameWindowEngine(const TempDir& dir) : WindowTestEngine(dir) {
        UseResources();
        UseEnglishText();
        UseGameFonts();
        if (started) GetHGE()->Random_Seed(11);
    }
    ~MiniGameWindowEngine() override { PlayerManager::Instance()->Timer->Clear(); }
};

class Quiet : public ZOLTFramework::CQuestionListener {};

#define OPEN_WINDOW(file)                                                                      \
    if (!HasDisplay()) GTEST_SKIP() << "no X display";                                         \
    WindowFolder folder;                                                                       \
    MiniGameWindowEngine engine(folder.dir);                                                   \
    ASSERT_TRUE(engine.started) << engine.GetHGE()->System_GetErrorMessage();                  \
    if (!std::filesystem::exists(file)) GTEST_SKIP() << "the mini-game art is not there yet"; \
    Quiet level

// Pixels of the box around (x, y) for which the colour test holds.
template <class Test>
int Around(const Picture& pic, float x, float y, int half, Test test) {
    return pic.Count(int(x) - half, int(y) - half, int(x) + half, int(y) + half, test);
}

// Pixels of the box that differ from the other picture by more than a little.
int Changed(const Picture& a, const Picture& b, float x, float y, int half) {
    int n = 0;
    for (int py = int(y) - half; py < int(y) + half; ++py)
        for (int px = int(x) - half; px < int(x) + half; ++px) {
            if (px < 0 || py < 0 || px >= a.w || py >= a.h) continue;
            const uint32_t ca = a.At(px, py), cb = b.At(px, py);
            const int d = std::abs(Picture::Red(ca) - Picture::Red(cb)) + std::abs(Picture::Green(ca) - Picture::Green(cb)) +
                          std::abs(Picture::Blue(ca) - Picture::Blue(cb));
            n += d > 60 ? 1 : 0;
        }
    return n;
}

bool Light(int r, int g, int b) { return r + g + b > 540; }
bool Red(int r, int g, int b) { return r > 120 && r > g + 50 && r > b + 30; }
bool Lit(int r, int g, int b) { return r + g + b > 90; }
bool Brass(int r, int g, int b) { return r > 120 && r > b + 60 && g > b + 30; }

void Dock(PuzzleScreen* screen, PuzzlePiece* piece) {
    piece->SetRotation(0.0f);
    piece->SetPosXY(piece->targetX, piece->targetY);
    screen->OnPieceDropped(piece);
}

}  // namespace

TEST(MiniGameSnapshot, LetterHalfAssembled) {
    OPEN_WINDOW("data/MiniGames/15.2.xml");
    auto* screen = static_cast<PuzzleScreen*>(OpenMiniGame("data/MiniGames/15.2.xml", &level));
    engine.RunFor(0.6f);
    const Picture before = engine.Snapshot(folder.dir, "minigame_letter_start.png");
    std::vector<PuzzlePiece*> home;
    for (int i = 0; i < 3; ++i) {
        home.push_back(screen->GetLoosePieces().front());
        Dock(screen, home.back());
    }
    ASSERT_EQ(screen->GetLoosePieces().size(), 2u) << "the first scrap from the start and three more docked";
    engine.RunFor(0.6f);
    const Picture shot = engine.Snapshot(folder.dir, "minigame_letter.png");
    for (PuzzlePiece* piece : home) {
        EXPECT_GT(Around(shot, piece->targetX, piece->targetY, 8, Light), 100) << piece->label << ": paper at its place";
        // Its brass pin, 64 left and 42 up of its centre, where no pin was before.
        EXPECT_GT(Around(shot, piece->targetX - 64, piece->targetY - 42, 4, Brass), 20) << piece->label << ": pinned";
        EXPECT_GT(Changed(before, shot, piece->targetX - 64, piece->targetY - 42, 4), 20) << piece->label;
    }
    EXPECT_GT(Changed(before, shot, home[0]->targetX, home[0]->targetY, 10), 0);
}

TEST(MiniGameSnapshot, DrawerWithASelection) {
    OPEN_WINDOW("data/MiniGames/1.1.xml");
    auto* screen = static_cast<PuzzleScreen*>(OpenMiniGame("data/MiniGames/1.1.xml", &level));
    engine.RunFor(0.6f);
    const Picture before = engine.Snapshot(folder.dir, "minigame_drawer_start.png");
    PuzzlePiece* piece = screen->GetLoosePieces().front();
    piece->SetColor(0xFF333333);
    piece->SetBlendMode(BLEND_COLORADD | BLEND_ALPHABLEND);
    engine.RunFor(0.1f);
    const Picture shot = engine.Snapshot(folder.dir, "minigame_drawer.png");
    EXPECT_EQ(screen->GetLoosePieces().size(), 17u);
    EXPECT_GT(Changed(before, shot, piece->GetX(), piece->GetY(), 10), 20) << "the selection brightens its picture";
    EXPECT_GT(Around(shot, 400, 300, 100, Lit), 30000) << "the drawer";
}

TEST(MiniGameSnapshot, PhotographsWithARingedDifference) {
    OPEN_WINDOW("data/MiniGames/4.1.xml");
    auto* screen = static_cast<PuzzleScreen*>(OpenMiniGame("data/MiniGames/4.1.xml", &level));
    engine.RunFor(0.6f);
    PuzzlePiece* found = screen->GetLoosePieces().front();
    Dock(screen, found);
    engine.RunFor(0.7f);
    const Picture shot = engine.Snapshot(folder.dir, "minigame_photos.png");
    EXPECT_GT(Around(shot, found->GetX(), found->GetY(), 30, Red), 30) << "the pencil ring";
}

TEST(MiniGameSnapshot, RackWithAToolOnItsHook) {
    OPEN_WINDOW("data/MiniGames/2.2.xml");
    auto* screen = static_cast<Puzzle2tScreen*>(OpenMiniGame("data/MiniGames/2.2.xml", &level));
    engine.RunFor(0.6f);
    const Picture before = engine.Snapshot(folder.dir, "minigame_rack_start.png");
    PuzzlePiece* tool = nullptr;
    for (PuzzlePiece* piece : screen->GetPlayablePieces())
        if (Puzzle2tScreen::IsToolName(piece->GetName())) tool = piece;
    ASSERT_NE(tool, nullptr);
    const Puzzle2tScreen::Slot hook = screen->GetLeftSlots().front();
    const float startX = tool->targetX, startY = tool->targetY;
    float dx = 0.0f;  // an opaque point of the tool to take it by
    while (dx < 60.0f && !tool->HitTest(dx, 0.0f)) dx += 3.0f;
    MiniGameInput::Drag(tool->GetAbsoluteX() + dx, tool->GetAbsoluteY(), hook.first + dx, hook.second);
    engine.RunFor(0.2f);
    const Picture shot = engine.Snapshot(folder.dir, "minigame_rack.png");
    EXPECT_GT(Changed(before, shot, hook.first, hook.second, 12), 20) << "the tool on its hook";
    EXPECT_GT(Changed(before, shot, startX, startY, 12), 20) << "its place empty";
}

TEST(MiniGameSnapshot, PlaquesShowingTheirFirstSignal) {
    OPEN_WINDOW("data/MiniGames/5.2.xml");
    auto* screen = static_cast<RepeatScreen*>(OpenMiniGame("data/MiniGames/5.2.xml", &level));
    engine.RunFor(0.8f);
    ASSERT_GT(screen->GetShowTime(), 0.0f);
    const Picture shot = engine.Snapshot(folder.dir, "minigame_plaques.png");
    engine.RunFor(2.6f);
    const Picture after = engine.Snapshot(folder.dir, "minigame_plaques_after.png");
    EXPECT_GT(Changed(shot, after, screen->CellX(0), screen->CellY(0), 20), 100) << "the first cell shows, then goes";
}

TEST(MiniGameSnapshot, TwoOpenBottles) {
    OPEN_WINDOW("data/MiniGames/6.2.xml");
    auto* screen = static_cast<MemoryScreen*>(OpenMiniGame("data/MiniGames/6.2.xml", &level));
    engine.RunFor(1.2f);
    const Picture closed = engine.Snapshot(folder.dir, "minigame_bottles_start.png");
    std::map<int, CBrickEntity*> oneOfEach;
    for (CBrickEntity* brick : screen->FindChild<ZOLTFramework::CBricksField>("BricksField")->GetBricks()) oneOfEach[brick->GetKind()] = brick;
    ASSERT_GE(oneOfEach.size(), 2u);
    CBrickEntity* first = oneOfEach.begin()->second;
    CBrickEntity* second = std::next(oneOfEach.begin())->second;
    screen->FindChild<ZOLTFramework::CBricksField>("BricksField")->OnBrickSelected(first);
    screen->FindChild<ZOLTFramework::CBricksField>("BricksField")->OnBrickSelected(second);
    engine.RunFor(0.5f);
    const Picture shot = engine.Snapshot(folder.dir, "minigame_bottles.png");
    EXPECT_GT(Changed(closed, shot, first->GetX(), first->GetY(), 12), 60) << "the first label";
    EXPECT_GT(Changed(closed, shot, second->GetX(), second->GetY(), 12), 60) << "the second label";
}
