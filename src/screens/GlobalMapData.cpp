#include "screens/GlobalMapData.h"

#include <cmath>

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
    data.levelTime = root->GetFloatAttribute("LevelTime");
    data.cigarCount = static_cast<int>(std::trunc(root->GetFloatAttribute("CigarCount")));
    for (const auto& child : root->GetChildren()) {
        if (child->GetName() == "LevelNode") {
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
