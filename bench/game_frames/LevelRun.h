// The level part of the game_frames benchmark. First every demo scene is
// opened once and timed from the level screen's construction to its first
// drawn frame; the scene with the most objects and particle systems is the
// busiest. Then that level is played for a span of level time as a player
// would: the mouse (and with it the lens) wanders over the scene, an object is
// found every four seconds, an empty place is clicked every three, a cigar hint
// is taken when the cigar is ready; comic pages and hint windows are clicked
// away, and the level is opened afresh when it is won or has nothing left to
// find. Last, the scaling run: each generated scene given (see ScaleScene.h)
// is opened once, timed like the demo scenes, and played the same way for a
// span of level time, its frames counted only while the field is playing.
#pragma once

#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "game_frames/FrameStats.h"

class EntityManager;
class LevelScreen;
class PlayField;
class SceneObject;

class LevelRun {
public:
    enum Stage { kLoads, kPlay, kScale, kDone };

    LevelRun(EntityManager& manager, double playSeconds);
    // A generated scene of that many objects for the scaling run, played for
    // that many seconds of level time.
    void AddScaleScene(int objects, const std::string& path, double seconds);

    Stage GetStage() const { return stage; }
    // Before each frame's update: opens, drives and closes the levels.
    void BeforeFrame();
    // After each frame's drawing: notes a level's first drawn frame, and in
    // the scaling run keeps the frame's cost: its times when its quads were
    // not recorded, its draw-call runs and fill when they were.
    void AfterRender(const FrameCost& cost, bool recorded);
    // The frame's time step; counts while the busiest level plays, and while
    // a scaling scene is playable.
    void CountTime(float dt);

    // Each scene's load time, the busiest scene and what the play did.
    void PrintReport() const;
    double WorstLoadMs() const;
    double PlayedSeconds() const { return busiestPlay.seconds; }

private:
    struct SceneLoad {
        std::string scene;
        double ms = 0;
        size_t objects = 0, particles = 0;
    };
    // What one level's play did.
    struct PlayCounts {
        double seconds = 0;
        int finds = 0, misses = 0, cigars = 0, wins = 0, exhausted = 0, stuck = 0;
        size_t mostFlights = 0, mostParticles = 0;
    };
    struct ScaleScene {
        int objects = 0;
        std::string path;
        double seconds = 0;
        double loadMs = -1;
        std::vector<FrameCost> frames, recordedFrames;
        PlayCounts play;
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
    // Ends the busiest level's play or a scaling scene's span.
    void NextStage();
    void PrintScaling() const;
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
    std::vector<ScaleScene> scaleScenes;
    size_t scaleIndex = 0;

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
    PlayCounts busiestPlay;
    PlayCounts* counts = &busiestPlay;  // the play being counted
};
