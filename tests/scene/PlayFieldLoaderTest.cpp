// The loader's reading of a scene root alone, without an engine: the heading
// and the kind a root gives the field.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "scene/PlayFieldLoader.h"
#include "scene/SceneKind.h"

TEST(PlayFieldLoader, WhatARootSays) {
    const std::string path = "data/Scenes/Scene.xml";
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> attributes;
        std::string resumedFrom;
        std::string heading;  // "group next dark opens split"
    } rows[] = {
        {"a scene of its own group", {{"res_file", "data\\Scenes\\Study.res"}, {"res_group", "12"}}, "",
         "12 - lit stays whole"},
        {"no group reads as a shared one", {{"res_file", "data\\Scenes\\Study.res"}}, "", "-1 - lit stays whole"},
        {"the sewer door is dark", {{"res_file", "data\\Scenes\\Sewer_system_door_generator.res"}}, "",
         "-1 - dark stays whole"},
        {"the crime place played afresh opens its game", {{"res_file", "data\\Scenes\\Crime_place_nostatue.res"}},
         "", "-1 - lit opens whole"},
        {"resumed from its own file it does not", {{"res_file", "data\\Scenes\\Crime_place_nostatue.res"}}, path,
         "-1 - lit stays whole"},
        {"a scene that leads on, in two halves",
         {{"SceneToLoadOnFinish", "data/Scenes/Next.xml"}, {"type", SceneKind::kFindDifferences}}, "",
         "-1 data/Scenes/Next.xml lit stays split"},
        {"an unknown type plays as find-all", {{"type", "Riddle"}, {"res_group", "30"}}, "", "30 - lit stays whole"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        XMLDocument::XMLElement root("scene");
        for (const auto& attribute : row.attributes) root.AddAttribute(attribute.first, attribute.second);
        const PlayFieldLoader loader(root, path);
        const SceneHeading heading = loader.ReadHeading(row.resumedFrom);
        const std::unique_ptr<SceneKind> kind = loader.ReadKind();
        const std::string said = std::to_string(heading.resourceGroup) + " " +
                                 (heading.nextScene.empty() ? "-" : heading.nextScene) + " " +
                                 (heading.dark ? "dark" : "lit") + " " + (heading.opensMiniGame ? "opens" : "stays") +
                                 " " + (kind->IsSplit() ? "split" : "whole");
        EXPECT_EQ(said, row.heading);
    }
}
