// The level part of the game_frames benchmark. First every demo scene is
// opened once and timed from the level screen's construction to its first
// drawn frame; the scene with the most objects and particle systems is the
// busiest. Then that level is played for a span of level time as a player
// would: the mouse (and with it the lens) wanders over the scene, an object is
// found every four seconds, an empty place is clicked every three, a cigar hint
// is taken when the cigar is ready; comic pages and hint windows are clicked
// away, and the level is opened afresh when it is won or has nothing left to
// find.
#pragma once

#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <vector>

class EntityManager;
class LevelScreen;
class PlayField;
class SceneObject;

class LevelRun {
public:
    enum Stage { kLoads, kPlay, kDone };

    LevelRun(EntityManager& manager, double playSeconds);

    Stage GetStage() const { return stage; }
    // Before each frame's update: opens, drives and closes the levels.
    void BeforeFrame();
    // After each frame's drawing: notes a level's first drawn frame.
    void AfterRender();
    // The frame's time step; counts while the busiest level plays.
    void CountTime(float dt);

    // Each scene's load time, the busiest scene and what the play did.
    void PrintReport() const;
    double WorstLoadMs() const;
    double PlayedSeconds() const { return playTime; }

private:
    struct SceneLoad {
        std::string scene;
        double ms = 0;
        size_t objects = 0, particles = 0;
    };
    struct Click {
        float x = 0, y = 0;
        int frame = 0;  // 0: move there, 1: press
        bool active = false;
    };

    void Open(const std::string& scene);
    // Kills every screen and the players' shared entities.
    void CloseAll();
    LevelScreen* Level() const;
    bool Playable(LevelScreen* level) const;
    void Play();
    void ClearWindows(LevelScreen* level);
    void StartClick(float x, float y);
    bool StepClick();
    bool Find(PlayField* field);
    bool Miss(PlayField* field);
    bool TakeCigar(LevelScreen* level);

    EntityManager& manager;
    double playSeconds;
    Stage stage = kLoads;
    std::vector<std::string> scenes;
    std::vector<SceneLoad> loads;
    size_t next = 0;
    std::string busiest;

    LevelScreen* level = nullptr;
    std::weak_ptr<void> levelAlive;
    std::chrono::steady_clock::time_point openedAt;
    bool drawn = false;
    int waitFrames = 0;

    double playTime = 0;
    double nextFind = 4.0, nextMiss = 2.5, nextCigar = 10.0;
    double blockedSince = -1, wonAt = -1;
    int frame = 0;
    Click click;
    std::set<std::string> tried;  // objects clicked in this opening of the level
    unsigned seed = 12345;
    int finds = 0, misses = 0, cigars = 0, wins = 0, exhausted = 0, stuck = 0;
    size_t mostFlights = 0, mostParticles = 0;
};
