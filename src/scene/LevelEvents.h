// The events a level hears as (name, value) pairs through OnQuestion: sent by
// the play field, its actions, the score pop-ups, the mini-games and the
// windows over the level, and handled by the level screen. The names are the
// strings the scene files and the state files carry, so they never change.
// Beside them, the value formats both sides write and read.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

namespace LevelEvents {

// ---- from the play field and the scene's actions
constexpr const char* kTaskChanged = "TaskChanged";              // value: the task's name
constexpr const char* kWin = "Win";                              // every task done
constexpr const char* kAddTime = "AddTime";                      // value: seconds, negative takes time
constexpr const char* kAddCigars = "AddCigars";                  // value: the count
constexpr const char* kAddMagnifyingGlass = "AddMagnifyingGlass";
constexpr const char* kShowHint = "ShowHint";                    // value: see TutorialInfo below
constexpr const char* kShowComics = "ShowComics";                // value: the comic's file
constexpr const char* kShowExtraCigarTutorial = "ShowExtraCigarTutorial";
constexpr const char* kShowPanel = "ShowPanel";
constexpr const char* kHidePanel = "HidePanel";                  // value: seconds the panel stays out
constexpr const char* kEnableExit = "EnableExit";
constexpr const char* kDisableExit = "DisableExit";
constexpr const char* kOnObjectClick = "OnObjectClick";          // value: the object's name
constexpr const char* kAddToBag = "AddToBag";                    // value: the item's name
constexpr const char* kMiniGame = "MiniGame";                    // value: the mini-game's file
constexpr const char* kAddItemScore = "AddItemScore";            // value: the points
constexpr const char* kAddSpeedScore = "AddSpeedScore";
constexpr const char* kAddMinigameScore = "AddMinigameScore";
// Actions of a scene's conditions the field acts on (and passes on or not).
constexpr const char* kLockingTask = "LockingTask";              // value: task^angle
constexpr const char* kEnableHinting = "EnableHinting";          // value: a task's name
constexpr const char* kIgnoreAdding = "IgnoreAdding";
constexpr const char* kIgnoreHinting = "IgnoreHinting";
// An action that does nothing, kept for the scenes' scripts.
constexpr const char* kAddToInventory = "AddToInventory";

// ---- from a mini-game after its fade-out (value: the mini-game's file)
constexpr const char* kMiniGameFinished = "MiniGameFinished";
constexpr const char* kMiniGameSolveLater = "MiniGameSolveLater";
constexpr const char* kMiniGameSkip = "MiniGameSkip";

// ---- from the windows over the level
constexpr const char* kShowHelp = "ShowHelp";
constexpr const char* kResume = "Resume";
constexpr const char* kTutorialShown = "TutorialShown";
constexpr const char* kExitToMenu = "EXIT_TO_MENU";
constexpr const char* kExitToGlobalMap = "EXIT_TO_GLOBAL_MAP";  // value: the next scene, empty, or kFinalScene
// The next scene of the story's last place: the final screen.
constexpr const char* kFinalScene = "Final";
constexpr const char* kActionLoadLevel = "ACTION_LOAD_LEVEL";   // value: the scene to open

// The "ShowHint" value "KEY/first/second": a text key and up to two points,
// each packed as x in the low 16 bits and y in the high 16 bits, written in
// decimal or in hexadecimal after "0x".
struct TutorialInfo {
    std::string textKey;
    uint32_t firstPoint = 0;
    uint32_t secondPoint = 0;
};

inline uint32_t ParseHintPoint(const std::string& text) {
    if (text.empty()) return 0;
    return static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 0));
}

inline TutorialInfo ParseTutorialInfo(const std::string& value) {
    TutorialInfo info;
    const size_t first = value.find('/');
    info.textKey = value.substr(0, first);
    if (first == std::string::npos) return info;
    const size_t second = value.find('/', first + 1);
    info.firstPoint =
        ParseHintPoint(value.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1));
    if (second != std::string::npos) info.secondPoint = ParseHintPoint(value.substr(second + 1));
    return info;
}

}  // namespace LevelEvents
