// Keeps firing particle bursts at a list of points, one point every period, in
// a new random order each cycle, until it is killed. The bursts are its
// children; each is killed once it has burnt out.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "entities/core/GameTimer.h"
#include "entities/core/CEntity.h"

class hgeSprite;

class PSGeneratorEntity : public ZOLTFramework::CEntity {
public:
    using Point = std::pair<float, float>;

    PSGeneratorEntity(const std::vector<Point>& points, const std::string& psiFile, hgeSprite* sprite,
                      float period, const std::string& sound);
    ~PSGeneratorEntity() override = default;

    // Runs the spawn timer, then kills the bursts that have burnt out.
    void Update(float dt) override;

    // Starts the cycle with the stored period.
    void Start() { Start(period); }
    // Schedules one burst per point, period apart in a shuffled order, and the
    // next cycle after the last one. With no points or a period that is not
    // positive the cycle runs once and is not repeated.
    void Start(float cyclePeriod);
    // A burst at (px, py) local to the generator.
    void Spawn(float px, float py, const std::string& file, hgeSprite* burstSprite);

private:
    ZOLTFramework::GameManager::Timer timer;
    std::string psiFile;
    hgeSprite* sprite;
    std::vector<Point> points;
    float period;
    std::string sound;
};
