#include "minigames/RepeatScreen.h"

#include <cctype>

#include "engine/Conversions.h"
#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "engine/FileNumbers.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/widgets/ButtonExEntity.h"
#include "graphics/hgeSprite.h"
#include "minigames/MiniGameXml.h"

namespace Services = ZOLTFramework::Services;

namespace {

MiniGameStyle RepeatStyle() {
    MiniGameStyle style;
    style.startOpacity = 0.2f;
    style.solveLater = {"InGameButton", 449.0f, 550.0f, 109.0f, "SOLVE_LATER", -3.0f, 0.0f, 0.9f, 110.0f, true, -7.0f, false};
    style.skip = {"SkipButton", 185.0f, 55.0f, 109.0f, "SKIP", 0.0f, 5.0f, 0.6f, 110.0f, true, -7.0f, true};
    style.ok = {"InGameButton", 449.0f, 550.0f, 109.0f, "OK", -4.0f, 0.0f, 1.0f, 110.0f, false, 0.0f, false};
    style.keepShownOk = true;
    return style;
}

}  // namespace

RepeatScreen::RepeatScreen(const std::string& path, ZOLTFramework::CQuestionListener* level)
    : MiniGameScreen(path, level, RepeatStyle()) {
    cellNumber = FileNumbers::Count(MiniGameXml::RequiredInt(*root, "CellNumber", name), "Mini-game " + HtmlLog::Shown(name) + ": \"CellNumber\"");
    variantNumber =
        FileNumbers::Count(MiniGameXml::RequiredInt(*root, "VariantNumber", name), "Mini-game " + HtmlLog::Shown(name) + ": \"VariantNumber\"");
    rowLength = MiniGameXml::RequiredInt(*root, "RowLength", name);
    offsetX = MiniGameXml::RequiredFloat(*root, "OffsetX", name);
    offsetY = MiniGameXml::RequiredFloat(*root, "OffsetY", name);
    cellWidth = MiniGameXml::RequiredFloat(*root, "CellWidth", name);
    cellHeight = MiniGameXml::RequiredFloat(*root, "CellHeight", name);
    if (cellNumber <= 0) {
        LogError("\"CellNumber\" must be positive; 1 is used");
        cellNumber = 1;
    }
    if (variantNumber <= 0) {
        LogError("\"VariantNumber\" must be positive; 1 is used");
        variantNumber = 1;
    }
    if (rowLength == 0) {
        LogError("\"RowLength\" must not be 0; 1 is used");
        rowLength = 1;
    }
    BuildWidgets();
    Finish();
    NewSequence();
}

RepeatScreen::~RepeatScreen() = default;

void RepeatScreen::BuildWidgets() {
    // Without a background the widgets hang on the screen itself, so that they
    // fade, pause and park with it.
    CEntity* parent = background ? static_cast<CEntity*>(background) : this;
    for (const auto& child : root->GetChildren()) {
        if (!child) continue;
        const std::string& kind = child->GetName();
        if (kind == "button") {
            const std::string look = child->GetStringAttribute("sprite_up");
            if (!Services::Sprite(engine, look)) {
                LogError("the palette button \"" + HtmlLog::Shown(child->GetStringAttribute("message")) + "\" names the undeclared sprite \"" +
                         look + "\"; it is left out");
                continue;
            }
            auto* button = parent->SpawnChild<ButtonExEntity>(*child, static_cast<ZOLTFramework::CButtonListener*>(this));
            button->SetDepth(2.0f);
        } else if (kind == "sprite" || kind == "ShowOnFinish") {
            const bool finish = kind == "ShowOnFinish";
            ZOLTFramework::CSpriteEntity* sprite =
                MakeSprite(child->GetStringAttribute("texture"), parent, finish ? "finish picture" : "decoration");
            if (!sprite) continue;
            sprite->SetPosXY(child->GetFloatAttribute("x"), child->GetFloatAttribute("y"));
            sprite->SetDepth(finish ? 10.0f : 2.0f);
            if (finish) {
                sprite->SetOpacity(0.0f);
                sprite->SetName("FinishPicture");
                finishPicture = sprite;
            }
        } else if (kind == "PaletteElement") {
            const std::string cell = child->GetStringAttribute("sprite_name");
            if (!Services::Sprite(engine, cell)) {
                LogError("the palette element " + HtmlLog::Shown(child->GetStringAttribute("id")) + " names the undeclared sprite \"" +
                         cell + "\"; it is left out");
                continue;
            }
            palette[child->GetIntAttribute("id")] = cell;
        }
    }
}

