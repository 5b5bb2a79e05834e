#include <unistd.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <string>

#include "EffectorTestSupport.h"
#include "entities/effects/BSpline.h"
#include "entities/effects/PathMoveEffector.h"

using ZOLTFramework::BSplineBlend;
using ZOLTFramework::BSplineCurve;
using ZOLTFramework::BSplineKnots;
using ZOLTFramework::PathMoveEffector;
using ZOLTFramework::PathPoint;
namespace BSpline = ZOLTFramework::BSpline;

namespace {

class PathMoveTest : public EffectorTest {
protected:
    PathMoveEffector* Straight(ZOLTFramework::CEntity* target, float velocity, bool cyclic = false) {
        auto* effector = new PathMoveEffector(0, cyclic, false, 64, velocity, 0.0f, 4);
        effector->finishedCallback = [this] { ++finishedCalls; };
        effector->AttachTo(target);
        return effector;
    }
    void Start(PathMoveEffector* effector) {
        engine.Manager().Add(effector);
        engine.Manager().Update(0.0f);
    }
    // A straight path through the points, started.
    PathMoveEffector* Run(ZOLTFramework::CEntity* target, float velocity, std::initializer_list<PathPoint> points,
                          bool cyclic = false) {
        auto* effector = Straight(target, velocity, cyclic);
        for (const PathPoint& p : points) effector->AddPoint(p.x, p.y);
        Start(effector);
        return effector;
    }
    int finishedCalls = 0;
};

TEST_F(PathMoveTest, StraightSegmentsTimeline) {
    auto* target = AddTarget(5.0f, 5.0f);
    auto* path = Run(target, 50.0f, {{0.0f, 0.0f}, {100.0f, 0.0f}});

    Frame(1.0f);  // placed on the first point, then 50 along
    EXPECT_NEAR(target->x, 50.0f, 0.1f);
    EXPECT_FLOAT_EQ(target->y, 0.0f);
    target->x = 50.0f;  // drop the fast square root's rounding

    // The step exactly uses up the distance: the point is passed, not reached.
    Frame(1.0f);
    EXPECT_FLOAT_EQ(target->x, 50.0f);
    EXPECT_EQ(finishedCalls, 0);

    Frame(1.0f);  // the end: on the last point, paused, callback
    EXPECT_FLOAT_EQ(target->x, 100.0f);
    EXPECT_TRUE(path->IsPaused());
    EXPECT_EQ(finishedCalls, 1);

    // Once: resumed, the ended path stays ended.
    path->Resume();
    Frames(3, 1.0f);
    EXPECT_EQ(finishedCalls, 1);
}

TEST_F(PathMoveTest, SeveralSegmentsInOneStepMeasureFromTheTarget) {
    auto* target = AddTarget();
    Run(target, 15.0f, {{0.0f, 0.0f}, {10.0f, 0.0f}, {10.0f, 10.0f}});
    // 15 pixels: point 1 is 10 away and is passed; the remaining 5 go from the
    // target's own position towards point 2.
    Frame(1.0f);
    const float len = std::sqrt(200.0f);
    EXPECT_NEAR(target->x, 10.0f * 5.0f / len, 0.02f);
    EXPECT_NEAR(target->y, 10.0f * 5.0f / len, 0.02f);
}

TEST_F(PathMoveTest, OnePointOrZeroDistanceEndsOnTheFirstFrame) {
    auto* target = AddTarget(30.0f, 30.0f);
    auto* path = Run(target, 80.0f, {{7.0f, 8.0f}});
    Frame(0.1f);
    EXPECT_FLOAT_EQ(target->x, 7.0f);
    EXPECT_FLOAT_EQ(target->y, 8.0f);
    EXPECT_TRUE(path->IsPaused());
    EXPECT_EQ(finishedCalls, 1);

    // Zero distance ends at once, even without speed.
    auto* still = AddTarget(160.0f, 525.0f);
    auto* zero = Run(still, 0.0f, {{160.0f, 525.0f}, {160.0f, 525.0f}});
    Frame(0.01f);
    EXPECT_TRUE(zero->IsPaused());
    EXPECT_EQ(finishedCalls, 2);
    EXPECT_FLOAT_EQ(still->x, 160.0f);

    // A real distance at velocity 0 stands still and does not end.
    auto* other = AddTarget();
    auto* standing = Run(other, 0.0f, {{0.0f, 0.0f}, {50.0f, 0.0f}});
    Frames(5, 0.1f);
    EXPECT_FLOAT_EQ(other->x, 0.0f);
    EXPECT_FALSE(standing->IsPaused());
    EXPECT_EQ(finishedCalls, 2);
}

TEST_F(PathMoveTest, AccelerationStartsOnTheSecondFrameAndRampsSpreadTheirChange) {
    auto* target = AddTarget();
    auto* path = Straight(target, 0.0f);
    path->SetAcceleration(10.0f);
    path->AddPoint(0.0f, 0.0f);
    path->AddPoint(1000.0f, 0.0f);
    Start(path);
    Frame(1.0f);
    EXPECT_FLOAT_EQ(target->x, 0.0f);
    EXPECT_FLOAT_EQ(path->GetVelocity(), 10.0f);
    Frame(1.0f);
    EXPECT_NEAR(target->x, 10.0f, 0.02f);
    EXPECT_FLOAT_EQ(path->GetVelocity(), 20.0f);

    // Ramps spread their change over their time.
    target = AddTarget();
    path = Run(target, 10.0f, {{0.0f, 0.0f}, {10000.0f, 0.0f}});
    path->SetVelocityBy(20.0f, 2.0f);
    for (int i = 1; i <= 4; ++i) {
        Frame(0.5f);
        EXPECT_NEAR(path->GetVelocity(), 10.0f + 5.0f * i, 1e-4) << "frame " << i;
    }
    Frames(2, 0.5f);
    EXPECT_NEAR(path->GetVelocity(), 30.0f, 1e-4);

    // The acceleration ramp: the whole rest applies when its time is up.
    path->SetAccelerationBy(4.0f, 1.0f);
    Frame(0.5f);
    EXPECT_NEAR(path->GetAcceleration(), 2.0f, 1e-5);
    Frame(0.75f);
    EXPECT_NEAR(path->GetAcceleration(), 4.0f, 1e-5);
    // A ramp towards a negative speed is carried out all the same.
    path->SetAcceleration(0.0f);
    path->SetVelocityBy(-100.0f, 0.1f);
    Frame(0.5f);
    EXPECT_LT(path->GetVelocity(), 0.0f);
    const float x = target->x;
    Frame(0.5f);
    EXPECT_FLOAT_EQ(target->x, x);  // no backward motion
}

TEST_F(PathMoveTest, CyclicPathsNeverEndAndZeroLengthLapsDoNotHang) {
    auto* target = AddTarget();
    auto* path = Run(target, 25.0f, {{0.0f, 0.0f}, {10.0f, 0.0f}}, true);
    Frames(40, 0.5f);
    EXPECT_FALSE(path->IsPaused());
    EXPECT_EQ(finishedCalls, 0);
    EXPECT_GE(target->x, 0.0f);
    EXPECT_LE(target->x, 10.0f);

    auto* still = AddTarget(3.0f, 3.0f);
    auto* loop = Run(still, 500.0f, {{3.0f, 3.0f}, {3.0f, 3.0f}}, true);
    Frames(3, 0.5f);
    EXPECT_FLOAT_EQ(still->x, 3.0f);
    EXPECT_FALSE(loop->IsPaused());

    // A huge step on a tiny loop goes round quickly, not lap by lap.
    auto* tiny = AddTarget();
    Run(tiny, 1e9f, {{0.0f, 0.0f}, {0.001f, 0.0f}}, true);
    Frames(3, 1.0f);
}

TEST_F(PathMoveTest, SmoothedPathRunsFromTheFirstToTheLastControlPoint) {
    auto* target = AddTarget(500.0f, 500.0f);
    auto* path = new PathMoveEffector(1, false, false, 64, 0.0f, 0.0f, 4);
    path->finishedCallback = [this] { ++finishedCalls; };
    path->AttachTo(target);
    path->SetVelocity(300.0f);
    const float pts[][2] = {{-90, -45}, {2, -35}, {60, 1}, {65, 20}, {51, 30}, {-10, 20}, {-90, -55}};
    for (const auto& p : pts) path->AddPoint(p[0], p[1]);
    EXPECT_EQ(path->GetSmoothedPoints().size(), 0u);
    const float length = path->GetPathLength();  // builds the curve
    ASSERT_EQ(path->GetSmoothedPoints().size(), 64u);
    EXPECT_NEAR(path->GetSmoothedPoints().front().x, -90.0f, 1e-3);
    EXPECT_NEAR(path->GetSmoothedPoints().front().y, -45.0f, 1e-3);
    EXPECT_FLOAT_EQ(path->GetSmoothedPoints().back().x, -90.0f);
    EXPECT_FLOAT_EQ(path->GetSmoothedPoints().back().y, -55.0f);
    EXPECT_FLOAT_EQ(target->x, -90.0f);  // the build puts the target on the curve's start
    Start(path);

    int frames = 0;
    while (finishedCalls == 0 && frames < 1000) {
        Frame(0.01f);
        ++frames;
    }
    EXPECT_EQ(finishedCalls, 1);
    EXPECT_FLOAT_EQ(target->x, -90.0f);
    EXPECT_FLOAT_EQ(target->y, -55.0f);
    // At least length / speed seconds; a frame that passes a point loses the
    // part of its step used up to that point, at most one frame per point.
    EXPECT_GE(frames * 0.01f, length / 300.0f - 0.02f);
    EXPECT_LE(frames * 0.01f, length / 300.0f + 64 * 0.01f);
}

TEST_F(PathMoveTest, ClosedCurveStartsAndEndsHalfWayBetweenTheEnds) {
    PathMoveEffector path(1, true, true, 32, 100.0f, 0.0f, 4);
    path.AddPoint(0.0f, 0.0f);
    path.AddPoint(100.0f, 0.0f);
    path.AddPoint(100.0f, 100.0f);
    path.AddPoint(0.0f, 100.0f);
    path.BuildPath();
    ASSERT_EQ(path.GetSmoothedPoints().size(), 32u);
    EXPECT_NEAR(path.GetSmoothedPoints().front().x, 0.0f, 1e-3);
    EXPECT_NEAR(path.GetSmoothedPoints().front().y, 50.0f, 1e-3);
    EXPECT_FLOAT_EQ(path.GetSmoothedPoints().back().y, 50.0f);
    EXPECT_EQ(path.GetPoints().size(), 4u);  // the helper points are gone again
}

// The blending functions as the textbook recursion defines them.
double ReferenceBlend(const std::vector<int>& knot, int k, int t, double u) {
    if (t == 1) return (knot[k] <= u && u < knot[k + 1]) ? 1.0 : 0.0;
    const double d1 = knot[k + t - 1] - knot[k];
    const double d2 = knot[k + t] - knot[k + 1];
    double value = 0.0;
    if (d1 != 0.0) value += (u - knot[k]) / d1 * ReferenceBlend(knot, k, t - 1, u);
    if (d2 != 0.0) value += (knot[k + t] - u) / d2 * ReferenceBlend(knot, k + 1, t - 1, u);
    return value;
}

TEST(BSplineTest, KnotsAndBlendsMatchTheRecursiveDefinition) {
    EXPECT_EQ(BSplineKnots(4, 3), (std::vector<int>{0, 0, 0, 1, 2, 3, 3, 3}));
    for (int n = 0; n < 7; ++n) {
        for (int t = 1; t <= std::min(n + 1, 5); ++t) {
            const std::vector<int> knots = BSplineKnots(n, t);
            const int range = n - t + 2;
            for (double u = 0.0; u < range; u += 0.13) {
                double sum = 0.0;
                for (int k = 0; k <= n; ++k) {
                    const double b = BSplineBlend(knots, k, t, u);
                    EXPECT_NEAR(b, ReferenceBlend(knots, k, t, u), 1e-12) << n << " " << t << " " << k << " " << u;
                    sum += b;
                }
                EXPECT_NEAR(sum, 1.0, 1e-9);  // a partition of unity inside the range
            }
        }
    }
}

TEST(BSplineTest, DegreeAndResolutionAreKeptInBounds) {
    const std::vector<PathPoint> control = {{0, 0}, {10, 0}, {10, 10}};
    // Resolution 1 (or less): one sample, the last control point.
    for (int res : {1, 0, -5}) {
        const auto one = BSplineCurve(control, 4, res);
        ASSERT_EQ(one.size(), 1u);
        EXPECT_FLOAT_EQ(one[0].x, 10.0f);
        EXPECT_FLOAT_EQ(one[0].y, 10.0f);
    }
    EXPECT_EQ(BSpline::ClampDegree(0, 5), 1);
    EXPECT_EQ(BSpline::ClampDegree(-3, 5), 1);
    EXPECT_EQ(BSpline::ClampDegree(4, 3), 3);
    EXPECT_EQ(BSpline::ClampDegree(1000, 100), BSpline::kMaxDegree);
    EXPECT_EQ(BSpline::ClampResolution(1 << 30), BSpline::kMaxResolution);

    // Order 2 follows the straight segments; order 1 steps through the points.
    const auto linear = BSplineCurve(control, 2, 5);
    ASSERT_EQ(linear.size(), 5u);
    EXPECT_NEAR(linear[1].x, 5.0f, 1e-4);
    EXPECT_NEAR(linear[1].y, 0.0f, 1e-4);
    EXPECT_NEAR(linear[3].x, 10.0f, 1e-4);
    EXPECT_NEAR(linear[3].y, 5.0f, 1e-4);
    const auto steps = BSplineCurve(control, 0, 4);
    EXPECT_FLOAT_EQ(steps[1].x, 10.0f);
    EXPECT_FLOAT_EQ(steps[1].y, 0.0f);

    // A huge order over many points is capped (an uncapped recursion would not return).
    std::vector<PathPoint> many;
    for (int i = 0; i < 200; ++i) many.push_back({static_cast<float>(i), static_cast<float>(i % 7)});
    const auto curve = BSplineCurve(many, 1000, 1000);
    EXPECT_EQ(curve.size(), 1000u);
    EXPECT_TRUE(BSplineCurve({}, 4, 64).empty());
}

class PathFileTest : public PathMoveTest {
protected:
    std::string Write(const std::string& text) {
        char name[] = "/tmp/drovalin_path_XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) close(fd);
        std::ofstream(name) << text;
        files.push_back(name);
        return name;
    }
    ~PathFileTest() override {
        for (const std::string& f : files) unlink(f.c_str());
    }
    std::vector<std::string> files;
};

TEST_F(PathFileTest, SettingsPointsAndDefaultsComeFromTheFile) {
    const std::string file = Write(
        "<?xml version=\"1.0\"?>\n<Paths>\n <Path>\n"
        "  <PathMove Velocity=\"120.5\" PathSmoothType=\"1\" IsCyclic=\"true\" ConcatenateFirstAndLast=\"1\"\n"
        "            Resolution=\"16\" Acceleration=\"-2\" PolynomialDegree=\"3\" Colour=\"red\"/>\n"
        "  <Point x=\"1\" y=\"2\"/>\n  <Point b=\"3.5\" a=\"-4\"/>\n  <Other x=\"9\" y=\"9\"/>\n"
        " </Path>\n</Paths>\n");
    // The curve built from what was read is the one of the same settings given directly.
    auto sameCurve = [](PathMoveEffector& read, PathMoveEffector&& expected) {
        for (const PathPoint& p : read.GetPoints()) expected.AddPoint(p.x, p.y);
        expected.BuildPath();
        ASSERT_EQ(read.GetSmoothedPoints().size(), expected.GetSmoothedPoints().size());
        for (size_t i = 0; i < read.GetSmoothedPoints().size(); ++i) {
            EXPECT_FLOAT_EQ(read.GetSmoothedPoints()[i].x, expected.GetSmoothedPoints()[i].x);
            EXPECT_FLOAT_EQ(read.GetSmoothedPoints()[i].y, expected.GetSmoothedPoints()[i].y);
        }
    };
    PathMoveEffector& path = *new PathMoveEffector(file);
    EXPECT_FLOAT_EQ(path.GetVelocity(), 120.5f);
    EXPECT_FLOAT_EQ(path.GetAcceleration(), -2.0f);
    ASSERT_EQ(path.GetPoints().size(), 2u);
    EXPECT_FLOAT_EQ(path.GetPoints()[1].x, 3.5f);  // by position, not by name
    EXPECT_FLOAT_EQ(path.GetPoints()[1].y, -4.0f);
    EXPECT_TRUE(path.GetSmoothedPoints().empty());  // built on the first update
    path.GetPathLength();                           // a smooth path builds its curve here
    sameCurve(path, PathMoveEffector(1, true, true, 16, 0.0f, 0.0f, 3));

    // Missing settings and coordinates take defaults.
    PathMoveEffector& sparse = *new PathMoveEffector(Write(
        "<Path><PathMove Velocity=\"40\" Resolution=\"-3\"/><Point x=\"5\"/><Point/><Point x=\"1\" y=\"1\"/></Path>"));
    sparse.GetPathLength();
    EXPECT_TRUE(sparse.GetSmoothedPoints().empty()) << "straight segments";
    sparse.BuildPath();
    sameCurve(sparse, PathMoveEffector(0, false, false, 1, 0.0f, 0.0f, 4));
    EXPECT_FLOAT_EQ(sparse.GetAcceleration(), 0.0f);
    ASSERT_EQ(sparse.GetPoints().size(), 3u);
    EXPECT_FLOAT_EQ(sparse.GetPoints()[0].x, 5.0f);
    EXPECT_FLOAT_EQ(sparse.GetPoints()[0].y, 0.0f);
    EXPECT_FLOAT_EQ(sparse.GetPoints()[1].x, 0.0f);

    // Far beyond their ends, the cyclic path goes on and the other has ended.
    int cyclicEnds = 0, sparseEnds = 0;
    path.finishedCallback = [&cyclicEnds] { ++cyclicEnds; };
    sparse.finishedCallback = [&sparseEnds] { ++sparseEnds; };
    AddEffector(&path, AddTarget());
    AddEffector(&sparse, AddTarget());
    Frames(20, 0.1f);
    EXPECT_EQ(cyclicEnds, 0);
    EXPECT_EQ(sparseEnds, 1);

    // An unreadable file gives a path that never moves.
    auto* target = AddTarget(4.0f, 4.0f);
    auto* none = new PathMoveEffector("/nonexistent/Paths/None.xml");
    none->AttachTo(target);
    Start(none);
    Frames(3, 0.5f);
    EXPECT_TRUE(none->GetPoints().empty());
    EXPECT_FLOAT_EQ(target->x, 4.0f);

    // A broken file keeps what was read before the error.
    PathMoveEffector broken(Write("<Path><PathMove Velocity=\"7\"/><Point x=\"1\" y=\"2\"/><Point"));
    EXPECT_FLOAT_EQ(broken.GetVelocity(), 7.0f);
    EXPECT_EQ(broken.GetPoints().size(), 1u);
}

TEST_F(PathFileTest, TheDemoPathPlaysToItsEnd) {
    auto* target = AddTarget();
    auto* path = new PathMoveEffector("data/Paths/Demo.xml");
    ASSERT_GE(path->GetPoints().size(), 2u);
    path->finishedCallback = [this] { ++finishedCalls; };
    path->AttachTo(target);
    Start(path);
    Frames(2000, 0.01f);
    EXPECT_EQ(finishedCalls, 1);
    EXPECT_FLOAT_EQ(target->x, path->GetPoints().back().x);
    EXPECT_FLOAT_EQ(target->y, path->GetPoints().back().y);
}

}  // namespace
