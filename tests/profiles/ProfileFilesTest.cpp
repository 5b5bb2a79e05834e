// The users file and the profile documents: the written bytes and the round trip.
#include "ProfilesTestSupport.h"

namespace {

class ProfileFilesTest : public ProfilesTest {
protected:
    // Anna: every field set; Bob: a new player's defaults.
    void FillTwoPlayers(PlayerManager& pm) {
        ASSERT_TRUE(pm.AddPlayer("Anna"));
        ASSERT_TRUE(pm.AddPlayer("Bob"));
        Player& a = *pm.Players[0];
        a.IsActive = true;
        a.Time = 853.25f;
        a.ScoreItems = -5;
        a.ScoreSpeed = 120;
        a.ScoreMiniGames = 0;
        a.ScoreNode = 2147483647;
        a.CigarCount = 3;
        a.LastSolvedNode = "Node_2";
        a.RelaxedMode = true;
        a.PlayFieldPath = "data\\Scenes\\Crime_place_1.xml";
        a.NodeScores = {{"a0", 7}, {"B2", 300}, {"A1", -40}};
        a.Evidences = {"Knife", "Gun"};
        a.LastEvidences = {"Knife"};
        a.TempEvidences = {"Hat"};
        a.TempLastEvidences = {"Hat"};
        a.Medals = {17, 2};
        a.CurrentNode = "Node_3";  // saved with the scene in progress
        a.EndingPending = true;
        a.EndingPages = {"data\\Comics\\Comic2.xml"};
    }
};

}  // namespace

TEST_F(ProfileFilesTest, SaveWritesTheUsersFileAndProfilesByteForByte) {
    auto pm = LoadedManager();
    FillTwoPlayers(*pm);
    pm->Save();

    EXPECT_EQ(ReadFile(UsersPath()),
              "<Players>\n"
              "    <Player Name=\"Anna\" SaveFile=\"" + SlotText(1) + "\" IsActive=\"1\" Time=\"853.25\""
              " ScoreItems=\"4294967291\" ScoreSpeed=\"120\" ScoreMiniGames=\"0\" ScoreNode=\"2147483647\""
              " CigarCount=\"3\" LastSolvedNode=\"Node_2\" RelaxedMode=\"1\"/>\n"
              "    <Player Name=\"Bob\" SaveFile=\"" + SlotText(2) + "\" IsActive=\"0\" Time=\"0\""
              " ScoreItems=\"0\" ScoreSpeed=\"0\" ScoreMiniGames=\"0\" ScoreNode=\"0\""
              " CigarCount=\"0\" LastSolvedNode=\"\" RelaxedMode=\"0\"/>\n"
              "</Players>");
    EXPECT_EQ(ReadFile(SlotFile(1)),
              "<profile>\n"
              "    <global_map>\n"
              "        <node name=\"A1\" score=\"-40\"/>\n"
              "        <node name=\"B2\" score=\"300\"/>\n"
              "        <node name=\"a0\" score=\"7\"/>\n"
              "    </global_map>\n"
              "    <play_field path=\"data\\Scenes\\Crime_place_1.xml\" node=\"Node_3\" Time=\"853.25\" CigarCount=\"3\""
              " ScoreItems=\"-5\" ScoreSpeed=\"120\" ScoreMiniGames=\"0\" ScoreNode=\"2147483647\"/>\n"
              "    <evidences>\n"
              "        <evidence name=\"Gun\"/>\n"
              "        <evidence name=\"Knife\"/>\n"
              "    </evidences>\n"
              "    <last_evidences>\n"
              "        <last_evidence name=\"Knife\"/>\n"
              "    </last_evidences>\n"
              "    <temp_evidences>\n"
              "        <temp_evidence name=\"Hat\"/>\n"
              "    </temp_evidences>\n"
              "    <temp_last_evidences>\n"
              "        <temp_last_evidence name=\"Hat\"/>\n"
              "    </temp_last_evidences>\n"
              "    <medals>\n"
              "        <medal id=\"2\"/>\n"
              "        <medal id=\"17\"/>\n"
              "    </medals>\n"
              "    <ending>\n"
              "        <page path=\"data\\Comics\\Comic2.xml\"/>\n"
              "    </ending>\n"
              "</profile>");
    // No scene in progress, no story's end due: no "play_field" and no
    // "ending" element (a profile as written before both).
    EXPECT_EQ(ReadFile(SlotFile(2)),
              "<profile>\n"
              "    <global_map/>\n"
              "    <evidences/>\n"
              "    <last_evidences/>\n"
              "    <temp_evidences/>\n"
              "    <temp_last_evidences/>\n"
              "    <medals/>\n"
              "</profile>");
    EXPECT_EQ(log.CountRows("Debug", "Saving single player to " + SlotText(1)), 1);
    EXPECT_EQ(log.CountRows("Debug", "Saving players to " + Folder() + "data\\users.xml"), 1);
    // The profiles are written before the users file.
    const std::string text = log.Text();
    EXPECT_LT(text.find("Saving single player to " + SlotText(2)), text.find("Saving players to "));
}

