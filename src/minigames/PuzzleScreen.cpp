#include "minigames/PuzzleScreen.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "engine/AudioManager.h"
#include "engine/Conversions.h"
#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "engine/FileNumbers.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "graphics/hgeSprite.h"
#include "minigames/MiniGameXml.h"
#include "minigames/PuzzlePiece.h"
#include "profiles/PlayerManager.h"

using ZOLTFramework::CAnimationEffector;
using ZOLTFramework::CEntity;
using ZOLTFramework::CSpriteEntity;

namespace {

const float kPi = 3.1415927410125732f;
const double kTwoPiDouble = 6.2831854820251465;

MiniGameStyle PuzzleStyle() {
    MiniGameStyle style;
    style.startOpacity = 0.3f;
    style.solveLater = {"InGameButton", 449.0f, 540.0f, 1090.0f, "SOLVE_LATER", -5.0f, 3.0f, 0.9f, 110.0f, true, -7.0f, false};
    style.skip = {"SkipButton", 185.0f, 55.0f, 1090.0f, "SKIP", 0.0f, 3.0f, 0.6f, 110.0f, true, -7.0f, true};
    style.ok = {"InGameButton", 449.0f, 550.0f, 1090.0f, "OK", -4.0f, -1.0f, 1.0f, 110.0f, false, 0.0f, false};
    style.puzzleExtras = true;
    return style;
}

float Mod360(float degrees) {
    float m = std::fmod(degrees, 360.0f);
    if (m < 0.0f) m += 360.0f;
    return m;
}

}  // namespace

PuzzleScreen::PuzzleScreen(const std::string& path, ZOLTFramework::CQuestionListener* level)
    : MiniGameScreen(path, level, PuzzleStyle()) {
    for (const auto& child : root->GetChildren())
        if (child && child->GetName() == "IgnoreRandomAngle")
            ignoredDegrees.push_back(FileNumbers::Finite(child->GetValue(), 0.0f, "Mini-game " + HtmlLog::Shown(name) + ": &lt;IgnoreRandomAngle&gt;"));
    ReadOptions();
    LoadPieces(MiniGameXml::RequiredString(*root, "Scene", name));

    if (root->HasAttribute("IgnoreBiggestPiece") && widest) {
        widest->SetPosXY(widest->targetX, widest->targetY);
        widest->SetRotation(0.0f);
        DockSilently(widest);
    }
    if (showOnWin) {
        showOnWin->SetPosXY(showOnWin->targetX, showOnWin->targetY);
        showOnWin->SetRotation(0.0f);
        DockSilently(showOnWin);
        showOnWin->Hide();
    }
    const std::string startPos = root->GetStringAttribute("StartPosScene");
    if (!startPos.empty()) ReadStartPositions(startPos);

    idleRunning = true;
    RunIdle();
    Finish();
}

PuzzleScreen::~PuzzleScreen() = default;

