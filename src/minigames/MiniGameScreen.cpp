#include "minigames/MiniGameScreen.h"
#include "scene/LevelEvents.h"

#include <algorithm>

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "scene/LiveGroups.h"

using ZOLTFramework::CAnimationEffector;
using ZOLTFramework::CButtonEntity;
using ZOLTFramework::CSpriteEntity;
namespace Services = ZOLTFramework::Services;

MiniGameScreen::MiniGameScreen(const std::string& path, ZOLTFramework::CQuestionListener* level,
                               const MiniGameStyle& gameStyle)
    : CScreenEntity(path), listener(level), style(gameStyle) {
    if (document.Load(path) && document.GetRoot()) {
        root = document.GetRoot();
    } else {
        LogError("the mini-game file cannot be read");
        root = new XMLDocument::XMLElement("MiniGame");
    }
    const std::string backgroundName = root->GetStringAttribute("Background");
    if (!backgroundName.empty()) {
        float bx = 449.0f, by = 300.0f;
        if (style.readBackgroundXY) {
            bx = root->GetFloatAttribute("BackgroundX", bx);
            by = root->GetFloatAttribute("BackgroundY", by);
        }
        background = MakeSprite(backgroundName, this, "background");
        if (background) {
            background->SetDepth(-100.0f);
            background->SetAbsolutePosition(bx, by);
        }
    }
    resGroup = root->GetIntAttribute("res_group", -1);
}

MiniGameScreen::~MiniGameScreen() {
    if (resGroup != -1 && engine)
        LiveGroups::Release(engine->GetResourceManager(), resGroup, "Mini-game " + HtmlLog::Shown(name));
}

void MiniGameScreen::LogError(const std::string& text) const {
    HtmlLog::Instance()->Error("Mini-game " + HtmlLog::Shown(name) + ": " + text);
}

void MiniGameScreen::LogWarning(const std::string& text) const {
    HtmlLog::Instance()->Warning("Mini-game " + HtmlLog::Shown(name) + ": " + text);
}

void MiniGameScreen::PlaySound(const std::string& sound) { Services::PlaySound(engine, sound); }

CSpriteEntity* MiniGameScreen::MakeSprite(const std::string& sprite, CEntity* parent, const char* what) {
    hgeSprite* look = Services::Sprite(engine, sprite);
    if (!look) {
        LogError("no sprite \"" + HtmlLog::Shown(sprite) + "\" for the " + what);
        return nullptr;
    }
    auto* entity = (parent ? parent : this)->SpawnChild<CSpriteEntity>();
    entity->SetSpriteCopy(*look);
    return entity;
}

CButtonEntity* MiniGameScreen::MakeButton(const std::string& message, const MiniGameButtonSpec& spec) {
    auto* button = SpawnChild<CButtonEntity>(message, static_cast<CButtonListener*>(this));
    button->SetPosXY(spec.x, spec.y);
    button->SetDepth(spec.depth);
    if (hgeSprite* look = Services::Sprite(engine, spec.sprite)) {
        float tx = 0.0f, ty = 0.0f, w = 0.0f, h = 0.0f;
        look->GetTextureRect(&tx, &ty, &w, &h);
        const float frameHeight = spec.looksStacked ? h / 3.0f : h;
        button->SetSprite(spec.sprite, tx, ty, w, frameHeight);
        button->SetSizeCentered(w * 0.9f, h / 3.0f);
    } else {
        LogError("no sprite \"" + spec.sprite + "\" for the button " + message);
        button->SetSizeCentered(0.0f, 0.0f);
    }
    auto* caption = button->SpawnChild<TextEntity>("", nullptr);
    caption->SetText(Services::Text(engine, spec.captionKey));
    caption->SetFont(FontRegistry::GetFont("Default14"));
    caption->SetTextScale(spec.captionScale);
    if (spec.hasTracking) caption->SetTracking(spec.tracking);
    caption->SetPosXY(spec.captionX, spec.captionY);
    caption->SetDepth(spec.captionDepth);
    return button;
}

