// Every entity has an owner from its first line on: the entity manager for
// what Spawn, OpenScreen and SpawnChild make while it runs, the parent for
// parts made without one. Counted with the live-object counter, so a leak
// shows here in every build, not only under LeakSanitizer.
#include <gtest/gtest.h>

#include "entities/core/CCountBase.h"
#include "entities/screens/CScreenEntity.h"
#include "entities/screens/ScreenFactory.h"
#include "support/runtime/CoreTestEngine.h"

using ZOLTFramework::CCountBase;
using ZOLTFramework::CEntity;
using ZOLTFramework::CScreenEntity;
using ZOLTFramework::ScreenFactory;

namespace {

// A screen that hands itself over from its constructor, with a part.
class SelfOpening : public CScreenEntity {
public:
    explicit SelfOpening(const std::string& screenName) : CScreenEntity(screenName) {
        part = SpawnChild<CEntity>();
        if (EntityManager* manager = Manager()) manager->OpenScreen(this);
    }
    CEntity* part = nullptr;
};

}  // namespace

TEST(Ownership, EntitiesAndScreensMadeThroughTheManagerAreOwnedAndFreed) {
    const int before = CCountBase::GetLiveCount();
    {
        CoreTestEngine engine;
        EntityManager& manager = engine.Manager();
        CEntity* root = manager.Spawn<CEntity>();
        CEntity* part = root->SpawnChild<CEntity>();
        part->SetName("part");
        part->SpawnChild<CEntity>()->SetName("grandchild");
        EXPECT_EQ(root->FindChild("grandchild")->GetParent(), part);
        EXPECT_EQ(root->FindChild<CScreenEntity>("part"), nullptr);  // not of that type

        auto* screen = manager.OpenScreen<CScreenEntity>("Plain");
        auto* self = manager.OpenScreen<SelfOpening>("Self");
        EXPECT_EQ(manager.GetScreenStack(), (std::vector<CEntity*>{screen, self}));
        EXPECT_EQ(self->FindChild<CEntity>(""), self->part);

        engine.Step(0.1f);
        EXPECT_EQ(CCountBase::GetLiveCount(), before + 6);
        // Killing a root takes its parts along at the next update.
        root->Kill();
        engine.Step(0.1f);
        EXPECT_EQ(CCountBase::GetLiveCount(), before + 3);
        // The rest goes with the manager.
        engine.DestroyManager();
        EXPECT_EQ(CCountBase::GetLiveCount(), before);
    }
    EXPECT_EQ(CCountBase::GetLiveCount(), before);
}

TEST(Ownership, WithoutAManagerPartsBelongToTheirParentAndScreensAreNotMade) {
    ASSERT_EQ(ZOLTFramework::EngineContext::Current(), nullptr);
    const int before = CCountBase::GetLiveCount();
    {
        SelfOpening screen("Alone");
        CEntity* part = screen.SpawnChild<CEntity>();
        part->SpawnChild<CEntity>();
        // A part moved to another parent goes with that parent.
        CEntity* moved = screen.part->SpawnChild<CEntity>();
        moved->AttachTo(part);
        EXPECT_EQ(CCountBase::GetLiveCount(), before + 5);
        EXPECT_TRUE(screen.GetEngine() == nullptr);
    }
    EXPECT_EQ(CCountBase::GetLiveCount(), before);

    ScreenFactory::Register("Thing", [](EntityManager& manager, const std::string& name) {
        return manager.Spawn<CScreenEntity>(name);
    });
    EXPECT_EQ(ScreenFactory::Open(nullptr, "Thing", "x"), nullptr);
    ScreenFactory::Register("Thing", nullptr);
}
