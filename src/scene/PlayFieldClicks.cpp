#include "scene/PlayFieldClicks.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "graphics/PixelHitTest.h"
#include "graphics/hgeSprite.h"
#include "scene/LevelEvents.h"
#include "scene/PlayFieldPointer.h"
#include "scene/SceneKind.h"
#include "scene/SceneObject.h"
#include "scene/SceneObjectList.h"

namespace {

const float kHalfHeight = 384.0f;
const int kOpaqueAlpha = 60;
const float kMisclickWindow = 1.2f;

}  // namespace

PlayFieldClicks::PlayFieldClicks(const SceneKind& sceneKind, const SceneObjectList& sceneObjects,
                                 const SceneRules& sceneRules, PlayFieldPointer& fieldPointer,
                                 SceneRules::Events& sink, std::function<void(SceneObject*)> onClick,
                                 std::function<void(float, float)> onMiss)
    : kind(sceneKind), objects(sceneObjects), rules(sceneRules), pointer(fieldPointer), events(sink),
      click(std::move(onClick)), miss(std::move(onMiss)) {}

const std::map<std::string, std::string>& PlayFieldClicks::ToolStandIns() {
    static const std::map<std::string, std::string> standIns = {{"ar_Stokers_corner_1", "mock_Stokers_corner_1"}};
    return standIns;
}

void PlayFieldClicks::Press(float mx, float my) {
    pressSeen = true;
    const int before = rules.OpenNames();
    float sx = 0.0f, sy = 0.0f;
    kind.ScenePoint(mx, my, sx, sy);
    SceneObject* hit = FindObjectAt(sx, sy);
    if (!hit && kind.IsSplit()) hit = FindObjectAt(sx, sy + kHalfHeight);
    if (!hit) {
        miss(mx, my);
    } else {
        misclickTimer = 0.0f;
        if (kind.IsSplit())
            ResolveDifference(hit, sx, sy, mx, my);
        else
            click(hit);
    }

    const int after = rules.OpenNames();
    if (hit && after != before) misclickCount = 0;
    if (misclickTimer >= kMisclickWindow || after != before) {
        misclickCount = 0;
    } else if (++misclickCount >= 3) {
        events.Send(LevelEvents::kAddTime, "-60");
        misclickTimer = 0.0f;
        misclickCount = 0;
    }
    misclickTimer = 0.0f;
}

SceneObject* PlayFieldClicks::FindObjectAt(float sx, float sy) {
    std::vector<SceneObject*> near;
    for (SceneObject* object : objects.All()) {
        hgeSprite* sprite = object->GetDisplaySprite();
        if (!sprite || object->IsDead()) continue;
        const float diagonal = std::hypot(sprite->GetWidth(), sprite->GetHeight());
        if (std::hypot(object->GetX() - sx, object->GetY() - sy) < diagonal) near.push_back(object);
    }
    const std::set<std::string> wantedNames = rules.WantedNames();
    std::vector<SceneObject*> hits;
    for (float r = 0.0f; r <= 3.84f; r += 2.944f) {
        for (float angle = 0.0f; angle <= 6.2831855f; angle += 0.39269909f) {
            const float px = sx + r * std::cos(angle), py = sy + r * std::sin(angle);
            for (SceneObject* object : near) {
                hgeSprite* sprite = object->GetDisplaySprite();
                const float lx = px + sprite->GetHotSpotX() - object->GetAbsoluteX();
                const float ly = py + sprite->GetHotSpotY() - object->GetAbsoluteY();
                if (SpriteAlphaAt(sprite, lx, ly) > kOpaqueAlpha) hits.push_back(object);
            }
        }
    }
    if (hits.empty()) return nullptr;
    std::stable_sort(hits.begin(), hits.end(),
                     [](SceneObject* a, SceneObject* b) { return a->GetDepth() > b->GetDepth(); });
    SceneObject* winner = nullptr;
    for (SceneObject* hit : hits) {
        const std::string& hitName = hit->GetName();
        bool passes = wantedNames.count(hitName) > 0 ||
                      (kind.IsSplit() && hit->GetResourceName() != "InGameDividingLine");
        for (const auto& standIn : ToolStandIns()) passes = passes || standIn.second == hitName;
        if (passes) {
            winner = hit;
            break;
        }
    }
    if (SceneObject* locked = pointer.LockedObject()) {
        if (winner != locked) return nullptr;
        pointer.Unlock();
    }
    return winner;
}

SceneObject* PlayFieldClicks::FindPartner(SceneObject* object) const {
    std::string partner;
    for (const PairRecord& pair : rules.Pairs()) {
        if (pair.firstName == object->GetName()) partner = pair.secondName;
        if (pair.secondName == object->GetName()) partner = pair.firstName;
    }
    return partner.empty() ? nullptr : objects.Find(partner);
}

void PlayFieldClicks::ResolveDifference(SceneObject* a, float sx, float sy, float mx, float my) {
    if (SceneObject* partner = FindPartner(a)) {
        click(a);
        click(partner);
        return;
    }
    SceneObject* b = FindObjectAt(sx, sy + kHalfHeight);
    const std::set<std::string> wantedNames = rules.WantedNames();
    const bool aWanted = wantedNames.count(a->GetName()) > 0;
    SceneObject* chosen = a;
    if (!b) {
        // Nothing in the lower half: the upper object alone decides.
        chosen = a;
    } else if (a->GetDepth() < b->GetDepth()) {
        const bool bWanted = wantedNames.count(b->GetName()) > 0;
        chosen = bWanted ? b : (aWanted ? a : b);
    } else {
        chosen = aWanted ? a : b;
    }
    SceneObject* partner = FindPartner(chosen);
    if (wantedNames.count(chosen->GetName()))
        click(chosen);
    else
        miss(mx, my);
    if (partner) click(partner);
}
