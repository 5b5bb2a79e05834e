#include "minigames/Puzzle2tScreen.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "engine/FileNumbers.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "graphics/hgeSprite.h"
#include "scene/ShowScorePopup.h"
#include "minigames/MiniGameXml.h"
#include "minigames/PuzzlePiece.h"

using ZOLTFramework::CAnimationEffector;

namespace {

const float kPi = 3.1415927410125732f;
const float kQuarter = 1.5707963705062866f;

MiniGameStyle TwoPartStyle() {
    MiniGameStyle style;
    style.startOpacity = 0.3f;
    style.solveLater = {"InGameButton", 449.0f, 540.0f, 109.0f, "SOLVE_LATER", -5.0f, 3.0f, 0.9f, 110.0f, true, -7.0f, false};
    style.skip = {"SkipButton", 185.0f, 55.0f, 1090.0f, "SKIP", 0.0f, 3.0f, 0.6f, 110.0f, true, -7.0f, true};
    style.ok = {"InGameButton", 449.0f, 550.0f, 1100.0f, "OK", -4.0f, 0.0f, 1.0f, 1100.0f, false, 0.0f, false};
    style.okPulseOnly = true;
    style.readBackgroundXY = false;
    return style;
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

bool IsQuarter(float r) {
    return r == 0.0f || r == 1.5707964f || r == 3.1415927f || r == 4.712389f || r == 6.2831855f;
}

}  // namespace

Puzzle2tScreen::Puzzle2tScreen(const std::string& path, ZOLTFramework::CQuestionListener* level)
    : MiniGameScreen(path, level, TwoPartStyle()) {
    rotatable = MiniGameXml::RequiredBool(*root, "IsRotatable", name);
    noScale = root->GetBoolAttribute("NoScale");
    dockDistance = MiniGameXml::RequiredFloat(*root, "MinDistToTargetToDock", name);
    dockAngle = MiniGameXml::RequiredFloat(*root, "MinDAngleToDock", name);
    boardX1 = MiniGameXml::RequiredFloat(*root, "RectX1", name);
    boardY1 = MiniGameXml::RequiredFloat(*root, "RectY1", name);
    boardX2 = MiniGameXml::RequiredFloat(*root, "RectX2", name);
    boardY2 = MiniGameXml::RequiredFloat(*root, "RectY2", name);
    if (root->HasAttribute("RandomAngleStep")) {
        angleStep = root->GetFloatAttribute("RandomAngleStep");
        hasAngleStep = angleStep > 0.0f;
        if (!hasAngleStep) LogError("\"RandomAngleStep\" must be positive; it is ignored");
        if (hasAngleStep)
            angleSteps = FileNumbers::Count(FileNumbers::ClampToInt(360.0 / angleStep),
                                            "Mini-game " + HtmlLog::Shown(name) + ": the angle steps of \"RandomAngleStep\"");
    }
    LoadPieces(MiniGameXml::RequiredString(*root, "Scene", name));
    if (!cleaner) LogWarning("the piece scene has no \"Cleaner\" piece");

    if (widest) {
        widest->SetPosXY(widest->targetX, widest->targetY);
        widest->SetRotation(0.0f);
        dockingLocked = false;
        held = widest;
        CheckSolution();
        dockingLocked = true;
    }
    const std::string startPos = root->GetStringAttribute("StartPosScene");
    if (!startPos.empty()) ReadStartPositions(startPos);
    Finish();
}

Puzzle2tScreen::~Puzzle2tScreen() = default;

bool Puzzle2tScreen::IsToolName(const std::string& resourceName) {
    return Contains(resourceName, "furazhko") || Contains(resourceName, "svistko") || Contains(resourceName, "dubinko");
}

void Puzzle2tScreen::LoadPieces(const std::string& sceneFile) {
    XMLDocument scene("scene");
    if (sceneFile.empty() || !scene.Load(sceneFile) || !scene.GetRoot()) {
        LogError("the piece scene cannot be read: " + HtmlLog::Shown(sceneFile));
        return;
    }
    const auto& sceneRoot = *scene.GetRoot();
    resGroup = sceneRoot.GetIntAttribute("res_group", -1);
    std::map<int, std::string> sprites;
    for (const auto& child : sceneRoot.GetChildren())
        if (child && child->GetName() == "unit")
            sprites[MiniGameXml::ChildInt(*child, "id")] = MiniGameXml::ChildText(*child, "sprite");

    HGE* hge = ZOLTFramework::Services::Hge(engine);
    const float factor = noScale ? 1.0f : 0.78125f;
    size_t objects = 0;
    for (const auto& child : sceneRoot.GetChildren()) {
        if (!child || child->GetName() != "object") continue;
        if (FileNumbers::ListFull(objects++, "Mini-game " + HtmlLog::Shown(name) + ": the pieces")) break;
        const int unit = MiniGameXml::ChildInt(*child, "id");
        if (sprites.count(unit) == 0) {
            LogError("an object names the unknown unit " + std::to_string(unit));
            continue;
        }
        const std::string& resource = sprites[unit];
        const float hx = MiniGameXml::ChildFloat(*child, "x") * factor;
        const float hy = MiniGameXml::ChildFloat(*child, "y") * factor;
        if (!PuzzlePiece::IsDeclared(engine, resource, false)) {
            LogError("the picture \"" + HtmlLog::Shown(resource) + "\" is not declared; its piece is left out");
            continue;
        }
        auto* piece = SpawnChild<PuzzlePiece>(resource, false, hx, hy, 0.0f);
        piece->SetColor(0xFF333333);
        piece->SetBlendMode(BLEND_COLORADD | BLEND_ALPHABLEND);
        if (!noScale) piece->SetScale(0.78125f);
        if (rotatable && hge) {
            if (hasAngleStep)
                piece->SetRotation(float(hge->Random_Int(0, angleSteps)) * angleStep * kPi / 180.0f);
            else
                piece->SetRotation(float(hge->Random_Int(0, 3)) * (kPi / 2.0f));
        }
        piece->SetPosXY(hx, hy);

        const bool isCleaner = Contains(resource, "Cleaner");
        const bool isSlot = Contains(resource, "slut");
        if (IsDecorName(resource)) {
            piece->SetColor(0xFF000000);
            piece->SetDepth(piece->GetDepth() - 10.0f);
            if (isCleaner) cleaner = piece;
            if (isSlot) (hx <= 500.0f ? leftSlots : rightSlots).push_back({hx, hy});
        } else {
            playable.push_back(piece);
            tried[resource] = 0;
        }
        if (!widest || piece->GetPictureWidth() > widest->GetPictureWidth()) widest = piece;
    }
}

void Puzzle2tScreen::ReadStartPositions(const std::string& file) {
    XMLDocument scene("scene");
    if (!scene.Load(file) || !scene.GetRoot()) {
        LogError("the start-position scene cannot be read: " + HtmlLog::Shown(file));
        return;
    }
    std::map<int, std::string> sprites;
    for (const auto& child : scene.GetRoot()->GetChildren())
        if (child && child->GetName() == "unit")
            sprites[MiniGameXml::ChildInt(*child, "id")] = MiniGameXml::ChildText(*child, "sprite");
    const float factor = noScale ? 1.0f : 0.78125f;
    for (const auto& child : scene.GetRoot()->GetChildren()) {
        if (!child || child->GetName() != "object") continue;
        const std::string& resource = sprites[MiniGameXml::ChildInt(*child, "id")];
        for (PuzzlePiece* piece : playable) {
            if (piece->GetName() != resource) continue;
            piece->SetPosXY(MiniGameXml::ChildFloat(*child, "x") * factor, MiniGameXml::ChildFloat(*child, "y") * factor);
            break;
        }
    }
}

void Puzzle2tScreen::AfterBuild() {
    building = false;
    dockingLocked = false;
    // No playable piece at all: placed at once, now that the Ok button exists.
    if (playable.empty() && !finished) Finished();
}

bool Puzzle2tScreen::IsDecorName(const std::string& resourceName) {
    return Contains(resourceName, "Cleaner") || Contains(resourceName, "slut") || Contains(resourceName, "Helper") ||
           Contains(resourceName, "ramko") || Contains(resourceName, "iconko");
}

PuzzlePiece* Puzzle2tScreen::FindPiece(const std::string& resourceName) const {
    for (CEntity* child : children)
        if (auto* piece = dynamic_cast<PuzzlePiece*>(child))
            if (piece->GetName() == resourceName) return piece;
    return nullptr;
}

bool Puzzle2tScreen::ComparePieces(const PuzzlePiece* a, const PuzzlePiece* b) { return a->GetDepth() < b->GetDepth(); }

void Puzzle2tScreen::PieceAt(float px, float py, std::vector<PuzzlePiece*>& result) const {
    for (PuzzlePiece* piece : playable)
        if (piece->HitTest(px - piece->GetAbsoluteX(), py - piece->GetAbsoluteY())) result.push_back(piece);
    std::stable_sort(result.begin(), result.end(), ComparePieces);
}

void Puzzle2tScreen::GrabPiece(float px, float py) {
    held = hovered;
    if (!held) return;
    grabX = px - held->GetX();
    grabY = py - held->GetY();
}

void Puzzle2tScreen::CheckSolution() {
    PuzzlePiece* p = held;
    if (p) {
        if (p != widest) {
            if (p->GetAbsoluteX() >= boardX2) p->SetAbsoluteX(boardX2);
            if (p->GetAbsoluteX() <= boardX1) p->SetAbsoluteX(boardX1);
            if (p->GetAbsoluteY() >= boardY2) p->SetAbsoluteY(boardY2);
            if (p->GetAbsoluteY() <= boardY1) p->SetAbsoluteY(boardY1);
        }
        const float ax = p->GetAbsoluteX(), ay = p->GetAbsoluteY();
        std::vector<Slot>& slots = IsToolName(p->GetName()) ? leftSlots : rightSlots;
        auto slot = slots.end();
        if (!dockingLocked) {
            slot = std::find_if(slots.begin(), slots.end(), [&](const Slot& s) {
                return std::sqrt((ax - s.first) * (ax - s.first) + (ay - s.second) * (ay - s.second)) <= dockDistance;
            });
        }
        if (slot != slots.end()) {
            p->SetPosXY(slot->first, slot->second);
            p->SetColor(0xFFFFFFFF);
            p->SetBlendMode(BLEND_ALPHABLEND);
            auto it = std::find(playable.begin(), playable.end(), p);
            if (it != playable.end()) playable.erase(it);
            slots.erase(slot);
            const int points = tried[p->GetName()] ? 500 : 1000;
            ShowScorePopup(float(points), ax, ay, listener, this, "", SCORE_ITEM);
        } else {
            p->SetPosXY(p->targetX, p->targetY);
            tried[p->GetName()] = 1;
        }
    }
    if (playable.empty() && !finished) Finished();
    held = nullptr;
}

void Puzzle2tScreen::Finished() {
    // Built with nothing to place: the end waits for the buttons.
    if (building) return;
    finished = true;
    if (state != kMiniGameSkipped && state != kMiniGameSkipping) {
        state = kMiniGameSolved;
        PlaySound("OnWinMiniGame");
    }
    HideButton(solveLaterButton, true);
    ShowOkButton();
    if (cleaner) {
        cleaner->SetDepth(cleaner->GetDepth() + 1000.0f);
        auto* flight = cleaner->SpawnChild<CAnimationEffector>();
        flight->AddKey(CAnimationEffector::TRACK_X, 0.0f, cleaner->GetX());
        flight->AddKey(CAnimationEffector::TRACK_Y, 0.0f, cleaner->GetY());
        flight->AddKey(CAnimationEffector::TRACK_X, 0.7f, 450.0f);
        flight->AddKey(CAnimationEffector::TRACK_Y, 0.7f, 280.0f);
        flight->AddKey(CAnimationEffector::TRACK_SCALE, 0.0f, 1.0f);
        flight->AddKey(CAnimationEffector::TRACK_SCALE, 0.3f, 1.8f);
        flight->AddKey(CAnimationEffector::TRACK_SCALE, 0.7f, 1.5f);
        flight->Prepare();
    }
}

void Puzzle2tScreen::OnSkip() {
    HideButton(skipButton, false);
    HideButton(solveLaterButton, true);
    ShowOkButton();
    state = kMiniGameSkipping;
    skipDelay = 0.1f;
    PlaySound("OnMiniGameSkip");
}

void Puzzle2tScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    if (skipDelay > 0.0f) {
        skipDelay -= dt;
        // Run out at 0 too: a delay that lands on exactly 0 would otherwise never end.
        if (skipDelay <= 0.0f) {
            skipDelay = 0.0f;
            state = kMiniGameSkipped;
            held = playable.empty() ? nullptr : playable.back();
            playable.clear();
            CheckSolution();
        }
    }
    const float mx = engine ? engine->GetMouseX() : 0.0f;
    const float my = engine ? engine->GetMouseY() : 0.0f;
    if (held) held->SetPosXY(mx - grabX, my - grabY);

    if (EndStep()) return;
    HGE* hge = ZOLTFramework::Services::Hge(engine);
    if (!hge) return;

    std::vector<PuzzlePiece*> under;
    PieceAt(mx, my, under);
    hovered = under.empty() ? nullptr : under.back();
    const bool leftHeld = hge->Input_GetKeyState(HGEK_LBUTTON);
    if (leftHeld && hovered && !held) GrabPiece(mx, my);
    if (!leftHeld && held) CheckSolution();
    if (hge->Input_GetKeyState(HGEK_RBUTTON) && hovered && rotatable && IsQuarter(hovered->GetRotation())) {
        auto* turn = hovered->SpawnChild<CAnimationEffector>();
        turn->AddKey(CAnimationEffector::TRACK_ROTATION, 0.0f, hovered->GetRotation());
        turn->AddKey(CAnimationEffector::TRACK_ROTATION, 0.3f, hovered->GetRotation() + kQuarter);
        turn->Prepare();
    }
}