TEST_F(ProfileFilesTest, LoadGivesBackEveryField) {
    {
        auto pm = LoadedManager();
        FillTwoPlayers(*pm);
        pm->Save();
    }
    auto pm = LoadedManager();
    ASSERT_EQ(pm->Players.size(), 2u);
    const Player& a = *pm->Players[0];
    EXPECT_EQ(a.Name, "Anna");
    EXPECT_EQ(a.SaveFile, SlotText(1));
    EXPECT_TRUE(a.IsActive);
    EXPECT_EQ(a.Time, 853.25f);
    EXPECT_EQ(a.ScoreItems, -5);
    EXPECT_EQ(a.ScoreSpeed, 120);
    EXPECT_EQ(a.ScoreMiniGames, 0);
    EXPECT_EQ(a.ScoreNode, 2147483647);
    EXPECT_EQ(a.CigarCount, 3);
    EXPECT_EQ(a.LastSolvedNode, "Node_2");
    EXPECT_TRUE(a.RelaxedMode);
    EXPECT_EQ(a.PlayFieldPath, "data\\Scenes\\Crime_place_1.xml");
    EXPECT_EQ(a.NodeScores, (std::map<std::string, int32_t>{{"a0", 7}, {"B2", 300}, {"A1", -40}}));
    EXPECT_EQ(a.Evidences, (std::set<std::string>{"Gun", "Knife"}));
    EXPECT_EQ(a.LastEvidences, (std::set<std::string>{"Knife"}));
    EXPECT_EQ(a.TempEvidences, (std::set<std::string>{"Hat"}));
    EXPECT_EQ(a.TempLastEvidences, (std::set<std::string>{"Hat"}));
    EXPECT_EQ(a.Medals, (std::set<uint32_t>{2, 17}));
    EXPECT_EQ(a.CurrentNode, "Node_3");
    EXPECT_TRUE(a.EndingPending);
    EXPECT_EQ(a.EndingPages, std::vector<std::string>{"data\\Comics\\Comic2.xml"});
    // Node scores mean the player has been on the map.
    EXPECT_TRUE(a.GameInProgress);

    const Player& b = *pm->Players[1];
    EXPECT_EQ(b.Name, "Bob");
    EXPECT_FALSE(b.IsActive);
    EXPECT_FALSE(b.RelaxedMode);
    EXPECT_FALSE(b.GameInProgress);
    EXPECT_TRUE(b.PlayFieldPath.empty());
    EXPECT_TRUE(b.Evidences.empty() && b.Medals.empty() && b.NodeScores.empty());
    EXPECT_FALSE(b.EndingPending);
    EXPECT_EQ(pm->GetActivePlayer(), &a);
}

