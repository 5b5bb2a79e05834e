#include "support/scene/MiniGameSolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "engine/EngineContext.h"
#include "engine/XMLDocument.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/CGUIEntity.h"
#include "graphics/hgeSprite.h"
#include "minigames/CBrickEntity.h"
#include "minigames/CBricksField.h"
#include "minigames/MemoryScreen.h"
#include "minigames/Puzzle2tScreen.h"
#include "minigames/PuzzlePiece.h"
#include "minigames/PuzzleScreen.h"
#include "minigames/RepeatScreen.h"
#include "platform/FrameDriver.h"
#include "platform/hge.h"
#include "screens/HelpScreen.h"
#include "support/TestInput.h"

using ZOLTFramework::CButtonEntity;
using ZOLTFramework::CEntity;
using ZOLTFramework::CSpriteEntity;

namespace {

HGE* Hge() {
    ZOLTFramework::EngineContext* context = ZOLTFramework::EngineContext::Current();
    return context ? context->GetHGE() : nullptr;
}

EntityManager* Manager() {
    ZOLTFramework::EngineContext* context = ZOLTFramework::EngineContext::Current();
    return context ? context->GetEntityManager() : nullptr;
}

CEntity* TopScreen() {
    EntityManager* manager = Manager();
    return manager ? manager->GetTopScreen() : nullptr;
}

bool Contains(const std::vector<PuzzlePiece*>& pieces, const PuzzlePiece* piece) {
    return std::find(pieces.begin(), pieces.end(), piece) != pieces.end();
}

// The entities of type T below the entity.
template <class T>
std::vector<T*> Subtree(const CEntity* top) {
    std::vector<T*> found;
    std::vector<const CEntity*> pending(1, top);
    while (!pending.empty()) {
        const CEntity* entity = pending.back();
        pending.pop_back();
        for (CEntity* child : entity->GetChildren()) {
            pending.push_back(child);
            if (T* typed = dynamic_cast<T*>(child)) found.push_back(typed);
        }
    }
    return found;
}

// A screen point on an opaque pixel of the piece where `top` answers that
// piece (it is not covered there), searched outwards from its position.
template <class Top>
bool UncoveredPoint(const PuzzlePiece* piece, Top top, float* px, float* py) {
    for (float r = 0.0f; r < 90.0f; r += 2.0f)
        for (float a = 0.0f; a < 6.28f; a += 0.3f) {
            const float dx = r * std::cos(a), dy = r * std::sin(a);
            if (!piece->HitTest(dx, dy)) continue;
            *px = piece->GetAbsoluteX() + dx;
            *py = piece->GetAbsoluteY() + dy;
            if (top(*px, *py) == piece) return true;
        }
    return false;
}

bool FreePoint(const PuzzleScreen* screen, const PuzzlePiece* piece, float* px, float* py) {
    return UncoveredPoint(piece, [screen](float x, float y) { return screen->PieceAt(x, y); }, px, py);
}

bool FreePoint(const Puzzle2tScreen* screen, const PuzzlePiece* piece, float* px, float* py) {
    return UncoveredPoint(
        piece,
        [screen](float x, float y) -> const PuzzlePiece* {
            std::vector<PuzzlePiece*> under;
            screen->PieceAt(x, y, under);
            return under.empty() ? nullptr : under.back();
        },
        px, py);
}

// The piece stands at its target angle (within a hundredth of a radian).
bool AngleHome(const PuzzlePiece* piece) {
    const float d = std::remainder(piece->GetRotation() - piece->targetAngle, PuzzlePiece::kTwoPi);
    return std::fabs(d) < 0.01f;
}

// Drags a piece from an uncovered point by the distance to (x, y) in its
// parent's units.
template <class Screen>
bool DragPieceTo(const Screen* screen, const PuzzlePiece* piece, float x, float y) {
    float px = 0.0f, py = 0.0f;
    if (!FreePoint(screen, piece, &px, &py)) return false;
    MiniGameInput::Drag(px, py, px + x - piece->GetX(), py + y - piece->GetY());
    return true;
}

// Torn pieces: each turned upright with right clicks, then dragged home, or
// offBy pixels beside it.
void SolveDragPuzzle(PuzzleScreen* screen, float offBy) {
    int drops = 0;
    for (int round = 0; round < 8 && !screen->GetLoosePieces().empty(); ++round) {
        for (PuzzlePiece* piece : std::vector<PuzzlePiece*>(screen->GetLoosePieces())) {
            if (!Contains(screen->GetLoosePieces(), piece)) continue;
            float px = 0.0f, py = 0.0f;
            for (int turn = 0; turn < 8 && !AngleHome(piece); ++turn) {
                if (!FreePoint(screen, piece, &px, &py)) break;
                MiniGameInput::RightClick(px, py);
                MiniGameInput::Run(0.4f);  // a turn takes 0.3 s
            }
            const float away = 2.4f * float(drops++);
            if (AngleHome(piece))
                DragPieceTo(screen, piece, piece->targetX + offBy * std::cos(away),
                            piece->targetY + offBy * std::sin(away));
        }
    }
}

// Alike pieces clicked one after the other.
void SolvePairs(PuzzleScreen* screen) {
    for (int round = 0; round < 8 && !screen->IsOkShown(); ++round) {
        std::map<std::string, std::vector<PuzzlePiece*>> byPicture;
        for (PuzzlePiece* piece : screen->GetLoosePieces()) byPicture[piece->GetName()].push_back(piece);
        for (auto& entry : byPicture) {
            if (entry.second.size() < 2) continue;
            float ax = 0, ay = 0, bx = 0, by = 0;
            if (!FreePoint(screen, entry.second[0], &ax, &ay) || !FreePoint(screen, entry.second[1], &bx, &by))
                continue;
            MiniGameInput::Click(ax, ay);
            MiniGameInput::Click(bx, by);
        }
    }
}

// Every difference clicked in the other half of the panel, where the
// mirrored cursor shows it.
void SolveDifferences(PuzzleScreen* screen) {
    // The panel: the widest picture, docked from the start.
    const PuzzlePiece* panel = nullptr;
    for (const PuzzlePiece* piece : Subtree<PuzzlePiece>(screen))
        if (!Contains(screen->GetLoosePieces(), piece) &&
            (!panel || piece->GetPictureWidth() > panel->GetPictureWidth()))
            panel = piece;
    const float half = panel && panel->GetPicture() ? panel->GetPicture()->GetHotSpotX() : 0.0f;
    for (PuzzlePiece* piece : std::vector<PuzzlePiece*>(screen->GetLoosePieces())) {
        float px = 0.0f, py = 0.0f;
        if (!FreePoint(screen, piece, &px, &py)) continue;
        if (panel) px = px < panel->GetAbsoluteX() ? px + half : px - half;
        MiniGameInput::Click(px, py);
    }
}

void SolvePuzzle(PuzzleScreen* screen, float offBy) {
    if (screen->FindChild<CSpriteEntity>("DifferenceCursor"))
        SolveDifferences(screen);
    else if (XMLDocument file("MiniGame"); file.Load(screen->GetName()) && file.GetRoot() &&
                                            file.GetRoot()->GetBoolAttribute("MatchPairs"))
        SolvePairs(screen);
    else
        SolveDragPuzzle(screen, offBy);
}

// Each thing dragged to a free place of its kind; with a mistake, the first
// goes to a place of the other kind first.
void SolveRack(Puzzle2tScreen* screen, bool mistakeFirst) {
    auto slotsFor = [screen](const PuzzlePiece* piece, bool right) -> const std::vector<Puzzle2tScreen::Slot>& {
        const bool tool = Puzzle2tScreen::IsToolName(piece->GetName());
        return tool != right ? screen->GetLeftSlots() : screen->GetRightSlots();
    };
    if (mistakeFirst && !screen->GetPlayablePieces().empty()) {
        PuzzlePiece* piece = screen->GetPlayablePieces().front();
        for (PuzzlePiece* candidate : screen->GetPlayablePieces())
            if (Puzzle2tScreen::IsToolName(candidate->GetName())) {
                piece = candidate;
                break;
            }
        const auto& wrong = slotsFor(piece, true);
        if (!wrong.empty()) DragPieceTo(screen, piece, wrong.front().first, wrong.front().second);
        MiniGameInput::Run(0.2f);
    }
    for (int guard = 0; guard < 64 && !screen->GetPlayablePieces().empty(); ++guard) {
        PuzzlePiece* piece = screen->GetPlayablePieces().front();
        const auto& slots = slotsFor(piece, false);
        if (slots.empty() || !DragPieceTo(screen, piece, slots.front().first, slots.front().second)) break;
    }
}

// The plaques: the palette buttons, named by their symbol.
std::map<int, CEntity*> Plaques(CEntity* screen) {
    std::map<int, CEntity*> plaques;
    for (ZOLTFramework::CGUIEntity* child : Subtree<ZOLTFramework::CGUIEntity>(screen)) {
        const std::string n = child->GetName();
        if (!n.empty() && std::isdigit(static_cast<unsigned char>(n[0]))) plaques[std::atoi(n.c_str())] = child;
    }
    return plaques;
}

// Each shown prefix repeated on the plaques; with a mistake, a wrong plaque
// is pressed after the first show.
void SolveRepeat(RepeatScreen* screen, bool mistakeFirst) {
    std::map<int, CEntity*> plaques = Plaques(screen);
    if (plaques.empty()) {
        ADD_FAILURE() << "the repeat game has no plaques";
        return;
    }
    auto ready = [screen] { return screen->GetShowTime() == 0.0f && screen->GetWaitTime() == 0.0f; };
    if (mistakeFirst && MiniGameInput::RunUntil(ready, 10.0f)) {
        const int wrong = (screen->GetSequence()[0] + 1) % int(plaques.size());
        MiniGameInput::ClickEntity(plaques[wrong]);
    }
    // A new sequence shows one symbol, each correct repetition one more.
    for (size_t shown = 1; shown <= screen->GetSequence().size(); ++shown) {
        if (!MiniGameInput::RunUntil(ready, 10.0f)) break;
        for (size_t i = 0; i < shown; ++i)
            MiniGameInput::ClickEntity(plaques[screen->GetSequence()[size_t(i)]]);
    }
}

// The bottles turned up two of a kind at a time.
void SolveMemory(MemoryScreen* screen) {
    ZOLTFramework::CBricksField* field = screen->FindChild<ZOLTFramework::CBricksField>("BricksField");
    if (!field) return;
    MiniGameInput::Run(1.0f);  // the bottles pop in
    std::map<int, std::vector<ZOLTFramework::CBrickEntity*>> byKind;
    for (ZOLTFramework::CBrickEntity* brick : field->GetBricks()) byKind[brick->GetKind()].push_back(brick);
    for (auto& entry : byKind) {
        if (entry.second.size() != 2) continue;
        for (ZOLTFramework::CBrickEntity* brick : entry.second)
            MiniGameInput::Click(brick->GetAbsoluteX(), brick->GetAbsoluteY());
        MiniGameInput::RunUntil(
            [&] {
                const auto& left = field->GetBricks();
                return std::find(left.begin(), left.end(), entry.second[0]) == left.end() &&
                       std::find(left.begin(), left.end(), entry.second[1]) == left.end();
            },
            5.0f);
    }
}

// The game stands fully faded in and is not paused under a window.
bool Playable(MiniGameScreen* screen) {
    return MiniGameInput::RunUntil([screen] { return screen->GetOpacity() >= 1.0f && !screen->IsPausedInChain(); },
                                   5.0f);
}

}  // namespace

