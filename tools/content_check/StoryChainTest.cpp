// The story as the map strings it together: each place's level and the scenes
// that follow it, the mini-games its task conditions start, and the comic pages
// it shows (whether the game acts on each action where it stands is
// SceneActionsTest's). Only the last place ends on the final screen and shows
// the last page; every scene, mini-game and comic page loads into a resource group of
// its own (10 or more), which is the one purged when it closes.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "StoryScenes.h"
#include "engine/XMLDocument.h"

namespace {

std::string Slashed(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

struct Place {
    std::vector<std::string> scenes;
    std::vector<std::string> miniGames;
    std::vector<std::string> comics;
    bool final = false;
};

TEST(StoryChain, EachPlaceLeadsBackToTheMapAndOnlyTheLastEndsTheStory) {
    std::vector<std::pair<std::string, Place>> places;
    std::map<std::string, int> groups;  // file -> resource group it purges
    for (const contenttest::StoryPlace& story : contenttest::StoryPlaces()) {
        Place place;
        place.scenes = story.scenes;
        place.final = story.final;
        for (const std::string& scene : story.scenes) {
            SCOPED_TRACE(scene);
            XMLDocument doc = XMLDocument::FromFile(scene);
            ASSERT_TRUE(doc.IsLoaded());
            groups[scene] = doc.GetRoot()->GetIntAttribute("res_group", -1);
            for (const auto& child : doc.GetRoot()->GetChildren()) {
                if (child->GetName() != "task_condition") continue;
                for (const auto& action : child->GetChildren()) {
                    if (action->GetName() != "action") continue;
                    const std::string type = action->GetStringAttribute("type");
                    const std::string file = Slashed(action->GetStringAttribute("name"));
                    if (type == "MiniGame") place.miniGames.push_back(file);
                    if (type == "ShowComics") place.comics.push_back(file);
                }
            }
            if (doc.GetRoot()->GetStringAttribute("res_file").find("data\\Scenes\\Crime_place_nostatue") !=
                std::string::npos)
                place.miniGames.push_back("data/MiniGames/15.2.xml");
        }
        places.emplace_back(story.node, place);
    }

    using Files = std::vector<std::string>;
    ASSERT_EQ(places.size(), 4u);
    EXPECT_EQ(places[0].second.scenes, (Files{"data/Scenes/Study.xml", "data/Scenes/Portrait.xml"}));
    EXPECT_EQ(places[0].second.miniGames, (Files{"data/MiniGames/1.1.xml"}));
    EXPECT_EQ(places[0].second.comics, (Files{"data/Comics/Comic1.xml"}));
    EXPECT_EQ(places[1].second.miniGames, (Files{"data/MiniGames/15.2.xml"}));
    EXPECT_EQ(places[1].second.scenes, (Files{"data/Scenes/TownHall.xml", "data/Scenes/CrimePlace.xml"}));
    EXPECT_EQ(places[1].second.comics, (Files{"data/Comics/Comic3.xml"}));
    EXPECT_EQ(places[2].second.scenes, (Files{"data/Scenes/Docks.xml", "data/Scenes/Sewer.xml"}));
    EXPECT_EQ(places[2].second.comics, (Files{"data/Comics/ComicSewer.xml"}));
    EXPECT_EQ(places[2].second.miniGames, (Files{"data/MiniGames/2.2.xml", "data/MiniGames/5.2.xml"}));
    EXPECT_EQ(places[3].second.miniGames, (Files{"data/MiniGames/4.1.xml", "data/MiniGames/6.2.xml"}));
    EXPECT_EQ(places[3].second.comics, (Files{"data/Comics/Comic2.xml"}));
    for (size_t i = 0; i < places.size(); ++i) {
        SCOPED_TRACE(places[i].first);
        EXPECT_EQ(places[i].second.final, i + 1 == places.size()) << "only the last place ends the story";
        // The pages of the story's start and end belong to the first and last place.
        for (const std::string& comic : places[i].second.comics) {
            if (i > 0) {
                EXPECT_NE(comic, "data/Comics/Comic1.xml");
            }
            if (i + 1 < places.size()) {
                EXPECT_NE(comic, "data/Comics/Comic2.xml");
            }
        }
    }

    // Mini-games purge the group of their piece scene when they have one.
    for (const auto& [name, place] : places) {
        for (const std::string& file : place.miniGames) {
            SCOPED_TRACE(file);
            XMLDocument doc = XMLDocument::FromFile(file);
            ASSERT_TRUE(doc.IsLoaded());
            int group = doc.GetRoot()->GetIntAttribute("res_group", -1);
            if (doc.GetRoot()->HasAttribute("Scene")) {
                XMLDocument pieces = XMLDocument::FromFile(doc.GetRoot()->GetStringAttribute("Scene"));
                ASSERT_TRUE(pieces.IsLoaded());
                EXPECT_EQ(pieces.GetRoot()->GetIntAttribute("res_group", -1), group) << "one group for both files";
                group = pieces.GetRoot()->GetIntAttribute("res_group", -1);
            }
            groups[file] = group;
        }
        for (const std::string& file : place.comics) {
            XMLDocument doc = XMLDocument::FromFile(file);
            ASSERT_TRUE(doc.IsLoaded()) << file;
            groups[file] = doc.GetRoot()->GetIntAttribute("res_group", -1);
        }
    }
    std::set<int> seen;
    for (const auto& [file, group] : groups) {
        EXPECT_GE(group, 10) << file;
        EXPECT_TRUE(seen.insert(group).second) << file << " shares group " << group;
    }
    // A group for each scene, mini-game and comic page the story reaches.
    std::set<std::string> scenes, miniGames, comics;
    for (const auto& [name, place] : places) {
        scenes.insert(place.scenes.begin(), place.scenes.end());
        miniGames.insert(place.miniGames.begin(), place.miniGames.end());
        comics.insert(place.comics.begin(), place.comics.end());
    }
    EXPECT_EQ(seen.size(), scenes.size() + miniGames.size() + comics.size())
        << scenes.size() << " scenes, " << miniGames.size() << " mini-games, " << comics.size() << " comic pages";
}

}  // namespace