void PuzzleScreen::ReadOptions() {
    showOnWinName = root->GetStringAttribute("ShowOnWin");
    rotateOnWin = root->GetBoolAttribute("RotateOnWin");
    movingEnabled = !root->GetBoolAttribute("DisableMoving");
    rotateOnDrag = root->GetBoolAttribute("RotateOnDrag");
    keepToolVisible = root->GetBoolAttribute("KeepToolVisible");
    dropOnClick = root->GetBoolAttribute("DropOnClick");
    matchPairs = root->GetBoolAttribute("MatchPairs");
    objToFind = root->GetStringAttribute("ObjToFind");
    matchMark = root->GetStringAttribute("OnMatchMark");
    differencePanelName = root->GetStringAttribute("DifferencePanel");
    finishPosAsStartPos = root->GetBoolAttribute("FinishPosAsStartPos");
    if (root->HasAttribute("DifferenceType")) {
        const std::string type = root->GetStringAttribute("DifferenceType");
        if (type == "Vertical") differenceType = 0;
        if (type == "Horizontal") differenceType = 1;
        differenceCursor = MakeSprite("Cursor", this, "difference cursor");
        if (differenceCursor) {
            differenceCursor->SetName("DifferenceCursor");
            differenceCursor->SetDepth(500.0f);
            differenceCursor->SetOpacity(0.7f);
            if (hgeSprite* look = differenceCursor->GetSprite()) look->SetBlendMode(BLEND_COLORADD | BLEND_ALPHABLEND);
            differenceCursor->SetColor(0xFF111111);
        }
    }
    rotatable = MiniGameXml::RequiredBool(*root, "IsRotatable", name);
    noScale = root->GetBoolAttribute("NoScale");
    scale = root->GetFloatAttribute("Scale", 0.78125f);
    dockDistance = MiniGameXml::RequiredFloat(*root, "MinDistToTargetToDock", name);
    dockAngle = MiniGameXml::RequiredFloat(*root, "MinDAngleToDock", name);
    boardX1 = MiniGameXml::RequiredFloat(*root, "RectX1", name);
    boardY1 = MiniGameXml::RequiredFloat(*root, "RectY1", name);
    boardX2 = MiniGameXml::RequiredFloat(*root, "RectX2", name);
    boardY2 = MiniGameXml::RequiredFloat(*root, "RectY2", name);
    if (root->HasAttribute("RandomAngleStep")) {
        angleStepDegrees = root->GetFloatAttribute("RandomAngleStep");
        // A step of 0 or less would divide by zero: the option counts as absent.
        if (angleStepDegrees > 0.0f) {
            hasAngleStep = true;
            rotationStep = angleStepDegrees * kPi / 180.0f;
            angleSteps = FileNumbers::Count(FileNumbers::ClampToInt(360.0 / angleStepDegrees),
                                            "Mini-game " + HtmlLog::Shown(name) + ": the angle steps of \"RandomAngleStep\"");
        } else {
            LogError("\"RandomAngleStep\" must be positive; it is ignored");
        }
    }
}

float PuzzleScreen::DrawStartAngle() {
    HGE* hge = ZOLTFramework::Services::Hge(engine);
    const float step = hasAngleStep ? angleStepDegrees : 90.0f;
    const int last = hasAngleStep ? angleSteps : 3;
    std::vector<int> allowed;
    for (int k = 0; k <= last; ++k) {
        const float degrees = Mod360(float(k) * step);
        bool ignored = false;
        for (float skip : ignoredDegrees)
            if (Mod360(skip) == degrees) ignored = true;
        if (!ignored) allowed.push_back(k);
    }
    if (allowed.empty()) return 0.0f;
    const int pick = hge ? hge->Random_Int(0, int(allowed.size()) - 1) : 0;
    const int k = allowed[size_t(pick)];
    if (hasAngleStep) return float(k) * step * kPi / 180.0f;
    return float(k) * (kPi / 2.0f);
}

