#include "profiles/LevelProgress.h"

#include <cstdint>
#include <set>

#include "engine/Conversions.h"
#include "engine/FileNumbers.h"
#include "profiles/Player.h"

namespace LevelProgress {

const char* const kStateElement = "level_progress";

namespace {

using Element = XMLDocument::XMLElement;

struct Score {
    const char* name;
    int32_t Player::*field;
};

const Score kScores[] = {{"ScoreItems", &Player::ScoreItems},
                         {"ScoreSpeed", &Player::ScoreSpeed},
                         {"ScoreMiniGames", &Player::ScoreMiniGames},
                         {"ScoreNode", &Player::ScoreNode}};

struct Evidences {
    const char* child;
    std::set<std::string> Player::*field;
};

const Evidences kEvidences[] = {{"temp_evidence", &Player::TempEvidences},
                                {"temp_last_evidence", &Player::TempLastEvidences}};

// The attribute into the field, held to min and max; false without the attribute.
bool ReadNumber(const Element& element, const char* name, double min, double max, double& value,
                const std::string& who) {
    if (!element.HasAttribute(name)) return false;
    FileNumbers::Saved(element.GetStringAttribute(name), min, max, value, who + "\"" + name + "\"");
    return true;
}

}  // namespace

void WriteValues(const Player& player, Element& element) {
    element.AddAttribute("Time", player.Time);
    element.AddAttribute("CigarCount", static_cast<int>(player.CigarCount));
    for (const Score& score : kScores) element.AddAttribute(score.name, static_cast<int>(player.*score.field));
}

bool ReadValues(const Element& element, Player& player, const std::string& who) {
    bool any = false;
    double time = player.Time;
    if (ReadNumber(element, "Time", 0.0, Player::kMaxTime, time, who)) {
        player.Time = static_cast<float>(time);
        any = true;
    }
    double cigars = player.CigarCount;
    if (ReadNumber(element, "CigarCount", INT32_MIN, FileNumbers::kMaxCount, cigars, who)) {
        player.CigarCount = static_cast<int32_t>(cigars);
        any = true;
    }
    for (const Score& score : kScores) {
        double value = player.*score.field;
        if (!ReadNumber(element, score.name, INT32_MIN, INT32_MAX, value, who)) continue;
        player.*score.field = static_cast<int32_t>(value);
        any = true;
    }
    return any;
}

void WriteState(const Player& player, Element& stateRoot) {
    auto& children = stateRoot.GetChildren();
    // A state read back from a state file holds the element of that save.
    for (auto it = children.begin(); it != children.end();)
        it = (*it && (*it)->GetName() == kStateElement) ? children.erase(it) : it + 1;
    const RefPtr<Element> progress = stateRoot.CreateChild(kStateElement);
    WriteValues(player, *progress);
    for (const Evidences& kind : kEvidences)
        for (const std::string& name : player.*kind.field) progress->CreateChild(kind.child)->AddAttribute("name", name);
}

bool ReadState(const Element& stateRoot, Player& player, const std::string& who) {
    const RefPtr<Element> progress = stateRoot.FindChild(kStateElement);
    if (!progress) return false;
    ReadValues(*progress, player, who);
    for (const Evidences& kind : kEvidences) (player.*kind.field).clear();
    for (const RefPtr<Element>& item : progress->GetChildren()) {
        if (!item || !item->HasAttribute("name")) continue;
        for (const Evidences& kind : kEvidences)
            if (item->GetName() == kind.child) (player.*kind.field).insert(item->GetStringAttribute("name"));
    }
    return true;
}

}  // namespace LevelProgress
