#include "screens/GlobalMapData.h"

#include <cmath>

#include "engine/FileNumbers.h"
#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"
#include "profiles/Player.h"

namespace {

// A root number: absent or not finite (an Error row) reads as none; any other
// value is clamped to the int range, so it converts safely to a time or a count.
bool ReadClamped(const XMLDocument::XMLElement& root, const char* name, double* value) {
    if (!root.HasAttribute(name)) return false;
    const double read = root.GetFloatAttribute(name);
    if (!FileNumbers::IsFinite(root.GetStringAttribute(name))) return false;
    *value = std::fmax(-2147483648.0, std::fmin(2147483647.0, read));
    return true;
}

const char* const kRequired[] = {"Name", "X", "Y", "Sprite", "Level", "Caption", "FlagColor", "Description"};

}  // namespace

GlobalMapData GlobalMapData::Read(const std::string& path) {
    GlobalMapData data;
    XMLDocument document = XMLDocument::FromFile(path);
    if (!document.IsLoaded() || !document.GetRoot()) {
        HtmlLog::Instance()->Error("Global map: cannot read \"" + HtmlLog::Shown(path) + "\": " + HtmlLog::Shown(document.GetLastError()));
        return data;
    }
    data.loaded = true;
    const auto root = document.GetRoot();
    double value = 0.0;
    if ((data.hasLevelTime = ReadClamped(*root, "LevelTime", &value))) data.levelTime = float(value);
    if ((data.hasCigarCount = ReadClamped(*root, "CigarCount", &value))) data.cigarCount = int(std::trunc(value));
    for (const auto& child : root->GetChildren()) {
        if (!child) continue;
        if (child->GetName() == "LevelNode") {
            if (FileNumbers::ListFull(data.nodes.size(), "Global map \"" + HtmlLog::Shown(path) + "\": the level nodes")) continue;
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
            for (const char* name : kRequired)
                if (!child->HasAttribute(name)) node.missing.push_back(name);
            node.flagsBefore = data.flags.size();
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