void PuzzleScreen::LoadPieces(const std::string& sceneFile) {
    XMLDocument scene("scene");
    if (sceneFile.empty() || !scene.Load(sceneFile) || !scene.GetRoot()) {
        LogError("the piece scene cannot be read: " + HtmlLog::Shown(sceneFile));
        return;
    }
    const auto& sceneRoot = *scene.GetRoot();
    resGroup = sceneRoot.GetIntAttribute("res_group", -1);

    std::map<int, std::string> sprites, animations;
    bool anyPair = false;
    for (const auto& child : sceneRoot.GetChildren()) {
        if (!child) continue;
        if (child->GetName() == "unit") {
            const int id = MiniGameXml::ChildInt(*child, "id");
            const std::string sprite = MiniGameXml::ChildText(*child, "sprite");
            if (!sprite.empty())
                sprites[id] = sprite;
            else
                animations[id] = MiniGameXml::ChildText(*child, "animation");
        }
        if (child->GetName() == "pair") anyPair = true;
    }

    HGE* hge = ZOLTFramework::Services::Hge(engine);
    const bool highlight = !dropOnClick && ((!matchPairs && !anyPair) || keepToolVisible);
    size_t objects = 0;
    for (const auto& child : sceneRoot.GetChildren()) {
        if (!child || child->GetName() != "object") continue;
        if (FileNumbers::ListFull(objects++, "Mini-game " + HtmlLog::Shown(name) + ": the pieces")) break;
        const int unit = MiniGameXml::ChildInt(*child, "id");
        const bool animated = sprites.count(unit) == 0;
        if (animated && animations.count(unit) == 0) {
            LogError("an object names the unknown unit " + std::to_string(unit));
            continue;
        }
        const std::string resource = animated ? animations[unit] : sprites[unit];
        const float factor = noScale ? 1.0f : scale;
        const float tx = MiniGameXml::ChildFloat(*child, "x") * factor;
        const float ty = MiniGameXml::ChildFloat(*child, "y") * factor;
        if (!PuzzlePiece::IsDeclared(engine, resource, animated)) {
            LogError("the picture \"" + HtmlLog::Shown(resource) + "\" is not declared; its piece is left out");
            continue;
        }
        auto* piece = SpawnChild<PuzzlePiece>(resource, animated, tx, ty, 0.0f);
        piece->SetDepth(MiniGameXml::ChildFloat(*child, "z") + 200.0f);
        piece->label = MiniGameXml::ChildText(*child, "name");
        loose.push_back(piece);
        if (animated && resource != "eyes_14") idleAnimations.push_back(piece);

        if (highlight) Highlight(piece, 0xFF333333, BLEND_COLORADD | BLEND_ALPHABLEND);
        if (!noScale) piece->SetScale(scale);
        if (finishPosAsStartPos)
            piece->SetPosXY(tx, ty);
        else if (hge)
            piece->SetPosXY(hge->Random_Float(boardX1, boardX2), hge->Random_Float(boardY1, boardY2));
        if (!differencePanelName.empty() && resource == differencePanelName) {
            const float hx = piece->GetPicture()->GetHotSpotX(), hy = piece->GetPicture()->GetHotSpotY();
            panelX1 = piece->GetX() - hx;
            panelY1 = piece->GetY() - hy;
            panelX2 = piece->GetX() + hx;
            panelY2 = piece->GetY() + hy;
        }
        if (rotatable || hasAngleStep) piece->SetRotation(DrawStartAngle());
        if (!showOnWinName.empty() && resource == showOnWinName && !showOnWin)
            showOnWin = piece;
        else if (!widest || piece->GetPictureWidth() > widest->GetPictureWidth())
            widest = piece;
    }

    for (const auto& child : sceneRoot.GetChildren()) {
        if (!child || child->GetName() != "pair") continue;
        PuzzlePiece* a = nullptr;
        PuzzlePiece* b = nullptr;
        for (PuzzlePiece* piece : loose) {
            if (!a && piece->label == child->GetStringAttribute("name1")) a = piece;
            if (!b && piece->label == child->GetStringAttribute("name2")) b = piece;
        }
        if (!a || !b) {
            LogWarning("a pair names a label no piece has");
            continue;
        }
        pairs[a] = b;
        pairs[b] = a;
    }
}

void PuzzleScreen::ReadStartPositions(const std::string& file) {
    XMLDocument scene("scene");
    if (!scene.Load(file) || !scene.GetRoot()) {
        LogError("the start-position scene cannot be read: " + HtmlLog::Shown(file));
        return;
    }
    std::map<int, std::string> names;
    for (const auto& child : scene.GetRoot()->GetChildren()) {
        if (!child || child->GetName() != "unit") continue;
        std::string resource = MiniGameXml::ChildText(*child, "sprite");
        if (resource.empty()) resource = MiniGameXml::ChildText(*child, "animation");
        names[MiniGameXml::ChildInt(*child, "id")] = resource;
    }
    const float factor = noScale ? 1.0f : scale;
    for (const auto& child : scene.GetRoot()->GetChildren()) {
        if (!child || child->GetName() != "object") continue;
        const std::string& resource = names[MiniGameXml::ChildInt(*child, "id")];
        auto it = std::find_if(loose.begin(), loose.end(), [&](PuzzlePiece* p) { return p->GetName() == resource; });
        if (it == loose.end()) continue;
        PuzzlePiece* piece = *it;
        piece->SetPosXY(MiniGameXml::ChildFloat(*child, "x") * factor, MiniGameXml::ChildFloat(*child, "y") * factor);
        // Dropped where it starts, so that it docks if that is its target.
        std::map<PuzzlePiece*, PuzzlePiece*> keptPairs;
        keptPairs.swap(pairs);
        dockingLocked = false;
        held = piece;
        DropHeldPiece();
        dockingLocked = true;
        pairs.swap(keptPairs);
    }
}

