#include "scene/ShowScorePopup.h"
#include "scene/LevelEvents.h"

#include <algorithm>

#include "engine/Conversions.h"
#include "engine/EngineContext.h"
#include "entities/core/EntityManager.h"
#include "entities/core/GameTimer.h"
#include "entities/core/Listeners.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"

using ZOLTFramework::CAnimationEffector;

namespace {

const float kLife = 3.0f;
const float kRise = 75.0f;

// The score's text: drawn at its own size whatever its parent's scale.
class ScoreText : public TextEntity {
public:
    ScoreText() : TextEntity("ScorePopup", nullptr) {}
    void Render() override {
        KeepSize();
        TextEntity::Render();
    }
    void KeepSize() {
        const float sx = parent ? parent->GetAbsoluteScaleX() : 1.0f;
        const float sy = parent ? parent->GetAbsoluteScaleY() : 1.0f;
        if (sx > 0.0f && sy > 0.0f && (GetScaleX() != 1.0f / sx || GetScaleY() != 1.0f / sy)) {
            SetScaleX(1.0f / sx);
            SetScaleY(1.0f / sy);
            OnScale();
        }
    }
};

// Moves the centre of the text (x, y under the parent) so that the whole text
// stays inside the screen right of `leftEdge` from its start to the top of
// its rise.
void KeepOnScreen(const ZOLTFramework::EngineContext& engine, TextEntity* text, ZOLTFramework::CEntity* parent,
                  float leftEdge, float* x, float* y) {
    hgeFont* font = text->GetFont();
    if (!font) return;
    const float px = parent ? parent->GetAbsoluteX() : 0.0f;
    const float py = parent ? parent->GetAbsoluteY() : 0.0f;
    const float halfWidth = text->GetTextWidth() * 0.5f;
    const float halfHeight = font->GetHeight() * text->GetAbsoluteScaleY() * 0.5f;
    const float left = std::max(0.0f, leftEdge) + halfWidth, right = engine.GetScreenWidth() - halfWidth;
    const float top = kRise + halfHeight, bottom = engine.GetScreenHeight() - halfHeight;
    if (left <= right) *x = std::min(right, std::max(left, px + *x)) - px;
    if (top <= bottom) *y = std::min(bottom, std::max(top, py + *y)) - py;
}

}  // namespace

TextEntity* ShowScorePopup(float score, float x, float y, ZOLTFramework::CQuestionListener* listener,
                           ZOLTFramework::CEntity* parent, const std::string& caption, int kind, float left) {
    const std::string value = ValueToString(score);
    if (listener) {
        const char* event = kind == SCORE_SPEED      ? LevelEvents::kAddSpeedScore
                            : kind == SCORE_MINIGAME ? LevelEvents::kAddMinigameScore
                                                     : LevelEvents::kAddItemScore;
        listener->OnQuestion(event, value);
    }
    ZOLTFramework::EngineContext* engine = ZOLTFramework::EngineContext::Current();
    EntityManager* manager = engine ? engine->GetEntityManager() : nullptr;
    if (!manager) return nullptr;
    auto* text = manager->Spawn<ScoreText>();
    text->SetText(caption.empty() ? value : caption + " " + value + "!");
    if (parent) text->AttachTo(parent);
    text->KeepSize();
    text->SetFont(FontRegistry::GetFont("Default14"));
    KeepOnScreen(*engine, text, parent, left, &x, &y);
    text->SetPosXY(x, y);
    text->OnMove();
    text->SetDepth((parent ? parent->GetDepth() : 0.0f) + 1400.0f);

    auto* fade = manager->Spawn<CAnimationEffector>();
    fade->AttachTo(text);
    fade->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, 0.0f);
    fade->AddKey(CAnimationEffector::TRACK_OPACITY, 0.2f, 1.0f);
    fade->AddKey(CAnimationEffector::TRACK_OPACITY, kLife, 0.0f);
    fade->Prepare();
    auto* rise = manager->Spawn<CAnimationEffector>();
    rise->AttachTo(text);
    rise->AddKey(CAnimationEffector::TRACK_Y, 0.0f, y);
    rise->AddKey(CAnimationEffector::TRACK_Y, kLife, y - kRise);
    rise->Prepare();
    // Gone once faded out.
    auto* life = text->SpawnChild<ZOLTFramework::GameManager::Timer>();
    life->Hide();
    life->Add(kLife, [text] { text->Kill(); }, text);
    return text;
}

void EndScorePopups(ZOLTFramework::CEntity& under) {
    for (ZOLTFramework::CEntity* child : under.GetChildren()) {
        if (dynamic_cast<ScoreText*>(child) && !child->IsDead())
            child->Kill();
        else
            EndScorePopups(*child);
    }
}
