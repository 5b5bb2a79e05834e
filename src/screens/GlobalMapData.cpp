#include "screens/GlobalMapData.h"

#include <cmath>

#include "engine/FileNumbers.h"
#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"
#include "profiles/Player.h"

GlobalMapData GlobalMapData::Read(const std::string& path) {
    GlobalMapData data;
    XMLDocument document = XMLDocument::FromFile(path);
    if (!document.IsLoaded()) {
        HtmlLog::Instance()->Error("Global map: cannot read \"" + path + "\": " + document.GetLastError());
        return data;
    }
    data.loaded = true;
    const auto root = document.GetRoot();
    // A value that is missing or not a finite number is not given: the player
    // keeps what he has.
    const std::string where = "Global map \"" + path + "\": \"";
    if (root->HasAttribute("LevelTime")) {
        data.levelTime = FileNumbers::Finite(root->GetStringAttribute("LevelTime"), 0.0f, where + "LevelTime\"");
        data.hasLevelTime = FileNumbers::IsFinite(root->GetStringAttribute("LevelTime"));
    }
    if (root->HasAttribute("CigarCount")) {
        const float cigars = FileNumbers::Finite(root->GetStringAttribute("CigarCount"), 0.0f, where + "CigarCount\"");
        data.cigarCount = FileNumbers::ClampToInt(cigars);
        data.hasCigarCount = FileNumbers::IsFinite(root->GetStringAttribute("CigarCount"));
    }
    for (const auto& child : root->GetChildren()) {
        if (child->GetName() == "LevelNode") {
            if (FileNumbers::ListFull(data.nodes.size(), "Global map \"" + path + "\": the level nodes")) continue;
            LevelNode node;
            node.name = child->GetStringAttribute("Name");
            node.x = child->GetFloatAttribute("X");
            node.y = child->GetFloatAttribute("Y");
            node.z = child->GetFloatAttribute("Z", 10.0f);
            node.sprite = child->GetStringAttribute("Sprite");
            node.level = child->GetStringAttribute("Level");
            node.caption = child->GetStringAttribute("Caption");
            node.flagColor = child->GetUIntAttribute("FlagColor");
            node.description = child->GetStringAttribute("Description");
            data.nodes.push_back(node);
        } else if (child->GetName() == "FlagAppearing") {
            FlagRecord flag;
            flag.name = child->GetStringAttribute("Name");
            for (const auto& attribute : child->GetAttributes())
                flag.attributes[attribute->GetName()] = attribute->GetValue();
            data.flags.push_back(flag);
        }
    }
    return data;
}

const GlobalMapData::LevelNode* GlobalMapData::FirstUnreached(const Player& player) const {
    for (const LevelNode& node : nodes)
        if (!player.NodeScores.count(node.name)) return &node;
    return nullptr;
}
