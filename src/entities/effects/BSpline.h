// Open-uniform B-spline sampling for smoothed paths: the knot vector, the
// Cox-de Boor blending functions and the sampled curve through a list of
// control points.
#pragma once

#include <vector>

namespace ZOLTFramework {

struct PathPoint {
    float x;
    float y;
};

// The bounds a curve is built within.
namespace BSpline {

// Largest order a curve is built with. The order is also capped at the number of
// control points (beyond it the knot vector runs backwards) and is at least 1.
const int kMaxDegree = 8;
// Largest number of samples a curve is built with.
const int kMaxResolution = 4096;

// The order actually used for `degree` over `pointCount` control points.
int ClampDegree(int degree, int pointCount);
// The sample count actually used for `resolution`: at least 1, at most kMaxResolution.
int ClampResolution(int resolution);

}  // namespace BSpline

// Integer knot vector of n + t + 1 entries for n + 1 control points and order t:
// 0 below t, j - t + 1 from t to n, n - t + 2 above n.
std::vector<int> BSplineKnots(int n, int t);

// Cox-de Boor blending function of control point k, order t, at parameter u.
// A denominator of 0 drops its term. Evaluated bottom-up, so the cost grows with
// the square of the order rather than exponentially.
double BSplineBlend(const std::vector<int>& knots, int k, int t, double u);

// The point of the curve of order t at parameter u: the sum of the control
// points, each weighted by its blending function (computed in double
// precision). `knots` is the knot vector of `control` for order t.
PathPoint BSplinePoint(const std::vector<int>& knots, const std::vector<PathPoint>& control, int t, double u);

// `resolution` samples of the curve of order `degree` through `control`
// (both clamped as above). The last sample is the last control point itself;
// the others are spread evenly over the parameter range. Empty for no points.
std::vector<PathPoint> BSplineCurve(const std::vector<PathPoint>& control, int degree, int resolution);

}  // namespace ZOLTFramework
