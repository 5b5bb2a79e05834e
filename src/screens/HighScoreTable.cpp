#include "screens/HighScoreTable.h"

#include <algorithm>
#include <cstdint>

#include "profiles/Player.h"

namespace HighScoreTable {

std::vector<Row> Build(const std::vector<Player*>& players) {
    struct Entry {
        std::string name;
        int64_t total;
    };
    std::vector<Entry> entries;
    for (const Player* player : players) {
        if (!player || player->NodeScores.empty()) continue;
        // Summed wide: eight players' scores never overflow.
        int64_t total = 0;
        for (const auto& node : player->NodeScores) total += node.second;
        entries.push_back({player->Name, total});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.total != b.total) return a.total > b.total;
        return a.name > b.name;
    });
    std::vector<Row> rows;
    for (size_t i = 0; i < entries.size(); ++i)
        rows.push_back({std::to_string(i + 1) + "." + entries[i].name, std::to_string(entries[i].total)});
    return rows;
}

}  // namespace HighScoreTable
