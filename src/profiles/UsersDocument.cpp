#include "profiles/UsersDocument.h"

#include <cfloat>
#include <cstdint>
#include <cstdlib>

#include "engine/Conversions.h"
#include "engine/FileNumbers.h"
#include "engine/HtmlLog.h"
#include "profiles/Player.h"

namespace UsersDocument {

const char* const kRoot = "Players";
const char* const kPlayer = "Player";

namespace {

using Element = XMLDocument::XMLElement;

std::string Unsigned(int32_t value) { return ValueToString(static_cast<uint32_t>(value)); }

// A 32-bit field written as the unsigned decimal of its value, up to max.
// Older files and hand edits write it signed, or with a fraction (truncated
// toward zero); [2^31, 2^32) is the written form of a negative value.
void ReadInt32(const Element& e, const char* name, int32_t& field, const std::string& who, double max = INT32_MAX) {
    if (!e.HasAttribute(name)) return;
    const std::string text = e.GetStringAttribute(name);
    const double wide = std::strtod(text.c_str(), nullptr);
    if (wide >= 2147483648.0 && wide < 4294967296.0) {
        field = static_cast<int32_t>(static_cast<uint32_t>(wide));
        return;
    }
    double value = field;
    if (FileNumbers::Saved(text, INT32_MIN, max, value, who + "\"" + name + "\"")) field = static_cast<int32_t>(value);
}

}  // namespace

RefPtr<Element> Write(const Player& player) {
    RefPtr<Element> e(new Element(kPlayer));
    e->AddAttribute("Name", player.Name);
    e->AddAttribute("SaveFile", player.SaveFile);
    e->AddAttribute("IsActive", player.IsActive);
    e->AddAttribute("Time", player.Time);
    e->AddAttribute("ScoreItems", Unsigned(player.ScoreItems));
    e->AddAttribute("ScoreSpeed", Unsigned(player.ScoreSpeed));
    e->AddAttribute("ScoreMiniGames", Unsigned(player.ScoreMiniGames));
    e->AddAttribute("ScoreNode", Unsigned(player.ScoreNode));
    e->AddAttribute("CigarCount", ValueToString(player.CigarCount));
    e->AddAttribute("LastSolvedNode", player.LastSolvedNode);
    e->AddAttribute("RelaxedMode", player.RelaxedMode);
    return e;
}

std::unique_ptr<Player> Read(const Element& e, std::string& problem) {
    std::string name = e.GetStringAttribute("Name");
    if (name.size() > kMaxName) {
        name.resize(kMaxName);
        HtmlLog::Instance()->Warning("A player's name of " + ValueToString(e.GetStringAttribute("Name").size()) +
                                     " characters is cut to its first " + ValueToString(kMaxName) + ": " +
                                     HtmlLog::Shown(name) + ".");
    }
    const std::string saveFile = e.GetStringAttribute("SaveFile");
    if (name.empty() || saveFile.empty()) {
        problem = name.empty() ? "no \"Name\"" : "no \"SaveFile\"";
        return nullptr;
    }
    std::unique_ptr<Player> player(new Player(name, saveFile));
    player->IsActive = e.GetBoolAttribute("IsActive", false);
    const std::string who = "Player " + HtmlLog::Shown(name) + ": ";
    // A time that cannot be read is the time a new game starts with: 0 would
    // be a level lost on time.
    double time = Player::kStartTime;
    if (e.HasAttribute("Time"))
        FileNumbers::Saved(e.GetStringAttribute("Time"), 0.0, Player::kMaxTime, time, who + "\"Time\"");
    player->Time = static_cast<float>(time);
    ReadInt32(e, "ScoreItems", player->ScoreItems, who);
    ReadInt32(e, "ScoreSpeed", player->ScoreSpeed, who);
    ReadInt32(e, "ScoreMiniGames", player->ScoreMiniGames, who);
    ReadInt32(e, "ScoreNode", player->ScoreNode, who);
    // A level's start adds the cigars one by one: no more than a file may ask for.
    ReadInt32(e, "CigarCount", player->CigarCount, who, FileNumbers::kMaxCount);
    player->RelaxedMode = e.GetBoolAttribute("RelaxedMode", false);
    if (e.HasAttribute("LastSolvedNode")) player->LastSolvedNode = e.GetStringAttribute("LastSolvedNode");
    return player;
}

}  // namespace UsersDocument