void PuzzleScreen::DockSilently(PuzzlePiece* piece) {
    std::string keptMark;
    keptMark.swap(matchMark);
    std::map<PuzzlePiece*, PuzzlePiece*> keptPairs;
    keptPairs.swap(pairs);
    const bool keptLock = dockingLocked;
    dockingLocked = false;
    Dock(piece);
    dockingLocked = keptLock;
    pairs.swap(keptPairs);
    matchMark.swap(keptMark);
}

void PuzzleScreen::AfterBuild() {
    building = false;
    dockingLocked = false;
    // Nothing left to dock (no pieces, or only silent docks): solved at once,
    // now that the Ok button exists.
    if (loose.empty() && !solved) Solve();
}

bool PuzzleScreen::IsLoose(PuzzlePiece* piece) const {
    return std::find(loose.begin(), loose.end(), piece) != loose.end();
}

void PuzzleScreen::Highlight(PuzzlePiece* piece, unsigned long colour, int blend) {
    piece->SetColor(colour);
    piece->SetBlendMode(blend);
}

void PuzzleScreen::Fade(CEntity* entity, float from, float to) {
    auto* effector = entity->SpawnChild<CAnimationEffector>();
    effector->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, from);
    effector->AddKey(CAnimationEffector::TRACK_OPACITY, 0.5f, to);
    effector->Prepare();
}

void PuzzleScreen::Pulse(PuzzlePiece* piece) {
    auto* effector = piece->SpawnChild<CAnimationEffector>();
    const float keys[][2] = {{0.0f, 1.0f}, {0.3f, 1.85f}, {0.6f, 1.5f}, {0.9f, 1.85f}, {1.1f, 1.5f}};
    for (const auto& key : keys) effector->AddKey(CAnimationEffector::TRACK_SCALE, key[0], key[1]);
    effector->Prepare();
}

PuzzlePiece* PuzzleScreen::PieceAt(float px, float py) const {
    PuzzlePiece* top = nullptr;
    for (PuzzlePiece* piece : loose) {
        if (!piece->HitTest(px - piece->GetAbsoluteX(), py - piece->GetAbsoluteY())) continue;
        if (!top || piece->GetDepth() >= top->GetDepth()) top = piece;
    }
    return top;
}

void PuzzleScreen::DropHeldPiece() {
    PuzzlePiece* piece = held;
    held = nullptr;
    if (piece) OnPieceDropped(piece);
}

void PuzzleScreen::OnPieceDropped(PuzzlePiece* p) {
    // After "Skip" the pieces glide to their targets, which may lie off the
    // board: pulling them back would keep them from docking.
    if (p != widest && !skipped) {
        if (p->GetAbsoluteX() >= boardX2) p->SetAbsoluteX(boardX2);
        if (p->GetAbsoluteX() <= boardX1) p->SetAbsoluteX(boardX1);
        if (p->GetAbsoluteY() >= boardY2) p->SetAbsoluteY(boardY2);
        if (p->GetAbsoluteY() <= boardY1) p->SetAbsoluteY(boardY1);
    }
    bool angleOk = !rotatable || matchPairs;
    if (!angleOk) {
        const double a = p->GetRotation(), t = p->targetAngle;
        angleOk = std::fabs(a - t) <= dockAngle || std::fabs((kTwoPiDouble - a) - t) <= dockAngle;
    }
    bool pairOk = true;
    if (!pairs.empty() && state != kMiniGameSkipped) {
        auto it = pairs.find(p);
        if (it != pairs.end() && it->second->IsAnimationPlaying() && p->label == "w04_14_1") pairOk = false;
    }
    const float dx = p->GetAbsoluteX() - p->targetX, dy = p->GetAbsoluteY() - p->targetY;
    const float d = std::sqrt(dx * dx + dy * dy);
    if (d <= dockDistance && angleOk && pairOk && !dockingLocked) Dock(p);
    grabAngle = 0.0f;
}

