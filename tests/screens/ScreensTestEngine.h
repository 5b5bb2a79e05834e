// A headless engine for the menu screens' tests: the GUI test engine with the
// resource manager over the game's resource script, the registry fonts, the
// English text table, an audio manager on the dummy device, the ini file in a
// temporary folder, and the player manager's storage folder in that folder
// (loaded, no players). Clicks let a frame pass between moving and pressing.
#pragma once

#include <string>
#include <vector>

#include "entities/core/Listeners.h"
#include "support/runtime/GuiTestEngine.h"

class ScreensTestEngine : public GuiTestEngine {
public:
    // dt: the time step of every frame.
    explicit ScreensTestEngine(float dt = 0.05f);
    ~ScreensTestEngine() override;

    // Counts exit requests; answers false (nothing closes).
    bool OnExit() override {
        ++exitRequests;
        return false;
    }

    std::string StoragePath() const { return Dir().Path(); }

    // The users file as written by PlayerManager::Save.
    std::string UsersFileText() const;
    // Saves the players, then reads the users file back: each player's name,
    // with "*" in front of the active one.
    std::vector<std::string> SaveAndReadUsers() const;
    std::string IniText() const;

    int exitRequests = 0;
};

// A question listener that notes every call ("question:NP=Anna", "answer:DL=1").
class QuestionJournal : public ZOLTFramework::CQuestionListener {
public:
    void OnQuestion(const std::string& name, const std::string& value) override {
        events.push_back("question:" + name + "=" + value);
    }
    void OnAnswer(const std::string& id, bool yes) override {
        events.push_back("answer:" + id + "=" + (yes ? "1" : "0"));
    }
    std::vector<std::string> events;
};

// Removes every player from the process-wide player manager.
void RemoveAllPlayers();
