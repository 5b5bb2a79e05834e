// Moves its target along a path of points at a speed (pixels per second) that
// may change with an acceleration and with scheduled ramps. The path is the
// control points joined by straight segments (smooth type 0) or a curve sampled
// from an open-uniform B-spline through them (any other smooth type). At the
// end the target stops on the last point, the effector pauses and calls its
// finished callback once; a cyclic path starts over instead.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "entities/effects/BSpline.h"
#include "entities/effects/CEffector.h"

namespace ZOLTFramework {

class PathMoveEffector : public CEffector {
public:
    // A resolution below 1 is taken as 1.
    PathMoveEffector(int smoothType, bool cyclic, bool concatenateFirstAndLast, int resolution, float velocity,
                     float acceleration, int degree);
    // Settings and points read from a path file; a file that cannot be read
    // leaves its log lines and an effector with what was read.
    explicit PathMoveEffector(const std::string& pathFile);
    ~PathMoveEffector() override = default;

    // Appends a control point; a smoothed curve is rebuilt on the next update.
    void AddPoint(float px, float py);

    void SetVelocity(float value) { velocity = value; }
    float GetVelocity() const { return velocity; }
    void SetAcceleration(float value) { acceleration = value; }
    float GetAcceleration() const { return acceleration; }
    // Adds delta to the velocity (acceleration) spread over `time` seconds; a
    // ramp still running is replaced.
    void SetVelocityBy(float delta, float time);
    void SetAccelerationBy(float delta, float time);

    const std::vector<PathPoint>& GetPoints() const { return points; }
    const std::vector<PathPoint>& GetSmoothedPoints() const { return smoothedPoints; }
    // Sum of the distances between consecutive points of the path followed
    // (the curve is built first when it is due).
    float GetPathLength();
    // Samples the B-spline through the control points into the smoothed list
    // and puts the target on its first point.
    void BuildPath();

    void Update(float dt) override;

    // Called once when a non-cyclic path ends; assigned by the user.
    std::function<void()> finishedCallback;

private:
    const std::vector<PathPoint>& ActivePoints() const;
    void PlaceTarget(const PathPoint& point);
    // Distance from the target to the end of the path along the points still ahead.
    float RemainingDistance(float px, float py) const;
    // Puts the target on the last point, pauses and calls the callback.
    void Finish();
    void Advance(float d);
    static void StepRamp(float& value, float& delta, float& deltaTime, float dt);

    std::vector<PathPoint> points;
    std::vector<PathPoint> smoothedPoints;
    int currentIndex = -1;
    float velocity = 0.0f;
    float velocityDelta = 0.0f;
    float velocityDeltaTime = 0.0f;
    float acceleration = 0.0f;
    float accelerationDelta = 0.0f;
    float accelerationDeltaTime = 0.0f;
    int degree = 4;
    int resolution = 64;
    int smoothType = 0;
    bool cyclic = false;
    bool concatenateFirstAndLast = false;
    bool finished = false;
};

}  // namespace ZOLTFramework