namespace MiniGameInput {

void Run(float seconds) {
    float t = 0.0f;
    for (int guard = 0; guard < 100000; ++guard) {
        if (FrameDriver::RunFrames(1) == 0) return;
        HGE* hge = Hge();
        const float dt = hge ? hge->Timer_GetDelta() : 0.0f;
        t += dt > 0.0f ? dt : 1.0f / 300.0f;
        if (t >= seconds) return;
    }
}

bool RunUntil(const std::function<bool()>& test, float seconds) {
    float t = 0.0f;
    for (int guard = 0; guard < 100000 && t < seconds; ++guard) {
        if (test()) return true;
        if (FrameDriver::RunFrames(1) == 0) break;
        HGE* hge = Hge();
        const float dt = hge ? hge->Timer_GetDelta() : 0.0f;
        t += dt > 0.0f ? dt : 1.0f / 300.0f;
    }
    return test();
}

namespace {
void ClickWith(int button, float x, float y) {
    TestInput::Move(x, y);
    FrameDriver::RunFrames(1);
    TestInput::Key(InputEvent::Press, button);
    FrameDriver::RunFrames(2);
}
}  // namespace

void Click(float x, float y) { ClickWith(HGEK_LBUTTON, x, y); }

void RightClick(float x, float y) { ClickWith(HGEK_RBUTTON, x, y); }

void Drag(float fromX, float fromY, float toX, float toY) {
    TestInput::Move(fromX, fromY);
    FrameDriver::RunFrames(1);
    TestInput::Key(InputEvent::Down, HGEK_LBUTTON);
    FrameDriver::RunFrames(1);
    TestInput::Move(toX, toY);
    FrameDriver::RunFrames(1);
    TestInput::Key(InputEvent::Up, HGEK_LBUTTON);
    FrameDriver::RunFrames(1);
}

void ClickEntity(const CEntity* entity) {
    const auto* gui = dynamic_cast<const ZOLTFramework::CGUIEntity*>(entity);
    if (!gui) {
        ADD_FAILURE() << "not a widget to click";
        return;
    }
    const hgeRect& r = gui->GetRect();
    Click((r.x1 + r.x2) * 0.5f, (r.y1 + r.y2) * 0.5f);
}

}  // namespace MiniGameInput