TEST_F(ProfileFilesTest, NamesWithMarkupCharactersSurviveSaveAndLoad) {
    const std::string names[] = {"Tom \"Ace\" Lee", "Black & White", "<b>x</b>", "O'Neil", "\xe8\x9a\xed"};
    {
        auto pm = LoadedManager();
        for (const std::string& n : names) ASSERT_TRUE(pm->AddPlayer(n));
        pm->Players[0]->Evidences = {"a&b", "<x>"};
        pm->Players[1]->NodeScores = {{"\"q\"", 1}};
        pm->Save();
    }
    auto pm = LoadedManager();
    ASSERT_EQ(pm->Players.size(), 5u);
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(pm->Players[i]->Name, names[i]);
    EXPECT_EQ(pm->Players[0]->Evidences, (std::set<std::string>{"a&b", "<x>"}));
    EXPECT_EQ(pm->Players[1]->NodeScores.count("\"q\""), 1u);
    EXPECT_EQ(log.CountRows("Error", ""), 0);
}

TEST_F(ProfileFilesTest, ReaderTakesWhatTheWriterNeverProduces) {
    WriteFile(UsersPath(),
              "<Players>\n"
              "  <Comment Name=\"x\" SaveFile=\"" + SlotText(4) + "\"/>\n"
              "  <Player Name=\"Old\" SaveFile=\"" + SlotText(1) + "\" IsActive=\"1\" Time=\"10\" ScoreItems=\"1\""
              " ScoreSpeed=\"2\" ScoreMiniGames=\"3\" ScoreNode=\"4\" CigarCount=\"2.9\"/>\n"
              "  <Player Name=\"Old\" SaveFile=\"" + SlotText(2) + "\"/>\n"
              "</Players>\r\n");
    WriteFile(SlotFile(1),
              "<profile>\r\n"
              "  <global_map><node name=\"N\" score=\"5\"/><node name=\"N\" score=\"9\"/><node score=\"1\"/>"
              "</global_map>\n"
              "  <evidences><item name=\"Gun\"/><evidence/></evidences>\n"
              "  <evidences><evidence name=\"Rope\"/></evidences>\n"
              "  <last_evidences><item name=\"Hat\"/></last_evidences>\n"
              "  <medals><medal id=\"3\"/><medal/></medals>\n"
              "  <play_field path=\"first\" Time=\"50\"/><play_field path=\"second\" ScoreMiniGames=\"-7\"/>\n"
              "</profile>");
    auto pm = LoadedManager();
    ASSERT_EQ(pm->Players.size(), 2u);
    const Player& old = *pm->Players[0];
    // Missing "RelaxedMode" and "LastSolvedNode": false and empty.
    EXPECT_FALSE(old.RelaxedMode);
    EXPECT_TRUE(old.LastSolvedNode.empty());
    EXPECT_EQ(old.CigarCount, 2);  // truncated toward zero
    EXPECT_EQ(old.ScoreNode, 4);
    // The level's values "play_field" gives replace the users file's.
    EXPECT_EQ(old.Time, 50.0f);
    EXPECT_EQ(old.ScoreMiniGames, -7);
    EXPECT_EQ(old.NodeScores, (std::map<std::string, int32_t>{{"N", 5}}));  // the first score stays
    EXPECT_EQ(old.Evidences, (std::set<std::string>{"Rope"}));  // a later section replaces an earlier one
    EXPECT_EQ(old.LastEvidences, (std::set<std::string>{"Hat"}));  // whatever the children's names
    EXPECT_EQ(old.Medals, (std::set<uint32_t>{3}));
    EXPECT_EQ(old.PlayFieldPath, "second");
    // The same name twice: two players; missing counters take the defaults.
    const Player& again = *pm->Players[1];
    EXPECT_EQ(again.Name, "Old");
    EXPECT_FALSE(again.IsActive);
    EXPECT_EQ(again.Time, Player::kStartTime) << "a missing time is a new game's";
    EXPECT_EQ(again.ScoreItems, 0);
    EXPECT_EQ(again.CigarCount, 0);
    EXPECT_EQ(log.CountRows("Error", ""), 0);
}

TEST_F(ProfileFilesTest, SaveBeforeLoadWritesNothing) {
    auto pm = NewManager();
    pm->AddPlayer("Anna");
    pm->Save();
    EXPECT_FALSE(Exists(UsersPath()));
    EXPECT_FALSE(Exists(SlotFile(1)));
    EXPECT_EQ(log.CountRows("Warning", "Players are not saved"), 1);
}
