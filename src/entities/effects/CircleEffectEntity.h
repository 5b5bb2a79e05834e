// Lays out its members on a ring around its own position, first member to the
// right, the others at equal angles. Members are expected to be its children;
// a member that is not (yet, or any more) a child is left out of the ring.
#pragma once

#include <vector>

#include "entities/core/CEntity.h"

class CircleEffectEntity : public ZOLTFramework::CEntity {
public:
    explicit CircleEffectEntity(float ringRadius) : radius(ringRadius) {}
    ~CircleEffectEntity() override = default;

    void Update(float dt) override { Layout(); }
    void Render() override {}

    // Appends a member and lays the ring out again.
    void AddEntity(ZOLTFramework::CEntity* member);
    void SetRadius(float r) { radius = r; }
    float GetRadius() const { return radius; }
    void Layout();

    size_t GetMemberCount() const { return members.size(); }

private:
    bool IsChild(const ZOLTFramework::CEntity* e) const;

    std::vector<ZOLTFramework::CEntity*> members;
    float radius;
};