void MiniGameScreen::Finish() {
    solveLaterButton = MakeButton("SolveLater", style.solveLater);
    if (style.puzzleExtras && root->HasAttribute("NoSolveLaterButton")) HideButton(solveLaterButton, true);
    skipButton = MakeButton("Skip", style.skip);
    okButton = MakeButton("Ok", style.ok);
    HideButton(okButton, true);

    SetOpacity(style.startOpacity);
    Open();
    AfterBuild();
}

void MiniGameScreen::HideButton(CButtonEntity* button, bool pause) {
    if (!button) return;
    button->Hide();
    if (pause) button->Pause();
}

bool MiniGameScreen::IsOkShown() const {
    return okButton && okButton->IsEnabled() && okButton->IsAlive() && !okButton->IsHidden();
}

void MiniGameScreen::ShowOkButton() {
    if (!okButton) return;
    if (style.keepShownOk && IsOkShown()) return;
    if (style.okPulseOnly) {
        HideButton(skipButton, true);
    } else {
        HideButton(skipButton, true);
        HideButton(solveLaterButton, true);
    }
    okButton->Show();
    okButton->Resume();
    auto* effector = okButton->SpawnChild<CAnimationEffector>();
    if (style.okPulseOnly) {
        const float m = std::max(okButton->GetScaleX(), okButton->GetScaleY());
        const float keys[][2] = {{0.0f, m}, {0.3f, m}, {0.6f, 1.5f}, {0.9f, m}, {1.2f, 1.5f}, {1.4f, m}};
        for (const auto& key : keys) effector->AddKey(CAnimationEffector::TRACK_SCALE, key[0], key[1]);
    } else {
        const float keys[][2] = {{0.0f, 1.0f}, {0.3f, 1.0f}, {0.6f, 1.5f}, {0.9f, 1.2f}, {1.2f, 1.5f}, {1.4f, 1.0f}};
        for (const auto& key : keys) effector->AddKey(CAnimationEffector::TRACK_SCALE, key[0], key[1]);
        effector->AddKey(CAnimationEffector::TRACK_Y, 0.0f, 610.0f);
        effector->AddKey(CAnimationEffector::TRACK_Y, 0.3f, okButton->GetY());
    }
    effector->Prepare();
}

void MiniGameScreen::GotFocus() {
    if (style.puzzleExtras) HtmlLog::Instance()->Info("Puzzle screen gained focus");
    CScreenEntity::GotFocus();
    Resume();
}

void MiniGameScreen::OnOpened() {
    if (listener) listener->OnQuestion(LevelEvents::kShowHelp, "");
}

void MiniGameScreen::OnButtonOver(const std::string&) { PlaySound("MouseOver"); }

void MiniGameScreen::OnButtonPress(const std::string& message) {
    // Once a close has started the result is settled: a late press (Skip in the
    // fade-out after "SolveLater", say) must not change it.
    if (closeStarted || reported) return;
    BeforeButton(message);
    PlaySound("OnButtonPress");
    if (message == "SolveLater") {
        Close();
        closeStarted = true;
        state = kMiniGameSolveLater;
        PlaySound("OnMiniGameSolveLater");
    }
    if (message == "Ok") {
        Close();
        closeStarted = true;
    }
    if (message == "Skip") OnSkip();
    OnGameButton(message);
}

bool MiniGameScreen::EndStep() {
    if (reported || GetAbsoluteOpacity() != 0.0f) return false;
    reported = true;
    OnEnded();
    std::string result;
    if (state == kMiniGameSolved) result = LevelEvents::kMiniGameFinished;
    // A skip whose solution had not finished showing is a skip all the same.
    if (state == kMiniGameSkipped || state == kMiniGameSkipping) result = LevelEvents::kMiniGameSkip;
    if (state == kMiniGameSolveLater) result = LevelEvents::kMiniGameSolveLater;
    if (!result.empty() && listener) listener->OnQuestion(result, name);
    Pause();
    if (EntityManager* manager = Manager()) manager->RemoveScreen(this);
    SetPosXY(5000.0f, 5000.0f);  // also moves the children (OnMove)
    return true;
}
