#include "scene/ShowScorePopup.h"

#include "engine/Conversions.h"
#include "engine/EngineContext.h"
#include "entities/core/EntityManager.h"
#include "entities/core/Listeners.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"

using ZOLTFramework::CAnimationEffector;

TextEntity* ShowScorePopup(float score, float x, float y, ZOLTFramework::CQuestionListener* listener,
                           ZOLTFramework::CEntity* parent, const std::string& caption, int kind) {
    const std::string value = ValueToString(score);
    if (listener) {
        const char* event = kind == SCORE_SPEED      ? "AddSpeedScore"
                            : kind == SCORE_MINIGAME ? "AddMinigameScore"
                                                     : "AddItemScore";
        listener->OnQuestion(event, value);
    }
    ZOLTFramework::EngineContext* engine = ZOLTFramework::EngineContext::Current();
    EntityManager* manager = engine ? engine->GetEntityManager() : nullptr;
    if (!manager) return nullptr;
    auto* text = manager->Spawn<TextEntity>("", nullptr);
    text->SetText(caption.empty() ? value : caption + " " + value + "!");
    if (parent) text->AttachTo(parent);
    text->SetPosXY(x, y);
    text->OnMove();
    text->SetDepth((parent ? parent->GetDepth() : 0.0f) + 1400.0f);
    text->SetFont(FontRegistry::GetFont("Default14"));

    auto* fade = manager->Spawn<CAnimationEffector>();
    fade->AttachTo(text);
    fade->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, 0.0f);
    fade->AddKey(CAnimationEffector::TRACK_OPACITY, 0.2f, 1.0f);
    fade->AddKey(CAnimationEffector::TRACK_OPACITY, 3.0f, 0.0f);
    fade->Prepare();
    auto* rise = manager->Spawn<CAnimationEffector>();
    rise->AttachTo(text);
    rise->AddKey(CAnimationEffector::TRACK_Y, 0.0f, y);
    rise->AddKey(CAnimationEffector::TRACK_Y, 3.0f, y - 75.0f);
    rise->Prepare();
    return text;
}
