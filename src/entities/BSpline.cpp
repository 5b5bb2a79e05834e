#include "entities/BSpline.h"

#include <algorithm>

namespace ZOLTFramework {
namespace BSpline {

int ClampDegree(int degree, int pointCount) {
    int t = std::min(degree, kMaxDegree);
    t = std::min(t, pointCount);
    return std::max(t, 1);
}

int ClampResolution(int resolution) { return std::max(1, std::min(resolution, kMaxResolution)); }

std::vector<int> Knots(int n, int t) {
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

// Blending values of every control point at u, for orders 1..t; returns the
// values of order t for k = 0..count-1 (count = knots.size() - t).
std::vector<double> BlendAll(const std::vector<int>& knots, int t, double u) {
    const int last = static_cast<int>(knots.size()) - 1;
    // Order 1: the half-open knot span that holds u.
    std::vector<double> level(static_cast<size_t>(last), 0.0);
    for (int k = 0; k < last; ++k) level[k] = (knots[k] <= u && u < knots[k + 1]) ? 1.0 : 0.0;

    for (int s = 2; s <= t; ++s) {
        const int count = last - s + 1;  // k + s must stay a valid knot index
        std::vector<double> next(static_cast<size_t>(std::max(count, 0)), 0.0);
        for (int k = 0; k < count; ++k) {
            const double d1 = knots[k + s - 1] - knots[k];
            const double d2 = knots[k + s] - knots[k + 1];
            double value = 0.0;
            if (d1 != 0.0) value += (u - knots[k]) / d1 * level[k];
            if (d2 != 0.0) value += (knots[k + s] - u) / d2 * level[k + 1];
            next[k] = value;
        }
        level.swap(next);
    }
    return level;
}

}  // namespace

double Blend(const std::vector<int>& knots, int k, int t, double u) {
    if (t < 1 || k < 0 || k + t >= static_cast<int>(knots.size())) return 0.0;
    const std::vector<double> values = BlendAll(knots, t, u);
    return values[k];
}

std::vector<PathPoint> Curve(const std::vector<PathPoint>& control, int degree, int resolution) {
    std::vector<PathPoint> samples;
    if (control.empty()) return samples;

    const int count = static_cast<int>(control.size());
    const int n = count - 1;
    const int t = ClampDegree(degree, count);
    const int res = ClampResolution(resolution);
    const std::vector<int> knots = Knots(n, t);

    samples.reserve(static_cast<size_t>(res));
    if (res > 1) {
        const double step = static_cast<double>(n - t + 2) / static_cast<double>(res - 1);
        double u = 0.0;
        for (int i = 0; i < res - 1; ++i) {
            const std::vector<double> blend = BlendAll(knots, t, u);
            double x = 0.0;
            double y = 0.0;
            for (int k = 0; k <= n; ++k) {
                x += blend[k] * control[k].x;
                y += blend[k] * control[k].y;
            }
            samples.push_back({static_cast<float>(x), static_cast<float>(y)});
            u += step;
        }
    }
    samples.push_back(control.back());
    return samples;
}

}  // namespace BSpline
}  // namespace ZOLTFramework