MiniGameScreen* WaitForMiniGame(float seconds) {
    MiniGameScreen* found = nullptr;
    MiniGameInput::RunUntil(
        [&found] {
            EntityManager* manager = Manager();
            if (!manager) return false;
            for (CEntity* screen : manager->GetScreenStack())
                if (auto* game = dynamic_cast<MiniGameScreen*>(screen))
                    if (!game->IsDead() && !game->HasReported()) found = game;
            return found != nullptr;
        },
        seconds);
    EXPECT_NE(found, nullptr) << "no mini-game opened";
    return found;
}

bool ConfirmMiniGameHelp(MiniGameScreen* screen) {
    auto helpOnTop = [] { return dynamic_cast<HelpScreen*>(TopScreen()) != nullptr; };
    if (!MiniGameInput::RunUntil(helpOnTop, 10.0f)) {
        ADD_FAILURE() << "the mini-game " << screen->GetName() << " opened no help window";
        return false;
    }
    for (int tries = 0; tries < 10 && helpOnTop(); ++tries) {
        TestInput::Key(InputEvent::Press, HGEK_ENTER);
        MiniGameInput::Run(0.3f);
    }
    const bool back = MiniGameInput::RunUntil([&] { return TopScreen() == screen && !screen->IsPausedInChain(); }, 5.0f);
    EXPECT_TRUE(back) << "the help window of " << screen->GetName() << " did not give the game back";
    return back;
}

