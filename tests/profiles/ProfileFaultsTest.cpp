// Users files and profiles that are missing, broken or edited by hand, and
// saves that must not hand one player's progress to another.
#include <climits>
#include <cstdint>
#include <filesystem>
#include <map>

#include "ProfilesTestSupport.h"

namespace {

class ProfileFaultsTest : public ProfilesTest {
protected:
    std::string PlayerLine(const std::string& name, const std::string& saveFile) const {
        return "<Player Name=\"" + name + "\" SaveFile=\"" + saveFile + "\" IsActive=\"0\" Time=\"5\""
               " ScoreItems=\"0\" ScoreSpeed=\"0\" ScoreMiniGames=\"0\" ScoreNode=\"0\" CigarCount=\"1\"/>";
    }
};

}  // namespace

TEST_F(ProfileFaultsTest, MissingUsersFileIsAFirstRun) {
    auto pm = LoadedManager();
    EXPECT_TRUE(pm->IsLoaded());
    EXPECT_TRUE(pm->Players.empty());
    EXPECT_EQ(log.CountRows("Error", ""), 0);
    EXPECT_EQ(log.CountRows("Debug", "Loading players from "), 1);
    EXPECT_FALSE(Exists(UsersPath() + ".bad"));
    pm->AddPlayer("Anna");
    pm->Save();
    EXPECT_TRUE(Exists(UsersPath()));
    EXPECT_TRUE(Exists(SlotFile(1)));
}

TEST_F(ProfileFaultsTest, UnreadableUsersFileIsKeptAsideWithTheProfiles) {
    const std::string broken = "<Players><Player Name=\"Anna\" SaveFile=";
    WriteFile(UsersPath(), broken);
    WriteFile(UsersPath() + ".bad", "an older broken file");
    WriteFile(SlotFile(1), "<profile><medals><medal id=\"1\"/></medals></profile>");
    WriteFile(SlotFile(5), "<profile/>");

    auto pm = LoadedManager();
    EXPECT_TRUE(pm->Players.empty());
    EXPECT_EQ(log.CountRows("Error", "Cannot read the users file"), 1);
    EXPECT_FALSE(Exists(UsersPath()));
    EXPECT_EQ(ReadFile(UsersPath() + ".bad"), broken);  // the older one is replaced
    EXPECT_FALSE(Exists(SlotFile(1)));
    EXPECT_EQ(ReadFile(SlotFile(1) + ".bad"), "<profile><medals><medal id=\"1\"/></medals></profile>");
    EXPECT_TRUE(Exists(SlotFile(5) + ".bad"));
    EXPECT_FALSE(Exists(SlotFile(2) + ".bad"));

    // A new player's save overwrites none of the old files.
    ASSERT_TRUE(pm->AddPlayer("Newcomer"));
    pm->Save();
    EXPECT_EQ(ReadFile(UsersPath() + ".bad"), broken);
    EXPECT_TRUE(Exists(SlotFile(1) + ".bad"));
    auto again = LoadedManager();
    ASSERT_EQ(again->Players.size(), 1u);
    EXPECT_EQ(again->Players[0]->Name, "Newcomer");
    EXPECT_TRUE(again->Players[0]->Medals.empty());
}

TEST_F(ProfileFaultsTest, UsersFileWithoutAnElementIsUnreadable) {
    WriteFile(UsersPath(), "");
    auto pm = LoadedManager();
    EXPECT_TRUE(Exists(UsersPath() + ".bad"));
    EXPECT_EQ(log.CountRows("Error", "Cannot read the users file"), 1);
}

TEST_F(ProfileFaultsTest, UnreadableProfileIsKeptAsideAndThePlayerKeepsItsCounters) {
    WriteFile(UsersPath(), "<Players>" + PlayerLine("Anna", SlotText(1)) + "</Players>");
    WriteFile(SlotFile(1), "<profile><evidences>");
    auto pm = LoadedManager();
    ASSERT_EQ(pm->Players.size(), 1u);
    EXPECT_EQ(pm->Players[0]->Time, 5.0f);
    EXPECT_EQ(pm->Players[0]->CigarCount, 1);
    EXPECT_TRUE(pm->Players[0]->Evidences.empty());
    EXPECT_EQ(log.CountRows("Error", "Cannot read the profile document of Anna"), 1);
    EXPECT_EQ(ReadFile(SlotFile(1) + ".bad"), "<profile><evidences>");
    EXPECT_FALSE(Exists(SlotFile(1)));
}

