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
    double quads = 0, runs = 0, calls = 0;
    for (const FrameCost& f : frames) {
        update.push_back(f.update);
        render.push_back(f.render);
        total.push_back(f.update + f.render);
        quads += f.quads;
        runs += f.runs;
        calls += f.drawCalls;
        if (f.drawCalls > f.runs) ++summary.framesOverRuns;
    }
    summary.meanTotal = Mean(total);
    const double n = double(frames.size());
    std::printf("%-13s %6zu frames  update %.3f ms (p99 %.3f)  render %.3f ms (p99 %.3f)  total %.3f ms (p99 %.3f)\n",
                name, frames.size(), Mean(update), Percentile(update, 0.99), Mean(render), Percentile(render, 0.99),
                summary.meanTotal, Percentile(total, 0.99));
    std::printf("%-13s quads %.1f  draw-call runs %.1f  draw calls %.1f per frame; frames with more calls than runs: %d\n",
                "", quads / n, runs / n, calls / n, summary.framesOverRuns);
    return summary;
}
