// The rows of the options screen's high-score table: the players with a
// global-map record, by the total of their node scores.
#pragma once

#include <string>
#include <vector>

class Player;

namespace HighScoreTable {

struct Row {
    std::string label;  // the place, a full stop and the name: "1.Anna"
    std::string total;  // the total in decimal
};

// Highest total first; equal totals in descending byte order of the names.
// A player whose record is empty is left out.
std::vector<Row> Build(const std::vector<Player*>& players);

}  // namespace HighScoreTable