// Another kind of document where the users file or a profile belongs reads as
// unreadable: kept aside, never overwritten by the next save.
TEST_F(ProfileFaultsTest, AWellFormedFileOfAnotherKindIsKeptAside) {
    const std::string profileAsUsers = "<profile>" + PlayerLine("Anna", SlotText(1)) + "</profile>";
    WriteFile(UsersPath(), profileAsUsers);
    auto pm = LoadedManager();
    EXPECT_TRUE(pm->Players.empty());
    EXPECT_EQ(log.CountRows("Error", "Cannot read the users file (the root element is &lt;profile&gt;"), 1);
    pm->AddPlayer("Bob");
    pm->Save();
    EXPECT_EQ(ReadFile(UsersPath() + ".bad"), profileAsUsers);

    const std::string usersAsProfile = "<Players><medals><medal id=\"1\"/></medals></Players>";
    WriteFile(SlotFile(1), usersAsProfile);
    pm = LoadedManager();
    ASSERT_EQ(pm->Players.size(), 1u);
    EXPECT_TRUE(pm->Players[0]->Medals.empty());
    EXPECT_EQ(log.CountRows("Error", "Cannot read the profile document of Bob (the root element is &lt;Players"), 1);
    pm->Save();
    EXPECT_EQ(ReadFile(SlotFile(1) + ".bad"), usersAsProfile);
}

// Numbers of both files out of their ranges or no numbers at all: each a
// Warning row, the nearest end of the range or the field's default, and
// what the next save writes reads back the same. "score" and "id" are the
// profile's node score and medal id.
TEST_F(ProfileFaultsTest, NumbersOutOfRangeAreHeldToItWithAWarning) {
    const double kNone = -1.0;  // no node score or medal read
    struct Case {
        std::string attribute, stored;
        double loaded;
        std::string saved;
        bool warned;
    };
    const Case cases[] = {
        {"Time", "853.25", 853.25, "853.25", false},
        {"Time", "nan", 1200.0, "1200", true},  // a new game's time: 0 would be a level lost
        {"Time", "1e308", 1200.0, "1200", true},
        {"Time", "-5", 0.0, "0", true},
        {"Time", "1e9", 1e6, "1e+06", true},  // its bonus stays within an int
        {"ScoreNode", "-99999999999", INT32_MIN, "2147483648", true},
        {"ScoreNode", "99999999999", INT32_MAX, "2147483647", true},
        {"ScoreNode", "4294967291", -5.0, "4294967291", false},
        {"ScoreItems", "1e308", 0.0, "0", true},
        {"ScoreSpeed", "-7", -7.0, "4294967289", false},
        {"ScoreMiniGames", "inf", 0.0, "0", true},
        {"CigarCount", "4294967294", -2.0, "-2", false},  // older files wrote a negative count unsigned
        {"CigarCount", "-3.9", -3.0, "-3", false},
        {"CigarCount", "2147483647", 1000.0, "1000", true},
        {"CigarCount", "-1e30", INT32_MIN, "-2147483648", true},
        {"CigarCount", "lots", 0.0, "0", true},
        {"score", "-99999999999", INT32_MIN, "-2147483648", true},
        {"score", "nan", 0.0, "0", true},
        {"id", "-1", 0.0, "0", true},
        {"id", "99999999999", UINT32_MAX, "4294967295", true},
        {"id", "1e39", kNone, "", true},
    };
    auto loaded = [&](const Player& p, const std::string& attribute) -> double {
        if (attribute == "Time") return p.Time;
        if (attribute == "score") return p.NodeScores.empty() ? kNone : p.NodeScores.begin()->second;
        if (attribute == "id") return p.Medals.empty() ? kNone : *p.Medals.begin();
        const std::map<std::string, int32_t Player::*> fields = {
            {"ScoreItems", &Player::ScoreItems}, {"ScoreSpeed", &Player::ScoreSpeed},
            {"ScoreMiniGames", &Player::ScoreMiniGames}, {"ScoreNode", &Player::ScoreNode},
            {"CigarCount", &Player::CigarCount}};
        return p.*fields.at(attribute);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attribute + "=" + c.stored);
        const bool inProfile = c.attribute == "score" || c.attribute == "id";
        std::string users = PlayerLine("Anna", SlotText(1));
        const size_t at = users.find(" " + c.attribute + "=\"");
        if (at != std::string::npos) {
            const size_t from = at + c.attribute.size() + 3;
            users.replace(from, users.find('"', from) - from, c.stored);
        }
        WriteFile(UsersPath(), "<Players>" + users + "</Players>");
        const std::string value = c.attribute + "=\"" + c.stored + "\"";
        WriteFile(SlotFile(1), "<profile><global_map><node name=\"N\" " + (c.attribute == "score" ? value : "") +
                                   "/></global_map><medals><medal " + (c.attribute == "id" ? value : "") +
                                   "/></medals></profile>");
        const int warnings = log.CountRows("Warning", "Player Anna: ");
        auto pm = LoadedManager();
        ASSERT_EQ(pm->Players.size(), 1u);
        EXPECT_EQ(loaded(*pm->Players[0], c.attribute), c.loaded);
        EXPECT_EQ(log.CountRows("Warning", "Player Anna: ") - warnings, c.warned ? 1 : 0);
        pm->Save();
        const std::string written = ReadFile(inProfile ? SlotFile(1) : UsersPath());
        EXPECT_EQ(written.find(c.attribute + "=\"" + c.saved + "\"") != std::string::npos, !c.saved.empty()) << written;
        EXPECT_EQ(loaded(*LoadedManager()->Players[0], c.attribute), c.loaded);
    }

    // A name of 100 000 characters is cut to its first 64 at load.
    WriteFile(UsersPath(), "<Players>" + PlayerLine(std::string(100000, 'x'), SlotText(1)) + "</Players>");
    auto pm = LoadedManager();
    ASSERT_EQ(pm->Players.size(), 1u);
    EXPECT_EQ(pm->Players[0]->Name, std::string(64, 'x'));
    EXPECT_EQ(log.CountRows("Warning", "A player's name of 100000 characters is cut to its first 64"), 1);
}

