#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "support/runtime/CoreTestEngine.h"
#include "support/runtime/DrawList.h"

using ZOLTFramework::CCountBase;
using ZOLTFramework::CEntity;

namespace {

using Journal = std::vector<std::string>;

// Journal lines that mention one kind of event, in order.
Journal Only(const Journal& journal, const std::string& what) {
    Journal out;
    for (const std::string& line : journal) {
        if (line.size() > what.size() && line.compare(line.size() - what.size(), what.size(), what) == 0 &&
            line[line.size() - what.size() - 1] == ':')
            out.push_back(line);
    }
    return out;
}

// An entity whose update runs a given action (once).
class ActionEntity : public JournalEntity {
public:
    ActionEntity(const std::string& n, Journal* j, std::function<void()> action)
        : JournalEntity(n, j), m_action(std::move(action)) {}
    void Update(float dt) override {
        JournalEntity::Update(dt);
        if (m_action) {
            auto action = std::move(m_action);
            m_action = nullptr;
            action();
        }
    }

private:
    std::function<void()> m_action;
};

class EntityManagerTest : public ::testing::Test {
protected:
    JournalEntity* Make(const std::string& n) {
        auto* e = new JournalEntity(n, &journal);
        engine.Manager().Add(e);
        return e;
    }
    Journal RenderOrder() {
        journal.clear();
        engine.Manager().Render();
        return Only(journal, "render");
    }

