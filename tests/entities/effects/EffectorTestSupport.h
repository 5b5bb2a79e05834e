// Shared pieces of the effector tests: an entity that counts its move and
// scale notifications, and a fixture with an entity manager to run frames on.
#pragma once

#include <gtest/gtest.h>

#include "support/runtime/CoreTestEngine.h"

class CountingEntity : public ZOLTFramework::CEntity {
public:
    void OnMove() override {
        ++moves;
        CEntity::OnMove();
    }
    void OnScale() override {
        ++scales;
        CEntity::OnScale();
    }
    int moves = 0;
    int scales = 0;
};

class EffectorTest : public ::testing::Test {
protected:
    // A target owned by the entity manager, merged and ready.
    CountingEntity* AddTarget(float px = 0.0f, float py = 0.0f) {
        auto* target = new CountingEntity;
        target->x = px;
        target->y = py;
        engine.Manager().Add(target);
        return target;
    }
    // Hands an effector to the manager and merges it, so the next Frame updates it.
    template <class T>
    T* AddEffector(T* effector, ZOLTFramework::CEntity* target) {
        effector->AttachTo(target);
        engine.Manager().Add(effector);
        engine.Manager().Update(0.0f);
        return effector;
    }
    void Frame(float dt) { engine.Manager().Update(dt); }
    void Frames(int n, float dt) {
        for (int i = 0; i < n; ++i) Frame(dt);
    }

    CoreTestEngine engine;
};