TEST_F(ProfileFaultsTest, ProfilePathsOutsideTheSlotsAreRefused) {
    const std::string outside = storage / "elsewhere.xml";
    WriteFile(outside, "<profile><medals><medal id=\"9\"/></medals></profile>");
    WriteFile(UsersPath(),
              "<Players>" + PlayerLine("Outside", outside) +
              PlayerLine("Sneaky", Folder() + "data/Map/../../elsewhere.xml") +
              PlayerLine("Ninth", Folder() + "data\\Map\\9.xml") +
              PlayerLine("Other", "/tmp/data/Map/1.xml.old") +
              // The same slot written differently: accepted, kept in the slot's own form.
              PlayerLine("Anna", Folder() + "data//Map/./1.xml") +
              PlayerLine("Copycat", SlotText(1)) +
              "<Player SaveFile=\"" + SlotText(3) + "\"/>"
              "<Player Name=\"NoFile\"/>"
              "<Player Name=\"\" SaveFile=\"" + SlotText(4) + "\"/>"
              "</Players>");
    auto pm = LoadedManager();
    ASSERT_EQ(pm->Players.size(), 1u);
    EXPECT_EQ(pm->Players[0]->Name, "Anna");
    EXPECT_EQ(pm->Players[0]->SaveFile, SlotText(1));
    EXPECT_EQ(log.CountRows("Error", "Player Outside is skipped"), 1);
    EXPECT_EQ(log.CountRows("Error", "Player Sneaky is skipped"), 1);
    EXPECT_EQ(log.CountRows("Error", "Player Ninth is skipped"), 1);
    EXPECT_EQ(log.CountRows("Error", "Player Other is skipped"), 1);
    EXPECT_EQ(log.CountRows("Error", "Player Copycat is skipped"), 1);  // two players never share a slot
    EXPECT_EQ(log.CountRows("Error", "A player of the users file is skipped"), 3);
    // The users file as it was stays beside the one the next save writes.
    const std::string original = ReadFile(UsersPath());
    EXPECT_EQ(log.CountRows("Error", "The users file names players"), 1);
    EXPECT_EQ(ReadFile(UsersPath() + ".bad"), original);

    // Saving never writes outside the slots, and the next player gets slot 2.
    ASSERT_TRUE(pm->AddPlayer("Bob"));
    EXPECT_EQ(pm->Players[1]->SaveFile, SlotText(2));
    pm->Save();
    EXPECT_EQ(ReadFile(outside), "<profile><medals><medal id=\"9\"/></medals></profile>");
    EXPECT_NE(ReadFile(UsersPath()), original);
    EXPECT_EQ(ReadFile(UsersPath() + ".bad"), original);
}

