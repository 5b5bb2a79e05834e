// One player profile: the name, the profile document it is saved to, progress
// on the global map, the evidence and medal collections, the time left, the
// scores, the cigars and the play mode. Screens read and write the fields of
// the active player directly.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

class Player {
public:
    Player(const std::string& name, const std::string& saveFile);

    std::string Name;
    // Full path of the profile document: one of the eight save slots.
    std::string SaveFile;
    // The scene in progress, empty when none: the play field's saved state,
    // or the scene a place goes on with after its won scenes, which nothing of
    // its own play has saved yet.
    std::string PlayFieldPath;
    // The player has been on the global map (so "Play" asks whether to go on).
    bool GameInProgress = false;
    bool IsActive = false;
    // Global-map node whose level is in play; not saved.
    std::string CurrentNode;
    std::set<std::string> Evidences;
    std::set<std::string> LastEvidences;
    std::set<std::string> TempEvidences;
    std::set<std::string> TempLastEvidences;
    // Global-map node name to the score earned there.
    std::map<std::string, int32_t> NodeScores;
    std::set<uint32_t> Medals;
    // Seconds on the clock when a new game starts, and the most a saved file
    // may give (its time bonus, ten points a second, stays within an int).
    static constexpr float kStartTime = 1200.0f;
    static constexpr float kMaxTime = 1.0e6f;

    // Game time left, in seconds.
    float Time = 0.0f;
    int32_t ScoreItems = 0;
    int32_t ScoreSpeed = 0;
    int32_t ScoreMiniGames = 0;
    int32_t ScoreNode = 0;
    // May be negative (a hand-edited users file): kept and saved as it is.
    int32_t CigarCount = 0;
    // Play without the level clock.
    bool RelaxedMode = false;
    std::string LastSolvedNode;
    // The game was quit after the story's last find, before its final screen:
    // Continue shows these comic pages (those still queued or showing at the
    // quit), then the final screen, whose opening clears the mark. A new game
    // clears it too.
    bool EndingPending = false;
    std::vector<std::string> EndingPages;

    // The scene in progress is the play field's saved state (the profile's
    // path followed by "_playfield.xml"), which the level resumes; any other
    // scene it names starts afresh.
    bool NamesSavedState() const;

    // The cigars the player can spend: a negative count is none.
    int32_t CigarsInPlay() const { return CigarCount > 0 ? CigarCount : 0; }
};
