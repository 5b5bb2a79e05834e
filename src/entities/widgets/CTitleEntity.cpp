#include "entities/widgets/CTitleEntity.h"

#include <initializer_list>
#include <utility>

#include "engine/EngineContext.h"
#include "entities/core/EntityManager.h"
#include "engine/HtmlLog.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/widgets/CLetterEntity.h"
#include "entities/core/EntityServices.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"

namespace ZOLTFramework {

namespace {

using Track = CAnimationEffector::Track;

// Keys of one track as (time, value) pairs.
void AddKeys(CAnimationEffector& fx, int track, std::initializer_list<std::pair<float, float>> keys) {
    for (const auto& key : keys) fx.AddKey(track, key.first, key.second);
}

// The keys of one letter whose animation starts at t, placed at pen x; returns
// the time of the style's last key (t for a style without keys).
float AddStyleKeys(CAnimationEffector& fx, int style, float t, float penX) {
    switch (style) {
        case 0:  // drop from above and bounce
            AddKeys(fx, Track::TRACK_OPACITY, {{0.0f, 0.0f}, {t, 1.0f}, {t + 4.0f, 1.0f}, {t + 4.3f, 0.0f}});
            AddKeys(fx, Track::TRACK_X, {{0.0f, penX}});
            AddKeys(fx, Track::TRACK_Y,
                    {{0.0f, -180.0f}, {t + 0.4f, 0.0f}, {t + 0.8f, -15.0f}, {t + 1.2f, 0.0f}, {t + 1.6f, -8.0f},
                     {t + 2.0f, 0.0f}});
            return t + 4.3f;
        case 1:  // pop out of nothing
            AddKeys(fx, Track::TRACK_OPACITY, {{0.0f, 0.0f}, {t, 1.0f}, {t + 2.2f, 1.0f}, {t + 2.5f, 0.0f}});
            AddKeys(fx, Track::TRACK_SCALE, {{0.0f, 0.0f}, {t + 0.1f, 1.3f}, {t + 0.2f, 1.0f}});
            AddKeys(fx, Track::TRACK_X, {{0.0f, penX}, {t + 0.1f, penX - 3.0f}, {t + 0.2f, penX}});
            AddKeys(fx, Track::TRACK_Y, {{0.0f, 0.0f}, {t + 0.1f, 3.0f}, {t + 0.2f, 0.0f}});
            return t + 2.5f;
        case 2:  // fade in and out
            AddKeys(fx, Track::TRACK_OPACITY,
                    {{0.0f, 0.0f}, {t, 0.0f}, {t + 0.2f, 1.0f}, {t + 2.5f, 1.0f}, {t + 2.8f, 0.0f}});
            return t + 2.8f;
        default:
            return t;
    }
}

}  // namespace

float CTitleEntity::SetText(const std::string& text, const std::string& fontName, int style) {
    hgeFont* font = FontRegistry::GetFont(fontName);
    if (!font) {
        HtmlLog::Instance()->Warning("Title \"" + HtmlLog::Shown(text) + "\": no font \"" + HtmlLog::Shown(fontName) + "\"");
        return 0.0f;
    }
    // Without a manager the letters would never move: no title.
    if (!Manager()) return 0.0f;

    float penX = -font->GetLineWidth(text.c_str()) * 0.5f;
    Services::PlaySound(engine, "OnTitleLetterAppear");

    float end = 0.0f;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        CLetterEntity* letter = SpawnChild<CLetterEntity>(c, fontName);
        letters.push_back(letter);
        letter->x = penX;
        letter->y = 0.0f;
        letter->OnMove();
        letter->scaleX = 1.0f;
        letter->scaleY = 1.0f;
        letter->OnScale();

        const float t = float(i) * kLetterDelay;
        CAnimationEffector* fx = letter->SpawnChild<CAnimationEffector>();
        end = AddStyleKeys(*fx, style, t, penX);
        fx->Prepare();

        const char one[2] = {text[i], '\0'};
        penX += font->GetLineWidth(one);
    }
    // Only the three styles have an end; a style without keys is done at once.
    return (style >= 0 && style <= 2) ? end : 0.0f;
}

}  // namespace ZOLTFramework
