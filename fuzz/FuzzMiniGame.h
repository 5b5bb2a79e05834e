// What the level does with a mini-game, for the mini-game targets: the game's
// file (and its piece scene) opened through OpenMiniGame as the level opens it,
// played a little by the target, then skipped, closed with "Ok" and left once
// it has reported. A game that has not reported a few seconds after its "Ok"
// is a hang.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>

#include "FuzzGame.h"
#include "minigames/MiniGameScreen.h"
#include "minigames/OpenMiniGame.h"

// The level's side of the questions: nothing to answer.
class FuzzMiniGameLevel : public ZOLTFramework::CQuestionListener {
public:
    void OnQuestion(const std::string&, const std::string&) override {}
    void OnAnswer(const std::string&, bool) override {}
};

// In a mini-game file this text stands for the path of its piece scene.
constexpr const char* kFuzzScenePath = "%%scene%%";

// Writes one input as a mini-game file of that name and, after the split line,
// the piece scene its "%%scene%%" names; returns the game file's path.
inline std::string FuzzMiniGameFiles(const std::string& gameName, const uint8_t* data, size_t size) {
    const auto files = FuzzSplit(data, size);
    const std::string scene = FuzzFile("pieces.xml", reinterpret_cast<const uint8_t*>(files.second.data()),
                                       files.second.size());
    std::string game = files.first;
    const std::string placeholder = kFuzzScenePath;
    for (size_t at = game.find(placeholder); at != std::string::npos; at = game.find(placeholder, at + scene.size()))
        game.replace(at, placeholder.size(), scene);
    return FuzzFile(gameName, reinterpret_cast<const uint8_t*>(game.data()), game.size());
}

// Frames until the condition holds, at most the given seconds; true when it did.
template <class Condition>
bool FuzzFramesUntil(Condition condition, float seconds) {
    for (int frame = 0; frame < int(seconds / FuzzGameEngine::kDt); ++frame) {
        if (condition()) return true;
        FuzzGame().Frames(1);
    }
    return condition();
}

// Opens the game, lets it fade in, hands it to play (which may close it),
// then skips it, presses "Ok" and waits for the result.
template <class Game, class Play>
void FuzzPlayMiniGame(const std::string& path, Play play) {
    FuzzGameEngine& game = FuzzGame();
    static FuzzMiniGameLevel level;
    MiniGameScreen* screen = OpenMiniGame(path, &level, 15.0f);
    if (!screen) return;  // a file that is not XML opens nothing
    Game* typed = dynamic_cast<Game*>(screen);
    if (!typed) std::abort();  // the file name chose another game
    std::weak_ptr<void> alive = screen->GetLifeToken();
    game.Frames(25);  // the fade-in
    if (!alive.expired()) play(typed);
    if (!alive.expired()) {
        screen->OnButtonPress("Skip");
        FuzzFramesUntil([&] { return alive.expired() || screen->IsOkShown(); }, 10.0f);
    }
    if (!alive.expired()) {
        screen->OnButtonPress("Ok");
        if (!FuzzFramesUntil([&] { return alive.expired() || screen->HasReported(); }, 10.0f)) std::abort();
    }
    if (!alive.expired()) screen->Kill();
    game.CloseAll();
}
