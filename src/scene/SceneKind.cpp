#include "scene/SceneKind.h"

#include <map>

#include "engine/HtmlLog.h"

namespace {

const float kScreenToScene = 1.28f;
const float kHalfHeight = 384.0f;   // scene units: where the lower half starts
const float kScreenHalf = 300.0f;   // the same on the screen

// Find everything on the list, one line a clue.
class FindAllKind : public SceneKind {
public:
    using SceneKind::SceneKind;
};

// Find what differs between the two halves of the picture: a press in either
// half is the same place, and the panel counts the differences left.
class DifferencesKind : public SceneKind {
public:
    using SceneKind::SceneKind;
    bool IsSplit() const override { return true; }
    void ScenePoint(float screenX, float screenY, float& sceneX, float& sceneY) const override {
        SceneKind::ScenePoint(screenX, screenY, sceneX, sceneY);
        if (sceneY >= kHalfHeight) sceneY -= kHalfHeight;
    }
    float MirrorY(float screenY) const override {
        return screenY >= kScreenHalf ? screenY - kScreenHalf : screenY + kScreenHalf;
    }
    Clues ClueLayout() const override { return Clues::Count; }
    std::string HelpKey() const override {
        const std::string extraKey = SceneKind::HelpKey();
        return extraKey == "HELP_FIND_ALL" ? "HELP_FIND_DIFFERENCES" : extraKey;
    }
};

template <class Kind>
SceneKind::Maker MakerOf() {
    return [](const std::string& extraType) { return std::unique_ptr<SceneKind>(new Kind(extraType)); };
}

std::map<std::string, SceneKind::Maker>& Makers() {
    static std::map<std::string, SceneKind::Maker> makers = {{SceneKind::kFindAll, MakerOf<FindAllKind>()},
                                                             {SceneKind::kFindDifferences, MakerOf<DifferencesKind>()}};
    return makers;
}

}  // namespace

std::unique_ptr<SceneKind> SceneKind::Of(const XMLDocument::XMLElement& root, const std::string& file) {
    const std::string type = root.GetStringAttribute("type");
    const std::string extraType = root.GetStringAttribute("extra_type");
    const auto found = Makers().find(type);
    if (found != Makers().end() && found->second) return found->second(extraType);
    if (!type.empty())
        HtmlLog::Instance()->Warning("Scene file \"" + HtmlLog::Shown(file) + "\": no kind of scene is called \"" + HtmlLog::Shown(type) +
                                     "\"; it is played as \"" + kFindAll + "\".");
    return std::unique_ptr<SceneKind>(new FindAllKind(extraType));
}

void SceneKind::Register(const std::string& type, Maker maker) {
    if (maker)
        Makers()[type] = std::move(maker);
    else
        Makers().erase(type);
}

void SceneKind::ScenePoint(float screenX, float screenY, float& sceneX, float& sceneY) const {
    sceneX = screenX * kScreenToScene;
    sceneY = screenY * kScreenToScene;
}

std::string SceneKind::CluesTextKey() const {
    return extra == "UseItems" || extra == "Measure" ? "USE_INVENTORY" : "";
}

std::string SceneKind::HelpKey() const {
    if (extra == "UseItems") return "HELP_USE_INVENTORY_ITEMS";
    if (extra == "Measure") return "HELP_MEASURE";
    return "HELP_FIND_ALL";
}