void PuzzleScreen::Dock(PuzzlePiece* p) {
    if (!IsLoose(p)) {
        // Already docked (a matched pair): only the solve may follow.
        if (loose.empty() && !solved) Solve();
        return;
    }
    p->SetPosXY(p->targetX, p->targetY);
    p->SetDepth(p->GetDepth() - 3.0f);
    Highlight(p, 0xFFFFFFFF, BLEND_ALPHABLEND);
    if (rotatable) p->SetRotation(p->targetAngle);
    loose.erase(std::find(loose.begin(), loose.end(), p));
    docked.push_back(p);
    if (firstSelected == p) firstSelected = nullptr;
    if (!matchMark.empty()) {
        if (CSpriteEntity* mark = MakeSprite(matchMark, p, "match mark")) {
            mark->SetDepth(10.0f);
            Fade(mark, 0.0f, 1.0f);
        }
    }
    if (!pairs.empty()) {
        auto it = pairs.find(p);
        // A piece without a partner docks plainly.
        if (it != pairs.end()) {
            PuzzlePiece* partner = it->second;
            if (!(partner->IsAnimationPlaying() && state != kMiniGameSkipped)) {
                if (keepToolVisible)
                    p->SetDepth(p->GetDepth() - 3.0f);
                else
                    Fade(p, 1.0f, 0.0f);
                Fade(partner, 1.0f, 0.0f);
            }
        }
    }
    hovered = nullptr;
    if (loose.empty() && !solved) Solve();
}

void PuzzleScreen::Solve() {
    // While the screen is being built the buttons do not exist yet: the
    // solve waits for the end of construction (AfterBuild).
    if (building) return;
    solved = true;
    if (state != kMiniGameSkipped && state != kMiniGameSkipping) {
        state = kMiniGameSolved;
        PlaySound("OnWinMiniGame");
    }
    PlayerManager* players = PlayerManager::Instance();
    if (ZOLTFramework::CAudioManager* audio = engine ? engine->GetAudioManager() : nullptr) {
        musicName = audio->GetCurrentMusicName();
        audio->StopMusic(players->CurrentMusic, true);
    }
    HideButton(solveLaterButton, true);
    HideButton(skipButton, true);
    // A match-pairs skip may have shown it already: it slides in only once.
    if (!IsOkShown()) ShowOkButton();
    if (showOnWin) {
        showOnWin->Show();
        showOnWin->SetOpacity(0.0f);
        if (!docked.empty()) showOnWin->SetDepth(docked.back()->GetDepth() + 100.0f);
        Fade(showOnWin, 0.0f, 1.0f);
    }
    if (rotateOnWin) {
        for (PuzzlePiece* piece : docked) {
            if (piece == showOnWin) continue;
            auto* effector = piece->SpawnChild<CAnimationEffector>();
            effector->mode = CAnimationEffector::MODE_LOOP;
            effector->AddKey(CAnimationEffector::TRACK_ROTATION, 0.0f, 0.0f);
            effector->AddKey(CAnimationEffector::TRACK_ROTATION, 0.5f, PuzzlePiece::kTwoPi);
            effector->Prepare();
        }
    }
}

void PuzzleScreen::BeforeButton(const std::string&) {
    if (musicName.empty()) return;
    musicName.clear();
    if (ZOLTFramework::CAudioManager* audio = engine ? engine->GetAudioManager() : nullptr)
        audio->PlayMusic(PlayerManager::Instance()->CurrentMusic, true);
}

