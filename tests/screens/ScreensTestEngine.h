// A headless engine for the menu screens' tests: the real engine interface
// with frames driven from code and injected input, the resource manager over
// the game's resource script, the registry fonts, the English text table, an
// audio manager on the dummy device, the ini file in a temporary folder, and
// the player manager's storage folder in that folder (loaded, no players).
#pragma once

#include <string>
#include <vector>

#include "engine/CEngine.h"
#include "engine/EntityManager.h"
#include "entities/Listeners.h"
#include "support/TempDir.h"

namespace ZOLTFramework {
class CScreenEntity;
}

class ScreensTestEngine : public ZOLTFramework::CEngine {
public:
    // dt: the time step of every frame.
    explicit ScreensTestEngine(float dt = 0.05f);
    ~ScreensTestEngine() override;

    // Counts exit requests; answers false (nothing closes).
    bool OnExit() override {
        ++exitRequests;
        return false;
    }

    EntityManager& Manager() { return *m_pEntityManager; }
    HGE* Hge() { return m_pHGE; }
    const TempDir& Dir() const { return m_dir; }
    std::string StoragePath() const { return m_dir.Path(); }

    void Step(int frames = 1);
    void MoveMouse(float mx, float my);
    void KeyDown(int key);
    void KeyUp(int key);
    // Down in the next frame, up in the one after.
    void Press(int key);
    // Moves there, then a left press and release.
    void Click(float mx, float my);
    // Types the characters, one a frame, and runs the frames.
    void Type(const std::string& text);
    // Clicks the middle of an entity's hit rectangle.
    void ClickEntity(const ZOLTFramework::CEntity* entity);

    // The top of the screen stack, or null.
    ZOLTFramework::CEntity* Top() const;
    // The live entities of the manager whose name is that (screens, mostly).
    std::vector<ZOLTFramework::CEntity*> Named(const std::string& entityName) const;
    // The users file as written by PlayerManager::Save.
    std::string UsersFileText() const;
    // Saves the players, then reads the users file back: each player's name,
    // with "*" in front of the active one.
    std::vector<std::string> SaveAndReadUsers() const;
    std::string IniText() const;

    int exitRequests = 0;

private:
    ScopedEnv m_headless;
    ScopedEnv m_dt;
    TempDir m_dir;
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
