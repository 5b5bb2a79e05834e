#include "entities/effects/BSpline.h"

#include <algorithm>

namespace ZOLTFramework {
namespace BSpline {

int ClampDegree(int degree, int pointCount) {
    int t = std::min(degree, kMaxDegree);
    t = std::min(t, pointCount);
    return std::max(t, 1);
}

int ClampResolution(int resolution) { return std::max(1, std::min(resolution, kMaxResolution)); }

}  // namespace BSpline

std::vector<int> BSplineKnots(int n, int t) {
    std::vector<int> knots(static_cast<size_t>(n + t + 1));
    for (int j = 0; j < n + t + 1; ++j) {
        if (j < t)
            knots[j] = 0;
        else if (j <= n)
            knots[j] = j - t + 1;
        else
            knots[j] = n - t + 2;
    }
    return knots;
}

namespace {

// Blending values of every control point at u for order t, written into
// `level` (count = knots.size() - t entries). Only the t functions whose
// support holds u can be non-zero, so only those are computed: the cost is the
// square of the order per parameter, whatever the number of points.
void BlendAll(const std::vector<int>& knots, int t, double u, std::vector<double>& level) {
    const int last = static_cast<int>(knots.size()) - 1;
    level.assign(static_cast<size_t>(last), 0.0);
    // The half-open knot span that holds u (order 1); none outside the knots.
    int span = -1;
    for (int k = 0; k < last; ++k) {
        if (knots[k] <= u && u < knots[k + 1]) {
            span = k;
            break;
        }
    }
    if (span < 0) {
        level.resize(static_cast<size_t>(std::max(last - t + 1, 0)));
        return;
    }
    level[span] = 1.0;

    for (int s = 2; s <= t; ++s) {
        const int count = last - s + 1;  // k + s must stay a valid knot index
        // Ascending k reads level[k] and level[k + 1] before either is rewritten.
        for (int k = std::max(0, span - s + 1); k <= std::min(span, count - 1); ++k) {
            const double d1 = knots[k + s - 1] - knots[k];
            const double d2 = knots[k + s] - knots[k + 1];
            double value = 0.0;
            if (d1 != 0.0) value += (u - knots[k]) / d1 * level[k];
            if (d2 != 0.0) value += (knots[k + s] - u) / d2 * level[k + 1];
            level[k] = value;
        }
    }
    level.resize(static_cast<size_t>(last - t + 1));
}

}  // namespace

double BSplineBlend(const std::vector<int>& knots, int k, int t, double u) {
    if (t < 1 || k < 0 || k + t >= static_cast<int>(knots.size())) return 0.0;
    std::vector<double> values;
    BlendAll(knots, t, u, values);
    return values[k];
}

PathPoint BSplinePoint(const std::vector<int>& knots, const std::vector<PathPoint>& control, int t, double u) {
    if (knots.empty()) return {0.0f, 0.0f};
    std::vector<double> blend;
    BlendAll(knots, t, u, blend);
    const size_t count = std::min(blend.size(), control.size());
    double x = 0.0;
    double y = 0.0;
    for (size_t k = 0; k < count; ++k) {
        x += blend[k] * control[k].x;
        y += blend[k] * control[k].y;
    }
    return {static_cast<float>(x), static_cast<float>(y)};
}

std::vector<PathPoint> BSplineCurve(const std::vector<PathPoint>& control, int degree, int resolution) {
    std::vector<PathPoint> samples;
    if (control.empty()) return samples;

    const int count = static_cast<int>(control.size());
    const int n = count - 1;
    const int t = BSpline::ClampDegree(degree, count);
    const int res = BSpline::ClampResolution(resolution);
    const std::vector<int> knots = BSplineKnots(n, t);

    samples.reserve(static_cast<size_t>(res));
    if (res > 1) {
        const double step = static_cast<double>(n - t + 2) / static_cast<double>(res - 1);
        double u = 0.0;
        for (int i = 0; i < res - 1; ++i) {
            samples.push_back(BSplinePoint(knots, control, t, u));
            u += step;
        }
    }
    samples.push_back(control.back());
    return samples;
}

}  // namespace ZOLTFramework