void PuzzleScreen::OnSkip() {
    HideButton(skipButton, false);
    HideButton(solveLaterButton, true);
    state = kMiniGameSkipping;
    skipped = true;
    held = nullptr;
    for (PuzzlePiece* piece : loose) {
        auto* glide = piece->SpawnChild<CAnimationEffector>();
        glide->AddKey(CAnimationEffector::TRACK_X, 0.0f, piece->GetX());
        glide->AddKey(CAnimationEffector::TRACK_Y, 0.0f, piece->GetY());
        glide->AddKey(CAnimationEffector::TRACK_ROTATION, 0.0f, piece->GetRotation());
        glide->AddKey(CAnimationEffector::TRACK_X, 1.0f, piece->targetX);
        glide->AddKey(CAnimationEffector::TRACK_Y, 1.0f, piece->targetY);
        glide->AddKey(CAnimationEffector::TRACK_ROTATION, 1.0f, piece->targetAngle);
        glide->Prepare();
    }
    if (matchPairs) {
        const std::vector<PuzzlePiece*> pieces = loose;
        for (PuzzlePiece* piece : pieces) {
            if (piece->label == objToFind) continue;
            Fade(piece, 1.0f, 0.0f);
            loose.erase(std::find(loose.begin(), loose.end(), piece));
            docked.push_back(piece);
        }
        if (loose.size() == 1 && loose.front()->label == objToFind) {
            PuzzlePiece* last = loose.front();
            Dock(last);
            Pulse(last);
        } else if (loose.empty()) {
            HideButton(solveLaterButton, true);
            ShowOkButton();
        }
    }
    PlaySound("OnMiniGameSkip");
    skipDelay = 1.5f;
}

void PuzzleScreen::OnEnded() { idleRunning = false; }

void PuzzleScreen::ScheduleIdle(float delay) {
    PlayerManager::Instance()->Timer->Add(delay, [this]() { RunIdle(); }, this);
}

void PuzzleScreen::RunIdle() {
    if (!idleRunning || idleAnimations.empty()) return;
    HGE* hge = ZOLTFramework::Services::Hge(engine);
    if (!hge) return;
    PuzzlePiece* piece = idleAnimations[size_t(hge->Random_Int(0, int(idleAnimations.size()) - 1))];
    if (!piece->IsAnimationPlaying()) {
        piece->PlayOnce();
        ScheduleIdle(hge->Random_Float(0.6f, 4.0f));
    } else {
        ScheduleIdle(0.1f);
    }
}

void PuzzleScreen::Grab(PuzzlePiece* piece, float px, float py) {
    held = piece;
    grabX = px - piece->GetX();
    grabY = py - piece->GetY();
    grabAngle = piece->GetRotation();
}

void PuzzleScreen::HoverPass(float px, float py, bool leftHeld) {
    hovered = state == kMiniGamePlaying ? PieceAt(px, py) : nullptr;
    if (leftHeld && hovered && !held && (movingEnabled || rotateOnDrag || dropOnClick) && state == kMiniGamePlaying) {
        Grab(hovered, px, py);
        if (dropOnClick) DropHeldPiece();
    }
}

void PuzzleScreen::MatchClick() {
    if (firstSelected && firstSelected != hovered && firstSelected->GetName() == hovered->GetName()) {
        PuzzlePiece* first = firstSelected;
        firstSelected = nullptr;
        for (PuzzlePiece* piece : {first, hovered}) {
            auto it = std::find(loose.begin(), loose.end(), piece);
            if (it == loose.end()) continue;
            loose.erase(it);
            docked.push_back(piece);
            Fade(piece, 1.0f, 0.0f);
        }
        if (loose.size() == 1 && loose.front()->label == objToFind) {
            PuzzlePiece* last = loose.front();
            Dock(last);
            Pulse(last);
        } else if (loose.empty()) {
            OnPieceDropped(hovered);
        }
    } else if (firstSelected) {
        Highlight(firstSelected, 0xFF000000, BLEND_COLORADD | BLEND_ALPHABLEND);
        firstSelected = nullptr;
    } else {
        firstSelected = hovered;
        Highlight(hovered, 0xFF333333, BLEND_COLORADD | BLEND_ALPHABLEND);
    }
}