void RepeatScreen::NewSequence() {
    sequence.clear();
    input.clear();
    HGE* hge = Services::Hge(engine);
    for (int i = 0; i < cellNumber; ++i) sequence.push_back(hge ? hge->Random_Int(0, variantNumber - 1) : 0);
    showTime = 3.0f;
    waitTime = 0.0f;
    inputCount = 0;
    shownLength = 1;
}

std::string RepeatScreen::GetCellName(int index) { return palette[index]; }

float RepeatScreen::CellX(int i) const { return offsetX + cellWidth * float(i % rowLength); }
float RepeatScreen::CellY(int i) const { return offsetY + cellHeight * float(i / rowLength); }

void RepeatScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    if (showTime > 0.0f) {
        showTime -= dt;
        // Landing on exactly 0 ends the time as well.
        if (showTime <= 0.0f) {
            input.clear();
            showTime = 0.0f;
        }
        return;
    }
    if (EndStep()) return;
    if (waitTime > 0.0f) {
        waitTime -= dt;
        if (waitTime <= 0.0f) {
            input.clear();
            showTime = 2.0f;
            waitTime = 0.0f;
        }
    }
    if (state == kMiniGameSolved || state == kMiniGameSkipping) {
        // A file without a finish picture counts it as shown.
        if (!finishPicture || finishPicture->GetAbsoluteOpacity() >= 1.0f) {
            if (state == kMiniGameSkipping) state = kMiniGameSkipped;
            ShowOkButton();
        } else {
            finishPicture->SetOpacity(finishPicture->GetOpacity() + dt);
        }
    }
}

void RepeatScreen::OnSkip() {
    HideButton(skipButton, true);
    HideButton(solveLaterButton, true);
    if (state != kMiniGameSolved) state = kMiniGameSkipping;
    showTime = 0.0f;
    waitTime = 0.0f;
    PlaySound("OnMiniGameSkip");
}

void RepeatScreen::OnGameButton(const std::string& message) {
    if (showTime > 0.0f || waitTime > 0.0f || state == kMiniGameSolved) return;
    bool digit = false;
    for (char c : message)
        if (std::isdigit(static_cast<unsigned char>(c))) digit = true;
    if (!digit) return;
    input.push_back(StringToInt(message));
    ++inputCount;
    for (size_t i = 0; i < input.size() && i < sequence.size(); ++i) {
        if (input[i] != sequence[i]) {
            NewSequence();
            return;
        }
    }
    if (input.size() >= sequence.size()) {
        state = kMiniGameSolved;
        PlaySound("OnWinMiniGame");
        HideButton(skipButton, true);
        HideButton(solveLaterButton, true);
        showTime = 0.0f;
        waitTime = 0.0f;
    } else if (inputCount >= shownLength) {
        waitTime = 1.0f;
        ++shownLength;
        inputCount = 0;
    }
}

void RepeatScreen::DrawSymbols(const std::vector<int>& symbols, int count) {
    const float alpha = GetAbsoluteOpacity();
    for (int i = 0; i < count && i < int(symbols.size()); ++i) {
        const std::string cell = GetCellName(symbols[size_t(i)]);
        if (cell.empty()) return;
        hgeSprite* sprite = Services::Sprite(engine, cell);
        if (!sprite) return;
        sprite->SetColor(Services::FadeColor(0xFFFFFFFF, alpha));
        sprite->Render(CellX(i), CellY(i));
    }
}

void RepeatScreen::Render() {
    if (state != kMiniGamePlaying) return;
    if (showTime > 0.0f)
        DrawSymbols(sequence, shownLength);
    else if (waitTime > 0.0f || inputCount < shownLength)
        DrawSymbols(input, int(input.size()));
}