bool SolveMiniGame(MiniGameScreen* screen, const MiniGameSolveOptions& options) {
    if (!screen || !Playable(screen)) {
        ADD_FAILURE() << "the mini-game is not there to play";
        return false;
    }
    if (auto* puzzle = dynamic_cast<PuzzleScreen*>(screen))
        SolvePuzzle(puzzle, options.offBy);
    else if (auto* rack = dynamic_cast<Puzzle2tScreen*>(screen))
        SolveRack(rack, options.mistakeFirst);
    else if (auto* repeat = dynamic_cast<RepeatScreen*>(screen))
        SolveRepeat(repeat, options.mistakeFirst);
    else if (auto* memory = dynamic_cast<MemoryScreen*>(screen))
        SolveMemory(memory);
    // A won game shows its Ok button (the repeat game once its finish picture is in).
    const bool solved = MiniGameInput::RunUntil([screen] { return screen->IsOkShown(); }, 5.0f);
    EXPECT_TRUE(solved) << "the mini-game " << screen->GetName() << " is not solved";
    return solved;
}

bool SkipMiniGame(MiniGameScreen* screen) {
    CButtonEntity* skip = screen ? screen->FindChild<CButtonEntity>("Skip") : nullptr;
    if (!skip || !Playable(screen)) {
        ADD_FAILURE() << "no Skip button to press";
        return false;
    }
    MiniGameInput::ClickEntity(skip);
    const bool shown = MiniGameInput::RunUntil([screen] { return screen->IsOkShown(); }, 10.0f);
    EXPECT_TRUE(shown) << "the skipped mini-game " << screen->GetName() << " shows no Ok";
    return shown;
}

bool PutOffMiniGame(MiniGameScreen* screen, bool skipInFadeOut) {
    CButtonEntity* later = screen ? screen->FindChild<CButtonEntity>("SolveLater") : nullptr;
    if (!later || !Playable(screen)) {
        ADD_FAILURE() << "no Solve later button to press";
        return false;
    }
    MiniGameInput::ClickEntity(later);
    CButtonEntity* skip = screen->FindChild<CButtonEntity>("Skip");
    if (skipInFadeOut && skip) MiniGameInput::ClickEntity(skip);
    const bool reported = MiniGameInput::RunUntil([screen] { return screen->HasReported(); }, 10.0f);
    EXPECT_TRUE(reported) << "the mini-game " << screen->GetName() << " was not put off";
    return reported;
}

bool PressMiniGameOk(MiniGameScreen* screen, const std::function<void()>& eachFrame) {
    if (!screen || !MiniGameInput::RunUntil([screen] { return screen->IsOkShown(); }, 10.0f)) {
        ADD_FAILURE() << "no Ok button";
        return false;
    }
    MiniGameInput::Run(2.0f);  // slid in and pulsing: it stands still enough to click
    MiniGameInput::ClickEntity(screen->FindChild<CButtonEntity>("Ok"));
    const bool reported = MiniGameInput::RunUntil(
        [&] {
            if (screen->HasReported()) return true;
            if (eachFrame) eachFrame();
            return false;
        },
        10.0f);
    EXPECT_TRUE(reported) << "the mini-game " << screen->GetName() << " did not close";
    return reported;
}

bool PlayMiniGameThrough(MiniGameScreen* screen, const MiniGameSolveOptions& options) {
    return ConfirmMiniGameHelp(screen) && SolveMiniGame(screen, options) && PressMiniGameOk(screen);
}
