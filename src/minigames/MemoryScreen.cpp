#include "minigames/MemoryScreen.h"

#include <vector>

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "engine/FileNumbers.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "minigames/CBricksField.h"

namespace Services = ZOLTFramework::Services;

namespace {

MiniGameStyle MemoryStyle() {
    MiniGameStyle style;
    style.startOpacity = 0.2f;
    style.solveLater = {"InGameButton", 449.0f, 550.0f, 109.0f, "SOLVE_LATER", -5.0f, 3.0f, 0.9f, 110.0f, true, -7.0f, false};
    style.skip = {"SkipButton", 165.0f, 55.0f, 109.0f, "SKIP", 0.0f, 5.0f, 0.6f, 110.0f, true, -7.0f, true};
    style.ok = {"InGameButton", 449.0f, 550.0f, 109.0f, "OK", -4.0f, 0.0f, 1.0f, 110.0f, false, 0.0f, false};
    style.keepShownOk = true;
    return style;
}

}  // namespace

MemoryScreen::MemoryScreen(const std::string& path, ZOLTFramework::CQuestionListener* level)
    : MiniGameScreen(path, level, MemoryStyle()) {
    BuildField();
    Finish();
}

MemoryScreen::~MemoryScreen() = default;

void MemoryScreen::BuildField() {
    field = SpawnChild<ZOLTFramework::CBricksField>("BricksField", static_cast<ZOLTFramework::CFieldListener*>(this));
    field->SetLayer(2003.0f);

    std::vector<char> kinds;
    size_t units = 0, bricks = 0;
    for (const auto& child : root->GetChildren()) {
        if (!child || child->GetName() != "unit") continue;
        if (FileNumbers::ListFull(units++, "Mini-game " + HtmlLog::Shown(name) + ": the units")) break;
        const std::string id = child->GetStringAttribute("id");
        const size_t at = id.find_first_not_of(" \t\r\n");
        if (at == std::string::npos) {
            LogError("a unit has a blank id; it is left out");
            continue;
        }
        ZOLTFramework::BrickType type;
        type.kind = id[at];
        type.faceSprite = child->GetStringAttribute("Texture");
        if (!Services::Sprite(engine, type.faceSprite)) {
            LogError("the unit '" + HtmlLog::Shown(std::string(1, type.kind)) + "' names the undeclared sprite \"" + HtmlLog::Shown(type.faceSprite) +
                     "\"; it is left out");
            continue;
        }
        field->AddBrickType(type);
        kinds.push_back(type.kind);
        kinds.push_back(type.kind);
    }
    // Fisher-Yates: every order equally likely.
    if (HGE* hge = Services::Hge(engine))
        for (int i = int(kinds.size()) - 1; i > 0; --i) std::swap(kinds[size_t(i)], kinds[size_t(hge->Random_Int(0, i))]);

    for (const auto& child : root->GetChildren()) {
        if (!child || child->GetName() != "brick") continue;
        if (FileNumbers::ListFull(bricks++, "Mini-game " + HtmlLog::Shown(name) + ": the bricks")) break;
        if (kinds.empty()) {
            LogError("more bricks than two per unit; the brick is left out");
            continue;
        }
        field->AddBrick(child->GetFloatAttribute("x"), child->GetFloatAttribute("y"), child->GetFloatAttribute("z"),
                        kinds.back());
        kinds.pop_back();
    }
}

void MemoryScreen::OnFieldSolved() {
    // A result settled by a close stays as it is.
    if (closeStarted || reported) return;
    state = kMiniGameSolved;
    PlaySound("OnWinMiniGame");
    HideButton(skipButton, true);
    HideButton(solveLaterButton, true);
}

void MemoryScreen::OnSkip() {
    if (state != kMiniGameSolved) state = kMiniGameSkipping;
    HideButton(skipButton, true);
    HideButton(solveLaterButton, true);
    PlaySound("OnMiniGameSkip");
}

void MemoryScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    if (EndStep()) return;
    if (state == kMiniGameSolved || state == kMiniGameSkipping) {
        if (state == kMiniGameSkipping) state = kMiniGameSkipped;
        ShowOkButton();
    }
}
