#include "entities/effects/PathMoveEffector.h"

#include <algorithm>
#include <cmath>

#include "engine/HtmlLog.h"
#include "entities/effects/PathMoveParser.h"
#include "graphics/hgeVector.h"

namespace ZOLTFramework {

namespace {

// Below this a distance counts as nothing left to travel.
const float kArrived = 1e-3f;

float Distance(float ax, float ay, const PathPoint& b) {
    const float dx = b.x - ax;
    const float dy = b.y - ay;
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

PathMoveEffector::PathMoveEffector(int smoothType_, bool cyclic_, bool concatenateFirstAndLast_, int resolution_,
                                   float velocity_, float acceleration_, int degree_)
    : velocity(velocity_),
      acceleration(acceleration_),
      degree(degree_),
      resolution(BSpline::ClampResolution(resolution_)),
      smoothType(smoothType_),
      cyclic(cyclic_),
      concatenateFirstAndLast(concatenateFirstAndLast_) {}

PathMoveEffector::PathMoveEffector(const std::string& pathFile) {
    PathMoveParser parser;
    XMLParser::ParseFile(pathFile, &parser);
    smoothType = parser.smoothType;
    cyclic = parser.cyclic;
    concatenateFirstAndLast = parser.concatenateFirstAndLast;
    resolution = BSpline::ClampResolution(parser.resolution);
    velocity = parser.velocity;
    acceleration = parser.acceleration;
    degree = parser.degree;
    for (const PathPoint& point : parser.points) AddPoint(point.x, point.y);
}

void PathMoveEffector::AddPoint(float px, float py) {
    points.push_back({px, py});
    smoothedPoints.clear();
    finished = false;
}

void PathMoveEffector::SetVelocityBy(float delta, float time) {
    if (velocity + delta < 0.0f && !(acceleration > 0.0f)) {
        HtmlLog::Instance()->Warning(
            "PathMoveEffector::SetVelocityBy - target velocity will be less than zero "
            "\t\t\t\t\tif nothing more will change");
    }
    velocityDelta = delta;
    velocityDeltaTime = time;
}

void PathMoveEffector::SetAccelerationBy(float delta, float time) {
    accelerationDelta = delta;
    accelerationDeltaTime = time;
}

const std::vector<PathPoint>& PathMoveEffector::ActivePoints() const {
    return smoothType == 0 ? points : smoothedPoints;
}

float PathMoveEffector::GetPathLength() {
    if (smoothType != 0 && smoothedPoints.empty() && !points.empty()) BuildPath();
    const std::vector<PathPoint>& list = ActivePoints();
    float length = 0.0f;
    for (size_t i = 1; i < list.size(); ++i) length += Distance(list[i - 1].x, list[i - 1].y, list[i]);
    return length;
}

void PathMoveEffector::BuildPath() {
    if (points.empty()) return;
    std::vector<PathPoint> control = points;
    if (concatenateFirstAndLast) {
        // Close the curve: both ends meet half-way between the first and the last point.
        const PathPoint& first = points.front();
        const PathPoint& last = points.back();
        const PathPoint middle = {first.x + (last.x - first.x) * 0.5f, first.y + (last.y - first.y) * 0.5f};
        control.push_back(middle);
        control.insert(control.begin(), middle);
    }
    smoothedPoints = BSplineCurve(control, degree, resolution);
    PlaceTarget(smoothedPoints.front());
}

void PathMoveEffector::PlaceTarget(const PathPoint& point) {
    CEntity* target = GetTarget();
    if (!target) return;
    target->x = point.x;
    target->y = point.y;
    target->OnMove();
}

float PathMoveEffector::RemainingDistance(float px, float py) const {
    const std::vector<PathPoint>& list = ActivePoints();
    const int count = static_cast<int>(list.size());
    if (count == 0) return 0.0f;
    const int next = std::min(std::max(currentIndex + 1, 0), count - 1);
    float distance = Distance(px, py, list[next]);
    for (int i = next + 1; i < count; ++i) distance += Distance(list[i - 1].x, list[i - 1].y, list[i]);
    return distance;
}

void PathMoveEffector::Finish() {
    const std::vector<PathPoint>& list = ActivePoints();
    if (!list.empty()) PlaceTarget(list.back());
    finished = true;
    Pause();
    if (finishedCallback) {
        // A copy: the callback may reassign or clear finishedCallback.
        std::function<void()> callback = finishedCallback;
        callback();
    }
}

void PathMoveEffector::Update(float dt) {
    if (points.empty()) return;
    CEntity* target = GetTarget();
    if (!target || finished) return;

    if (smoothType != 0 && smoothedPoints.empty()) BuildPath();
    const std::vector<PathPoint>& list = ActivePoints();
    if (list.empty()) return;
    if (currentIndex == -1) {
        currentIndex = 0;
        PlaceTarget(list.front());
    }

    // A path with nothing left to travel ends now, whatever the speed: a
    // zero-distance move with velocity 0 must still report its end.
    if (!cyclic && RemainingDistance(target->x, target->y) <= kArrived) {
        currentIndex = static_cast<int>(list.size());
        Finish();
    } else {
        Advance(dt * velocity);
    }

    velocity += acceleration * dt;
    StepRamp(velocity, velocityDelta, velocityDeltaTime, dt);
    StepRamp(acceleration, accelerationDelta, accelerationDeltaTime, dt);
}

void PathMoveEffector::Advance(float d) {
    CEntity* target = GetTarget();
    const std::vector<PathPoint>& list = ActivePoints();
    const int count = static_cast<int>(list.size());
    // The target does not move while the loop passes points, so every full lap
    // of a cyclic path uses up the same distance.
    bool wrapped = false;
    float lap = 0.0f;
    while (d > 0.0f) {
        const float px = target->x;
        const float py = target->y;
        const PathPoint& next = list[std::min(currentIndex + 1, count - 1)];
        const float dx = next.x - px;
        const float dy = next.y - py;
        const float lengthSq = dx * dx + dy * dy;
        const float length = std::sqrt(lengthSq);
        if (d < length) {
            const float f = d * ::InvSqrt(lengthSq);
            target->x = px + dx * f;
            target->y = py + dy * f;
            target->OnMove();
            return;
        }
        ++currentIndex;
        d -= length;
        lap += length;
        if (currentIndex >= count) {
            if (!cyclic) {
                Finish();
                return;
            }
            currentIndex = 0;
            if (wrapped) {
                // A whole lap: skip the laps the step covers; a lap of length 0
                // would go round for ever.
                if (!(lap > 0.0f)) return;
                d = std::fmod(d, lap);
            }
            wrapped = true;
            lap = 0.0f;
        }
    }
}

void PathMoveEffector::StepRamp(float& value, float& delta, float& deltaTime, float dt) {
    if (delta == 0.0f) return;
    if (deltaTime > dt) {
        const float step = delta * dt / deltaTime;
        value += step;
        delta -= step;
        deltaTime -= dt;
    } else {
        value += delta;
        delta = 0.0f;
        deltaTime = 0.0f;
    }
}

}  // namespace ZOLTFramework
