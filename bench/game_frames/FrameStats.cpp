#include "game_frames/FrameStats.h"

#include <algorithm>
#include <cstdio>

int CountRuns(const std::vector<RenderStats::RecordedQuad>& quads) {
    auto blend = [](const hgeQuad& q) { return q.blend & (BLEND_COLORADD | BLEND_ALPHABLEND); };
    auto mask = [](const hgeQuad& q) { return q.stage2Mode == 2 ? q.tex2 : 0; };
    int runs = 0;
    const RenderStats::RecordedQuad* last = nullptr;
    for (const RenderStats::RecordedQuad& q : quads) {
        const bool same = last && last->quad.tex == q.quad.tex && blend(last->quad) == blend(q.quad) &&
                          mask(last->quad) == mask(q.quad) && last->clipped == q.clipped &&
                          (!q.clipped || (last->clipX == q.clipX && last->clipY == q.clipY &&
                                          last->clipW == q.clipW && last->clipH == q.clipH));
        if (!same) ++runs;
        last = &q;
    }
    return runs;
}

double CountFill(const std::vector<RenderStats::RecordedQuad>& quads) {
    double pixels = 0;
    for (const RenderStats::RecordedQuad& q : quads) {
        float x0 = q.quad.v[0].x, x1 = x0, y0 = q.quad.v[0].y, y1 = y0;
        for (const hgeVertex& v : q.quad.v) {
            x0 = std::min(x0, v.x);
            x1 = std::max(x1, v.x);
            y0 = std::min(y0, v.y);
            y1 = std::max(y1, v.y);
        }
        float left = 0, top = 0, right = 800, bottom = 600;
        if (q.clipped) {
            left = float(q.clipX);
            top = float(q.clipY);
            right = std::min(right, float(q.clipX + q.clipW));
            bottom = std::min(bottom, float(q.clipY + q.clipH));
        }
        const float w = std::min(x1, right) - std::max(x0, left), h = std::min(y1, bottom) - std::max(y0, top);
        if (w > 0 && h > 0) pixels += double(w) * double(h);
    }
    return pixels / (800.0 * 600.0);
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t i = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
    return values[i];
}

namespace {

double Mean(const std::vector<double>& v) {
    double s = 0;
    for (double x : v) s += x;
    return v.empty() ? 0 : s / double(v.size());
}

}  // namespace

PhaseSummary ReportPhase(const char* name, const std::vector<FrameCost>& frames) {
    PhaseSummary summary;
    if (frames.empty()) {
        std::printf("%-13s no frames\n", name);
        return summary;
    }
    std::vector<double> update, render, total;
    double quads = 0, runs = 0, calls = 0, fill = 0;
    for (const FrameCost& f : frames) {
        update.push_back(f.update);
        render.push_back(f.render);
        total.push_back(f.update + f.render);
        quads += f.quads;
        runs += f.runs;
        calls += f.drawCalls;
        fill += f.fill;
        if (f.drawCalls > f.runs) ++summary.framesOverRuns;
    }
    summary.meanTotal = Mean(total);
    const double n = double(frames.size());
    std::printf("%-13s %6zu frames  update %.3f ms (p99 %.3f)  render %.3f ms (p99 %.3f)  total %.3f ms (p99 %.3f)\n",
                name, frames.size(), Mean(update), Percentile(update, 0.99), Mean(render), Percentile(render, 0.99),
                summary.meanTotal, Percentile(total, 0.99));
    std::printf("%-13s quads %.1f  draw-call runs %.1f  draw calls %.1f  screens filled %.2f per frame; frames with "
                "more calls than runs: %d\n",
                "", quads / n, runs / n, calls / n, fill / n, summary.framesOverRuns);
    return summary;
}
