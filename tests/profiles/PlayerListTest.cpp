// The player list: slots, names, the active player.
#include "ProfilesTestSupport.h"

namespace {

class PlayerListTest : public ProfilesTest {};

std::vector<std::string> Names(const PlayerManager& pm) {
    std::vector<std::string> names;
    for (const Player* p : pm.Players) names.push_back(p->Name);
    return names;
}

}  // namespace

TEST_F(PlayerListTest, NewPlayersTakeTheFirstFreeSlotAndANinthIsRefused) {
    auto pm = NewManager();
    for (int i = 1; i <= 8; ++i) ASSERT_TRUE(pm->AddPlayer("P" + std::to_string(i)));
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(pm->Players[i - 1]->SaveFile, SlotText(i));
    EXPECT_FALSE(pm->AddPlayer("Ninth"));
    EXPECT_EQ(pm->Players.size(), 8u);

    // A freed slot is handed out again, before any later one.
    ASSERT_TRUE(pm->RemovePlayer("P3"));
    ASSERT_TRUE(pm->RemovePlayer("P6"));
    ASSERT_TRUE(pm->AddPlayer("New3"));
    EXPECT_EQ(pm->Players.back()->SaveFile, SlotText(3));
    ASSERT_TRUE(pm->AddPlayer("New6"));
    EXPECT_EQ(pm->Players.back()->SaveFile, SlotText(6));
    EXPECT_FALSE(pm->AddPlayer("Ninth"));
    EXPECT_EQ(Names(*pm), (std::vector<std::string>{"P1", "P2", "P4", "P5", "P7", "P8", "New3", "New6"}));
}

TEST_F(PlayerListTest, NewPlayerStartsWithTheDefaultsAndNamesAreComparedExactly) {
    auto pm = NewManager();
    ASSERT_TRUE(pm->AddPlayer("Anna"));
    const Player& p = *pm->Players[0];
    EXPECT_EQ(p.Name, "Anna");
    EXPECT_FALSE(p.IsActive);
    EXPECT_FALSE(p.GameInProgress);
    EXPECT_FALSE(p.RelaxedMode);
    EXPECT_EQ(p.Time, 0.0f);
    EXPECT_EQ(p.ScoreItems + p.ScoreSpeed + p.ScoreMiniGames + p.ScoreNode + p.CigarCount, 0);
    EXPECT_TRUE(p.PlayFieldPath.empty() && p.LastSolvedNode.empty() && p.CurrentNode.empty());
    EXPECT_TRUE(p.Evidences.empty() && p.NodeScores.empty() && p.Medals.empty());

    // Names are compared exactly.
    EXPECT_TRUE(pm->AddPlayer("anna"));
    EXPECT_TRUE(pm->AddPlayer("Anna "));
    EXPECT_FALSE(pm->AddPlayer("Anna"));
    EXPECT_FALSE(pm->RemovePlayer("ANNA"));
    EXPECT_FALSE(pm->SetActivePlayer("ANNA"));
    EXPECT_TRUE(pm->RemovePlayer("anna"));
    EXPECT_EQ(Names(*pm), (std::vector<std::string>{"Anna", "Anna "}));
    // A removed name may come back.
    EXPECT_TRUE(pm->AddPlayer("anna"));
}

TEST_F(PlayerListTest, OneActivePlayerAtATime) {
    auto pm = NewManager();
    EXPECT_EQ(pm->GetActivePlayer(), nullptr);
    pm->AddPlayer("A");
    pm->AddPlayer("B");
    EXPECT_EQ(pm->GetActivePlayer(), nullptr);  // adding makes no one active
    ASSERT_TRUE(pm->SetActivePlayer("B"));
    EXPECT_EQ(pm->GetActivePlayer()->Name, "B");
    pm->AddPlayer("C");
    EXPECT_EQ(pm->GetActivePlayer()->Name, "B");
    EXPECT_FALSE(pm->SetActivePlayer("Nobody"));
    EXPECT_EQ(pm->GetActivePlayer()->Name, "B");
    ASSERT_TRUE(pm->SetActivePlayer("A"));
    EXPECT_EQ(pm->GetActivePlayer()->Name, "A");
    EXPECT_FALSE(pm->Players[1]->IsActive);

    // Several flags set (as a loaded file may have them): the first in list order.
    pm->Players[2]->IsActive = true;
    EXPECT_EQ(pm->GetActivePlayer()->Name, "A");
    pm->Players[0]->IsActive = false;
    EXPECT_EQ(pm->GetActivePlayer()->Name, "C");

    // Removing the active player leaves none; its record stays usable.
    Player* c = pm->Players[2];
    ASSERT_TRUE(pm->RemovePlayer("C"));
    EXPECT_EQ(pm->GetActivePlayer(), nullptr);
    EXPECT_EQ(c->Name, "C");
}

TEST_F(PlayerListTest, TheProcessWideManagerIsMadeOnce) {
    PlayerManager* first = PlayerManager::Instance();
    EXPECT_TRUE(PlayerManager::HasInstance());
    EXPECT_EQ(first, PlayerManager::Instance());
    EXPECT_EQ(first->FishKinds.size(), 13u);
    EXPECT_EQ(first->FishKinds.front(), "Fish01");
    EXPECT_EQ(first->FishKinds[9], "Shark");
    EXPECT_EQ(first->FishKinds.back(), "Scat");
}
