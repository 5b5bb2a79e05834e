#include "profiles/UsersDocument.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "engine/Conversions.h"
#include "profiles/Player.h"

namespace UsersDocument {

const char* const kRoot = "Players";
const char* const kPlayer = "Player";

namespace {

using Element = XMLDocument::XMLElement;

std::string Unsigned(int32_t value) { return ValueToString(static_cast<uint32_t>(value)); }

// An unsigned decimal stored back into a signed 32-bit field.
void ReadScore(const Element& e, const char* name, int32_t& field) {
    if (e.HasAttribute(name)) field = static_cast<int32_t>(e.GetValueAttribute(name));
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

int32_t CigarsFromText(const std::string& text) {
    // A whole number: signed, or the unsigned form of a negative count.
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long long whole = std::strtoll(start, &end, 10);
    if (end != start && *end == '\0' && errno == 0) {
        if (whole >= INT32_MIN && whole <= INT32_MAX) return static_cast<int32_t>(whole);
        if (whole > INT32_MAX && whole <= UINT32_MAX) return static_cast<int32_t>(static_cast<uint32_t>(whole));
        return 0;
    }
    // Otherwise through a float, truncated toward zero.
    const float count = StringToFloat(text);
    // 2^31 is exact as a float; the range is [-2^31, 2^31).
    if (!(count >= -2147483648.0f && count < 2147483648.0f)) return 0;
    return static_cast<int32_t>(count);
}

float TimeFromText(const std::string& text) {
    const float time = StringToFloat(text);
    // Text beyond the float range reads as the largest float: no time at all.
    const double wide = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(time) || !std::isfinite(wide) || std::fabs(wide) > double(FLT_MAX)) return 0.0f;
    return time;
}

std::unique_ptr<Player> Read(const Element& e, std::string& problem) {
    const std::string name = e.GetStringAttribute("Name");
    const std::string saveFile = e.GetStringAttribute("SaveFile");
    if (name.empty() || saveFile.empty()) {
        problem = name.empty() ? "no \"Name\"" : "no \"SaveFile\"";
        return nullptr;
    }
    std::unique_ptr<Player> player(new Player(name, saveFile));
    player->IsActive = e.GetBoolAttribute("IsActive", false);
    if (e.HasAttribute("Time")) player->Time = TimeFromText(e.GetStringAttribute("Time"));
    ReadScore(e, "ScoreItems", player->ScoreItems);
    ReadScore(e, "ScoreSpeed", player->ScoreSpeed);
    ReadScore(e, "ScoreMiniGames", player->ScoreMiniGames);
    ReadScore(e, "ScoreNode", player->ScoreNode);
    if (e.HasAttribute("CigarCount")) player->CigarCount = CigarsFromText(e.GetStringAttribute("CigarCount"));
    player->RelaxedMode = e.GetBoolAttribute("RelaxedMode", false);
    if (e.HasAttribute("LastSolvedNode")) player->LastSolvedNode = e.GetStringAttribute("LastSolvedNode");
    return player;
}

}  // namespace UsersDocument