    Journal journal;
    CoreTestEngine engine;
};

TEST_F(EntityManagerTest, DrawOrderIsLayerThenAbsoluteDepth) {
    JournalEntity* a = Make("a");
    JournalEntity* b = Make("b");
    JournalEntity* c = Make("c");
    JournalEntity* child = Make("child");
    a->SetLayer(2);
    b->SetLayer(1);
    b->SetDepth(50);
    c->SetLayer(1);
    c->SetDepth(10);
    child->AttachTo(c);  // layer 1 inherited, depth 10 + 45
    child->SetDepth(45);
    engine.Manager().Update(0.01f);
    EXPECT_EQ(RenderOrder(), (Journal{"c:render", "b:render", "child:render", "a:render"}));

    // A change takes effect at the next render pass.
    a->SetLayer(0.5f);
    EXPECT_EQ(RenderOrder(), (Journal{"a:render", "c:render", "b:render", "child:render"}));
}

TEST_F(EntityManagerTest, TiedEntitiesAreDrawnInJoinOrderAtEveryResort) {
    // Many ties, so that an unstable sort would show itself.
    std::vector<JournalEntity*> tied;
    Journal expected;
    for (int i = 0; i < 40; ++i) {
        tied.push_back(Make("t" + std::to_string(i)));
        tied.back()->SetLayer(5);
        tied.back()->SetDepth(70000);
        expected.push_back("t" + std::to_string(i) + ":render");
    }
    JournalEntity* below = Make("below");
    below->SetLayer(5);
    below->SetDepth(69999);
    engine.Manager().Update(0.01f);
    Journal all = expected;
    all.insert(all.begin(), "below:render");
    EXPECT_EQ(RenderOrder(), all);

    // Entities leave (killed, hidden) and come back (shown again: registered
    // anew at the end of the list) and others join: every re-sort keeps the
    // ties in the order they joined.
    tied[3]->Kill();
    tied[10]->Hide();
    tied[20]->Hide();
    engine.Manager().Update(0.01f);
    RenderOrder();
    tied[20]->Show();
    tied[10]->Show();
    JournalEntity* late = Make("late");
    late->SetLayer(5);
    late->SetDepth(70000);
    below->SetDepth(69998);  // an unrelated change re-sorts
    engine.Manager().Update(0.01f);
    all.erase(std::find(all.begin(), all.end(), "t3:render"));
    all.push_back("late:render");
    EXPECT_EQ(RenderOrder(), all);
    for (int round = 0; round < 3; ++round) {
        below->SetDepth(69990.0f + float(round));
        EXPECT_EQ(RenderOrder(), all);
    }
}

TEST_F(EntityManagerTest, NewEntityIsDrawnAtOnceAndUpdatedFromTheNextFrame) {
    JournalEntity* a = Make("a");
    engine.Manager().Update(0.01f);
    EXPECT_TRUE(Only(journal, "update").empty());  // merged at the end of the frame
    EXPECT_TRUE(InDrawList(engine.Manager(), a));
    engine.Manager().Update(0.01f);
    EXPECT_EQ(Only(journal, "update"), Journal{"a:update"});

    // An entity that registers itself while pending is drawn before it merges.
    auto* early = new JournalEntity("early", &journal);
    engine.Manager().Add(early);
    early->Show();
    EXPECT_EQ(RenderOrder(), (Journal{"a:render", "early:render"}));
}

TEST_F(EntityManagerTest, UpdatesInJoinOrderSkippingPausedChainsButNotHidden) {
    JournalEntity* parent = Make("parent");
    JournalEntity* child = Make("child");
    JournalEntity* hidden = Make("hidden");
    JournalEntity* lone = Make("lone");
    JournalEntity* still = Make("still");
    child->AttachTo(parent);
    hidden->Hide();
    lone->Pause();
    still->SetUpdatable(false);
    engine.Manager().Update(0.01f);
    journal.clear();

    engine.Manager().Update(0.01f);
    EXPECT_EQ(Only(journal, "update"), (Journal{"parent:update", "child:update", "hidden:update"}));

    parent->Pause();
    journal.clear();
    engine.Manager().Update(0.01f);
    EXPECT_EQ(Only(journal, "update"), (Journal{"hidden:update"}));
}

TEST_F(EntityManagerTest, AddedAndKilledInOneFrameIsNeverUpdatedAndASecondAddIsIgnored) {
    const int before = CCountBase::GetLiveCount();
    JournalEntity* e = Make("e");
    e->Kill();
    engine.Manager().Update(0.01f);  // merged
    EXPECT_TRUE(Only(journal, "delete").empty());
    engine.Manager().Update(0.01f);  // removed
    EXPECT_TRUE(Only(journal, "update").empty());
    EXPECT_EQ(Only(journal, "delete"), Journal{"e:delete"});
    EXPECT_EQ(CCountBase::GetLiveCount(), before);

    // A second add is ignored.
    journal.clear();
    JournalEntity* twice = Make("twice");
    engine.Manager().Add(twice);
    engine.Manager().Update(0.01f);
    engine.Manager().Add(twice);  // also after the merge
    journal.clear();
    engine.Manager().Update(0.01f);
    EXPECT_EQ(Only(journal, "update"), Journal{"twice:update"}) << "held once";
    twice->Kill();
    engine.Manager().Update(0.01f);
    EXPECT_EQ(Only(journal, "delete").size(), 1u);
    EXPECT_EQ(CCountBase::GetLiveCount(), before);
}

TEST_F(EntityManagerTest, KillingTheTopScreenGivesFocusBelowWithoutLostFocus) {
    EntityManager& m = engine.Manager();
    JournalEntity* bottom = Make("bottom");
    JournalEntity* middle = Make("middle");
    JournalEntity* top = Make("top");
    m.PushScreen(bottom);
    m.PushScreen(middle);
    m.PushScreen(top);
    EXPECT_EQ(journal, (Journal{"bottom:got", "bottom:lost", "middle:got", "middle:lost", "top:got"}));
    m.Update(0.01f);

    journal.clear();
    top->Kill();
    m.Update(0.01f);
    EXPECT_EQ(Only(journal, "lost"), Journal{});
    EXPECT_EQ(Only(journal, "got"), Journal{"middle:got"});
    EXPECT_EQ(m.GetTopScreen(), middle);

    // A screen killed in the middle of the stack leaves it silently.
    JournalEntity* upper = Make("upper");
    m.PushScreen(upper);
    journal.clear();
    middle->Kill();
    m.Update(0.01f);
    EXPECT_TRUE(Only(journal, "got").empty());
    EXPECT_TRUE(Only(journal, "lost").empty());
    EXPECT_EQ(m.GetScreenStack(), (std::vector<CEntity*>{bottom, upper}));
}

TEST_F(EntityManagerTest, RemoveScreenHandsTheFocusBack) {
    EntityManager& m = engine.Manager();
    JournalEntity* a = Make("a");
    JournalEntity* b = Make("b");
    JournalEntity* stranger = Make("stranger");
    m.RemoveScreen(a);  // empty stack: nothing at all
    m.PushScreen(a);
    m.PushScreen(b);
    journal.clear();
    m.RemoveScreen(stranger);
    EXPECT_EQ(journal, Journal{"stranger:lost"});
    journal.clear();
    m.RemoveScreen(a);  // not the top: taken out without focus for anyone else
    EXPECT_EQ(journal, Journal{"a:lost"});
    EXPECT_EQ(m.GetScreenStack(), std::vector<CEntity*>{b});
    m.PushScreen(a);
    journal.clear();
    m.RemoveScreen(a);
    EXPECT_EQ(journal, (Journal{"a:lost", "b:got"}));
}

TEST_F(EntityManagerTest, EntityDeletedDirectlyLeavesListsAndStack) {
    EntityManager& m = engine.Manager();
    JournalEntity* below = Make("below");
    JournalEntity* owned = Make("owned");
    m.Update(0.01f);
    m.PushScreen(below);
    m.PushScreen(owned);
    m.PushScreen(owned);  // twice: both occurrences must go

    // A member-like entity the manager does not own, registered through its parent.
    auto* holder = Make("holder");
    auto* member = new JournalEntity("member", &journal);
    member->AttachTo(holder);
    m.Update(0.01f);
    ASSERT_TRUE(InDrawList(engine.Manager(), member));

    journal.clear();
    delete owned;
    EXPECT_EQ(Only(journal, "got"), Journal{"below:got"});
    EXPECT_EQ(m.GetScreenStack(), std::vector<CEntity*>{below});
    delete member;
    journal.clear();
    m.Update(0.01f);
    EXPECT_EQ(Only(journal, "update"), (Journal{"below:update", "holder:update"}));
    m.Render();
    EXPECT_EQ(Only(journal, "render"), (Journal{"below:render", "holder:render"}));
}

TEST_F(EntityManagerTest, DeletingOthersDuringTheUpdateSkipsNobody) {
    EntityManager& m = engine.Manager();
    JournalEntity* victim = nullptr;
    auto* killer = new ActionEntity("killer", &journal, [&] { delete victim; });
    m.Add(killer);
    victim = Make("victim");
    JournalEntity* after = Make("after");
    m.Update(0.01f);
    journal.clear();
    m.Update(0.01f);
    EXPECT_EQ(Only(journal, "update"), (Journal{"killer:update", "after:update"}));
    journal.clear();
    m.Update(0.01f);  // the victim's place is closed
    EXPECT_EQ(Only(journal, "update"), (Journal{"killer:update", "after:update"}));
    (void)after;
}

TEST_F(EntityManagerTest, AddsFromUpdatesWaitForTheMerge) {
    EntityManager& m = engine.Manager();
    auto* spawner = new ActionEntity("spawner", &journal, [&] { m.Add(new JournalEntity("spawned", &journal)); });
    m.Add(spawner);
    m.Update(0.01f);
    journal.clear();
    m.Update(0.01f);
    EXPECT_EQ(Only(journal, "update"), Journal{"spawner:update"});
    journal.clear();
    m.Update(0.01f);
    EXPECT_EQ(Only(journal, "update"), (Journal{"spawner:update", "spawned:update"}));
}

TEST(EntityManagerTeardown, DeletesEverythingItHolds) {
    const int before = CCountBase::GetLiveCount();
    Journal journal;
    {
        CoreTestEngine engine;
        EntityManager& m = engine.Manager();
        auto* parent = new JournalEntity("parent", &journal);
        auto* child = new JournalEntity("child", &journal);
        m.Add(parent);
        m.Add(child);
        child->AttachTo(parent);
        m.Update(0.01f);
        m.PushScreen(parent);
        m.Add(new JournalEntity("pending", &journal));
        // A member entity outlives the manager: it must not reach back into it.
        auto* survivor = new JournalEntity("survivor", &journal);
        survivor->Show();
        ASSERT_TRUE(InDrawList(engine.Manager(), survivor));
        engine.DestroyManager();
        survivor->Hide();  // leaves no draw list behind: nothing to reach back into
        survivor->Show();
        delete survivor;
    }
    EXPECT_EQ(Only(journal, "delete"), (Journal{"parent:delete", "child:delete", "pending:delete", "survivor:delete"}));
    EXPECT_TRUE(Only(journal, "lost").empty());
    EXPECT_EQ(CCountBase::GetLiveCount(), before);
}

}  // namespace
