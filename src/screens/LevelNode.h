// One place on the global map: the node's picture, its caption below it, the
// planted flag (staff and banner in the node's own colour) that stands on
// every node but a newest one not yet passed, and a ring of spinning stars
// that marks the newest node. The map builds one per reached node of its
// file, attaches it, hit-tests it for hover and clicks and switches the flag.
//
// A node without a picture (an unknown sprite) draws its caption only and is
// never hit.
#pragma once

#include <cstdint>
#include <string>

#include "entities/core/CSpriteEntity.h"
#include "screens/GlobalMapData.h"

class TextEntity;

namespace ZOLTFramework {

class LevelNode : public CSpriteEntity {
public:
    static constexpr float kStarRadius = 150.0f;
    static const int kStarCount = 8;

    explicit LevelNode(const GlobalMapData::LevelNode& data);
    ~LevelNode() override;

    // Reads nothing: the map does the hover.
    void Update(float) override {}
    // The picture (with the hover colour the map may have set), then the
    // planted flag while it is visible.
    void Render() override;

    // True when the screen point lies on a texel of the node's picture that
    // is not fully transparent. Meant for scale 1.
    bool HitTest(float px, float py) const;
    // Makes the star ring once (false, or a second call, makes nothing). The
    // ring comes in at four times its size and shrinks to it in 1 s.
    void ShowStar(bool show);
    // True while a ring is still shrinking in.
    bool IsStarRingEntering() const { return starCircle && starCircle->GetScaleX() > 1.0f; }
    void SetLevelInfo(const std::string& staffStaying, const std::string& bannerStaying, float dx, float dy);
    void SetFlagVisible(bool visible) { flagVisible = visible; }
    bool IsFlagVisible() const { return flagVisible; }

    uint32_t GetFlagColor() const { return flagColor; }
    std::string GetDescription() const { return description; }
    const std::string& GetNodeName() const { return nodeName; }
    const std::string& GetLevel() const { return level; }
    TextEntity* GetCaption() const { return caption; }
    const std::string& GetBannerStaying() const { return bannerStaying; }
    float GetStayingDy() const { return stayingDy; }

    // The planted banner's colour at an opacity: the flag colour's red, green
    // and blue with alpha 255 * opacity (the flag colour's alpha is not used).
    static uint32_t BannerColor(uint32_t flagColor, float opacity);

private:
    void RenderPlantedFlag();

    std::string nodeName;
    std::string level;
    uint32_t flagColor = 0;
    bool flagVisible = true;
    std::string staffStaying;
    std::string bannerStaying;
    float stayingDx = 0.0f;
    float stayingDy = 0.0f;
    std::string description;
    CEntity* starRing = nullptr;
    CEntity* starCircle = nullptr;
    TextEntity* caption = nullptr;
};

}  // namespace ZOLTFramework