TEST_F(ProfileFaultsTest, AMovedStorageFolderKeepsEveryPlayerAndTheirProgress) {
    const std::string before = storage / "old home/Drovalin/";
    const std::string after = storage / "new home/Drovalin/";
    auto managerOver = [](const std::string& folder) {
        std::unique_ptr<PlayerManager> pm(new PlayerManager());
        pm->SetSavePath(folder);
        pm->SetUsersFile("data\\users.xml");
        pm->Load();
        return pm;
    };
    {
        auto pm = managerOver(before);
        for (const char* name : {"Anna", "Bob", "Carl"}) pm->AddPlayer(name);
        pm->SetActivePlayer("Bob");
        pm->Players[0]->Evidences = {"Gun"};
        pm->Players[0]->NodeScores = {{"Node_1", 300}};
        pm->Players[0]->PlayFieldPath = before + "data\\Map\\1.xml_playfield.xml";
        pm->Players[2]->CigarCount = 4;
        pm->Save();
    }
    std::filesystem::create_directories(storage / "new home");
    std::filesystem::rename(before, after);
    // A hand edit wrote one slot with the other slash.
    std::string users = ReadFile(after + "data/users.xml");
    const std::string carl = "data\\Map\\3.xml";
    users.replace(users.find(carl), carl.size(), "data/Map/3.xml");
    WriteFile(after + "data/users.xml", users);

    auto pm = managerOver(after);
    ASSERT_EQ(pm->Players.size(), 3u);
    EXPECT_EQ(pm->Players[0]->SaveFile, after + "data\\Map\\1.xml");
    EXPECT_EQ(pm->Players[2]->SaveFile, after + "data\\Map\\3.xml");
    EXPECT_EQ(pm->Players[0]->Evidences, (std::set<std::string>{"Gun"}));
    EXPECT_EQ(pm->Players[0]->NodeScores.at("Node_1"), 300);
    EXPECT_EQ(pm->Players[0]->PlayFieldPath, after + "data\\Map\\1.xml_playfield.xml");
    EXPECT_EQ(pm->Players[2]->CigarCount, 4);
    EXPECT_EQ(pm->GetActivePlayer()->Name, "Bob");
    EXPECT_EQ(log.Count("is taken from " + after), 3);
    EXPECT_EQ(log.CountRows("Error", ""), 0);
    EXPECT_FALSE(Exists(after + "data/users.xml.bad"));

    // A new player takes a free slot, and the next run finds everyone in place.
    ASSERT_TRUE(pm->AddPlayer("Dora"));
    EXPECT_EQ(pm->Players[3]->SaveFile, after + "data\\Map\\4.xml");
    pm->Save();
    EXPECT_EQ(ReadFile(after + "data/users.xml").find(before), std::string::npos);
    auto again = managerOver(after);
    ASSERT_EQ(again->Players.size(), 4u);
    EXPECT_EQ(again->Players[0]->Evidences, (std::set<std::string>{"Gun"}));
    EXPECT_EQ(again->Players[0]->PlayFieldPath, after + "data\\Map\\1.xml_playfield.xml");
    EXPECT_EQ(log.Count("is taken from"), 3);
}

