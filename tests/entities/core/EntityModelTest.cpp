#include <gtest/gtest.h>

#include <cmath>

#include "support/runtime/CoreTestEngine.h"
#include "support/runtime/DrawList.h"

using ZOLTFramework::CCountBase;
using ZOLTFramework::CEntity;

namespace {

const float kPi = 3.14159265f;

class EntityModelTest : public ::testing::Test {
protected:
    CoreTestEngine engine;
};

TEST_F(EntityModelTest, AbsoluteValuesFollowTheParentChainAndSettersClamp) {
    CEntity root, child, grandchild;
    root.SetPosXY(100, 100);
    root.rotation = kPi / 2;
    child.SetPosXY(10, 0);
    child.AttachTo(&root);
    EXPECT_NEAR(child.GetAbsoluteX(), 100.0f, 1e-4);
    EXPECT_NEAR(child.GetAbsoluteY(), 110.0f, 1e-4);

    // Rotations add up; the grandchild turns with both.
    child.rotation = kPi / 2;
    grandchild.SetPosXY(5, 0);
    grandchild.AttachTo(&child);
    EXPECT_NEAR(grandchild.GetAbsoluteRotation(), kPi, 1e-5);
    EXPECT_NEAR(grandchild.GetAbsoluteX(), 95.0f, 1e-3);
    EXPECT_NEAR(grandchild.GetAbsoluteY(), 110.0f, 1e-3);

    // A parent's scale multiplies the scale but does not stretch the offset.
    CEntity scaled, inner;
    scaled.SetPosXY(50, 0);
    scaled.SetScale(2.0f);
    inner.SetPosXY(10, 0);
    inner.SetScaleX(1.5f);
    inner.AttachTo(&scaled);
    EXPECT_FLOAT_EQ(inner.GetAbsoluteX(), 60.0f);
    EXPECT_FLOAT_EQ(inner.GetAbsoluteScaleX(), 3.0f);
    EXPECT_FLOAT_EQ(inner.GetAbsoluteScaleY(), 2.0f);
    EXPECT_FLOAT_EQ(inner.GetAbsoluteScale(), 3.0f);

    scaled.SetOpacity(0.5f);
    inner.SetOpacity(0.5f);
    EXPECT_FLOAT_EQ(inner.GetAbsoluteOpacity(), 0.25f);

    // Opacity is clamped; an absolute position is placed through the parent.
    inner.SetOpacity(1.7f);
    EXPECT_FLOAT_EQ(inner.GetOpacity(), 1.0f);
    inner.SetOpacity(-0.2f);
    EXPECT_FLOAT_EQ(inner.GetOpacity(), 0.0f);
    CEntity holder, placed;
    holder.SetPosXY(30, 40);
    placed.AttachTo(&holder);
    placed.SetAbsolutePosition(100, 100);
    EXPECT_FLOAT_EQ(placed.GetX(), 70.0f);
    EXPECT_FLOAT_EQ(placed.GetY(), 60.0f);
    EXPECT_FLOAT_EQ(placed.GetAbsoluteX(), 100.0f);
}

TEST_F(EntityModelTest, LayerIsInheritedAndDepthSummed) {
    CEntity grand, parent, child;
    parent.AttachTo(&grand);
    child.AttachTo(&parent);
    EXPECT_FLOAT_EQ(child.GetLayer(), 0.0f);
    grand.SetLayer(5.0f);
    EXPECT_FLOAT_EQ(child.GetLayer(), 5.0f);
    parent.SetLayer(3.0f);
    EXPECT_FLOAT_EQ(child.GetLayer(), 3.0f);

    grand.SetDepth(1.0f);
    parent.SetDepth(2.0f);
    child.SetDepth(0.5f);
    EXPECT_FLOAT_EQ(child.GetAbsDepth(), 3.5f);
}

TEST_F(EntityModelTest, AttachToRefusesCyclesAndNull) {
    CEntity a, b, c;
    b.AttachTo(&a);
    c.AttachTo(&b);

    a.AttachTo(&c);  // its own grandchild
    EXPECT_EQ(a.GetParent(), nullptr);
    a.AttachTo(&a);
    EXPECT_EQ(a.GetParent(), nullptr);
    c.AttachTo(nullptr);
    EXPECT_EQ(c.GetParent(), &b);

    // Re-attaching moves the entity, keeping its local position.
    c.SetPosXY(7, 0);
    c.AttachTo(&a);
    EXPECT_EQ(c.GetParent(), &a);
    EXPECT_TRUE(b.GetChildren().empty());
    ASSERT_EQ(a.GetChildren().size(), 2u);
    EXPECT_EQ(a.GetChildren()[1], &c);
    EXPECT_FLOAT_EQ(c.GetX(), 7.0f);
}

TEST_F(EntityModelTest, RegistrationFollowsHiddenEnabledAndDead) {
    EntityManager& m = engine.Manager();
    auto* parent = new CEntity;
    auto* child = new CEntity;
    auto* other = new CEntity;
    m.Add(parent);
    m.Add(child);
    m.Add(other);
    parent->Hide();
    child->AttachTo(parent);
    other->SetEnabled(false);
    engine.Step(0.01f);
    EXPECT_FALSE(InDrawList(engine.Manager(), parent));
    EXPECT_FALSE(InDrawList(engine.Manager(), child));
    EXPECT_FALSE(InDrawList(engine.Manager(), other));

    parent->Show();
    EXPECT_TRUE(InDrawList(engine.Manager(), parent));
    EXPECT_TRUE(InDrawList(engine.Manager(), child));

    // Showing the parent does not bring back a child that is hidden itself.
    child->Hide();
    parent->Hide();
    parent->Show();
    EXPECT_FALSE(InDrawList(engine.Manager(), child));

    // Pause never touches the draw list.
    parent->Pause();
    EXPECT_TRUE(InDrawList(engine.Manager(), parent));
    EXPECT_TRUE(child->IsPausedInChain());

    other->SetEnabled(true);
    EXPECT_TRUE(InDrawList(engine.Manager(), other));
    EXPECT_EQ(m.GetDrawList().size(), 2u);
}

TEST_F(EntityModelTest, KillTakesTheSubtreeDetachAndDeleteDoNot) {
    CEntity a, b, c;
    b.AttachTo(&a);
    c.AttachTo(&b);
    b.Detach();
    EXPECT_FALSE(a.IsDead());
    EXPECT_EQ(b.GetParent(), nullptr);
    b.Kill();
    EXPECT_TRUE(b.IsDead());
    EXPECT_TRUE(c.IsDead());
    EXPECT_FALSE(a.IsDead());
    EXPECT_TRUE(a.IsAlive());

    // Deleting a parent leaves its children as roots.
    const int before = CCountBase::GetLiveCount();
    auto* parent = new CEntity;
    CEntity child;
    parent->SetPosXY(100, 100);
    child.SetPosXY(10, 5);
    child.AttachTo(parent);
    EXPECT_EQ(CCountBase::GetLiveCount(), before + 2);
    delete parent;
    EXPECT_EQ(child.GetParent(), nullptr);
    EXPECT_FALSE(child.IsDead());
    EXPECT_FLOAT_EQ(child.GetAbsoluteX(), 10.0f);
    EXPECT_EQ(CCountBase::GetLiveCount(), before + 1);

    // And deleting a child takes it out of its parent's list.
    CEntity root;
    auto* leaf = new CEntity;
    leaf->AttachTo(&root);
    delete leaf;
    EXPECT_TRUE(root.GetChildren().empty());
}

TEST(EntityWithoutEngine, SortKeysRaiseNoFlagAndRegistrationIsInert) {
    ASSERT_EQ(ZOLTFramework::g_pEngine, nullptr);
    CEntity e;
    e.SetDepth(4.0f);
    e.SetLayer(2.0f);
    EXPECT_FLOAT_EQ(e.GetDepth(), 4.0f);
    EXPECT_FLOAT_EQ(e.GetLayer(), 2.0f);
    e.Hide();
    EXPECT_TRUE(e.IsHidden());
    e.Show();
    EXPECT_FALSE(e.IsHidden());
}

}  // namespace
