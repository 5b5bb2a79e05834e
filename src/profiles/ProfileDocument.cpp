#include "profiles/ProfileDocument.h"

#include <cstdint>
#include <set>
#include <string>

#include "engine/Conversions.h"
#include "engine/FileNumbers.h"
#include "engine/HtmlLog.h"
#include "profiles/LevelProgress.h"
#include "profiles/Player.h"

namespace ProfileDocument {

const char* const kRoot = "profile";

namespace {

using Element = XMLDocument::XMLElement;

struct NameSection {
    const char* section;
    const char* child;
    std::set<std::string> Player::*field;
};

const NameSection kNameSections[] = {
    {"evidences", "evidence", &Player::Evidences},
    {"last_evidences", "last_evidence", &Player::LastEvidences},
    {"temp_evidences", "temp_evidence", &Player::TempEvidences},
    {"temp_last_evidences", "temp_last_evidence", &Player::TempLastEvidences},
};

// The last child of that name (a later section replaces an earlier one).
const Element* LastChild(const Element& root, const std::string& name) {
    const Element* found = nullptr;
    for (const RefPtr<Element>& child : root.GetChildren())
        if (child->GetName() == name) found = child.Get();
    return found;
}

}  // namespace

void Write(const Player& player, Element& root) {
    RefPtr<Element> map = root.CreateChild("global_map");
    for (const auto& node : player.NodeScores) {
        RefPtr<Element> e = map->CreateChild("node");
        e->AddAttribute("name", node.first);
        e->AddAttribute("score", static_cast<int>(node.second));
    }
    if (!player.PlayFieldPath.empty()) {
        const auto playField = root.CreateChild("play_field");
        playField->AddAttribute("path", player.PlayFieldPath);
        // The node of the level in progress, for its score when it is won.
        if (!player.CurrentNode.empty()) playField->AddAttribute("node", player.CurrentNode);
        // The scores, time and cigars Continue starts it with: in this one
        // file with the name, not only in the users file written after it.
        LevelProgress::WriteValues(player, *playField);
    }
    for (const NameSection& s : kNameSections) {
        RefPtr<Element> section = root.CreateChild(s.section);
        for (const std::string& name : player.*s.field) section->CreateChild(s.child)->AddAttribute("name", name);
    }
    RefPtr<Element> medals = root.CreateChild("medals");
    for (uint32_t id : player.Medals) medals->CreateChild("medal")->AddAttribute("id", static_cast<unsigned>(id));
    if (player.EndingPending) {
        RefPtr<Element> ending = root.CreateChild("ending");
        for (const std::string& page : player.EndingPages) ending->CreateChild("page")->AddAttribute("path", page);
    }
}

void Read(const Element& root, Player& player) {
    const std::string who = "Player " + HtmlLog::Shown(player.Name) + ": ";
    for (const RefPtr<Element>& child : root.GetChildren()) {
        if (child->GetName() == "play_field") {
            player.PlayFieldPath = child->GetStringAttribute("path");
            if (child->HasAttribute("node")) player.CurrentNode = child->GetStringAttribute("node");
            LevelProgress::ReadValues(*child, player, who + "the saved level's ");
        }
    }
    if (const Element* map = LastChild(root, "global_map")) {
        for (const RefPtr<Element>& node : map->GetChildren()) {
            if (!node->HasAttribute("name") || !node->HasAttribute("score")) continue;
            const std::string name = node->GetStringAttribute("name");
            // A score that is no number leaves the node open, as a new entry starts: at 0.
            double score = 0.0;
            FileNumbers::Saved(node->GetStringAttribute("score"), INT32_MIN, INT32_MAX, score,
                               who + "the score of node " + HtmlLog::Shown(name));
            player.NodeScores.emplace(name, static_cast<int32_t>(score));
        }
    }
    for (const NameSection& s : kNameSections) {
        const Element* section = LastChild(root, s.section);
        if (!section) continue;
        for (const RefPtr<Element>& item : section->GetChildren()) {
            if (item->HasAttribute("name")) (player.*s.field).insert(item->GetStringAttribute("name"));
        }
    }
    if (const Element* ending = LastChild(root, "ending")) {
        player.EndingPending = true;
        for (const RefPtr<Element>& page : ending->GetChildren())
            if (page->HasAttribute("path")) player.EndingPages.push_back(page->GetStringAttribute("path"));
    }
    if (const Element* medals = LastChild(root, "medals")) {
        for (const RefPtr<Element>& medal : medals->GetChildren()) {
            double id = 0.0;
            if (medal->HasAttribute("id") &&
                FileNumbers::Saved(medal->GetStringAttribute("id"), 0.0, UINT32_MAX, id, who + "a medal \"id\""))
                player.Medals.insert(static_cast<uint32_t>(id));
        }
    }
}

}  // namespace ProfileDocument