TEST_F(ProfileFaultsTest, OnlyTheFirstPlayerFlaggedActiveStaysActive) {
    std::string line = PlayerLine("Anna", SlotText(1));
    std::string active2 = PlayerLine("Bob", SlotText(2)), active3 = PlayerLine("Carl", SlotText(3));
    for (std::string* l : {&active2, &active3}) l->replace(l->find("IsActive=\"0\""), 12, "IsActive=\"1\"");
    WriteFile(UsersPath(), "<Players>" + line + active2 + active3 + "</Players>");
    auto pm = LoadedManager();
    ASSERT_EQ(pm->Players.size(), 3u);
    EXPECT_FALSE(pm->Players[0]->IsActive);
    EXPECT_TRUE(pm->Players[1]->IsActive);
    EXPECT_FALSE(pm->Players[2]->IsActive);
    EXPECT_EQ(log.CountRows("Warning", "Player Carl is not made active"), 1);
    pm->Save();
    EXPECT_EQ(LoadedManager()->Players[2]->IsActive, false);
}

TEST_F(ProfileFaultsTest, AReusedSlotIsReleasedBeforeItsNewPlayerIsWritten) {
    {
        auto pm = LoadedManager();
        pm->AddPlayer("Anna");
        pm->AddPlayer("Bob");
        pm->Players[0]->Evidences = {"Anna's gun"};
        pm->Save();
    }
    auto pm = LoadedManager();
    ASSERT_TRUE(pm->RemovePlayer("Anna"));
    ASSERT_TRUE(pm->AddPlayer("Carl"));
    ASSERT_EQ(pm->Players.back()->SaveFile, SlotText(1));
    pm->Players.back()->Evidences = {"Carl's hat"};
    pm->Save();

    // Before Carl's profile replaced Anna's, the users file stopped naming Anna.
    const std::string text = log.Text();
    const size_t released = text.find("Releasing reused save slots in ");
    ASSERT_NE(released, std::string::npos);
    EXPECT_LT(released, text.rfind("Saving single player to " + SlotText(1)));

    auto after = LoadedManager();
    ASSERT_EQ(after->Players.size(), 2u);
    EXPECT_EQ(after->Players[0]->Name, "Bob");
    EXPECT_EQ(after->Players[1]->Name, "Carl");
    EXPECT_EQ(after->Players[1]->Evidences, (std::set<std::string>{"Carl's hat"}));
}

TEST_F(ProfileFaultsTest, AReusedSlotIsNotWrittenWhenItCannotBeReleased) {
    {
        auto pm = LoadedManager();
        pm->AddPlayer("Anna");
        pm->Players[0]->Evidences = {"Anna's gun"};
        pm->Save();
    }
    auto pm = LoadedManager();
    pm->RemovePlayer("Anna");
    pm->AddPlayer("Carl");
    pm->Players.back()->Evidences = {"Carl's hat"};
    // The users file cannot be replaced: its temporary name is taken by a folder.
    std::filesystem::create_directories(UsersPath() + ".tmp");
    pm->Save();
    std::filesystem::remove(UsersPath() + ".tmp");

    EXPECT_EQ(log.CountRows("Error", "Players are not saved"), 1);
    auto after = LoadedManager();
    ASSERT_EQ(after->Players.size(), 1u);
    EXPECT_EQ(after->Players[0]->Name, "Anna");
    EXPECT_EQ(after->Players[0]->Evidences, (std::set<std::string>{"Anna's gun"}));
}

TEST_F(ProfileFaultsTest, AStaleProfileIsNeverListedUnderANewPlayer) {
    // A document left behind by a player removed in an earlier run.
    WriteFile(SlotFile(1), "<profile><evidences><evidence name=\"Old gun\"/></evidences></profile>");
    auto pm = LoadedManager();
    pm->AddPlayer("Carl");
    // Carl's document cannot be written.
    std::filesystem::create_directories(SlotFile(1) + ".tmp");
    pm->Save();
    std::filesystem::remove(SlotFile(1) + ".tmp");

    auto after = LoadedManager();
    ASSERT_EQ(after->Players.size(), 1u);
    EXPECT_EQ(after->Players[0]->Name, "Carl");
    EXPECT_TRUE(after->Players[0]->Evidences.empty());
}