void PuzzleScreen::StartTurn(PuzzlePiece* piece) {
    const float r = piece->GetRotation();
    const float target = (std::trunc(r / rotationStep) + 1.0f) * rotationStep;
    auto* turn = piece->SpawnChild<CAnimationEffector>();
    rotating[piece] = {turn, target};
    turn->AddKey(CAnimationEffector::TRACK_ROTATION, 0.0f, r);
    turn->AddKey(CAnimationEffector::TRACK_ROTATION, 0.3f, target);
    turn->Prepare();
    PlayerManager::Instance()->Timer->Add(0.3f, [this, piece]() { EndTurn(piece); }, piece);
}

void PuzzleScreen::EndTurn(PuzzlePiece* piece) {
    // The turn ends exactly on its angle, whatever the last frame reached.
    auto it = rotating.find(piece);
    if (it != rotating.end()) {
        it->second.effector->Kill();
        piece->SetRotation(it->second.target);
        rotating.erase(it);
    }
    PuzzlePiece::NormalizeAngle(piece->rotation);
    // Only a game still in play docks: a dock in a skip or a fade-out would
    // report a finish or stop the level music for good.
    if (state == kMiniGamePlaying && !closeStarted && !reported && IsLoose(piece)) OnPieceDropped(piece);
    held = nullptr;
}

void PuzzleScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    HGE* hge = ZOLTFramework::Services::Hge(engine);

    if (skipDelay > 0.0f) {
        skipDelay -= dt;
        // Run out at 0 too: a delay that lands on exactly 0 would otherwise never end.
        if (skipDelay <= 0.0f) {
            skipDelay = 0.0f;
            state = kMiniGameSkipped;
            const std::vector<PuzzlePiece*> pieces = loose;
            for (PuzzlePiece* piece : pieces) {
                held = piece;
                DropHeldPiece();
            }
            if (!solved) Solve();
        }
    }

    const float mx = engine ? engine->GetMouseX() : 0.0f;
    const float my = engine ? engine->GetMouseY() : 0.0f;
    float mirrorX = mx, mirrorY = my;
    const float panelW = panelX2 - panelX1, panelH = panelY2 - panelY1;
    if (differenceType == 1) mirrorX = (mx - panelX1 <= panelW / 2.0f) ? mx + panelW / 2.0f : mx - panelW / 2.0f;
    if (differenceType == 0) mirrorY = (my - panelY1 <= panelH / 2.0f) ? my + panelH / 2.0f : my - panelH / 2.0f;
    if (differenceCursor) {
        differenceCursor->SetPosXY(mirrorX, mirrorY);
        const bool inside = panelX1 <= mirrorX && mirrorX <= panelX2 && panelY1 <= mirrorY && mirrorY <= panelY2;
        if (inside)
            differenceCursor->Show();
        else
            differenceCursor->Hide();
    }

    if (held && state == kMiniGamePlaying) {
        if (rotateOnDrag) {
            float angle = grabAngle + std::atan2(my - held->GetY(), mx - held->GetX()) - std::atan2(grabY, grabX);
            PuzzlePiece::NormalizeAngle(angle);
            held->SetRotation(angle);
        } else {
            held->SetPosXY(mx - grabX, my - grabY);
        }
    }

    if (EndStep()) return;
    if (!hge) return;

    // A tap lets go within the frame it went down: held for that frame.
    const bool leftHeld = hge->Input_GetKeyState(HGEK_LBUTTON) || hge->Input_KeyDown(HGEK_LBUTTON);
    HoverPass(mx, my, leftHeld);
    HoverPass(mirrorX, mirrorY, leftHeld);

    if (hge->Input_KeyDown(HGEK_LBUTTON) && matchPairs && !movingEnabled && hovered && state == kMiniGamePlaying)
        MatchClick();

    if (!leftHeld && held && (movingEnabled || rotateOnDrag) && state == kMiniGamePlaying) DropHeldPiece();

    if (hge->Input_KeyDown(HGEK_RBUTTON) && hovered && rotatable && state == kMiniGamePlaying &&
        rotating.count(hovered) == 0)
        StartTurn(hovered);
}
