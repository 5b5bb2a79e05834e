// Per-frame costs of a phase of the game_frames benchmark and their report:
// mean and 99th percentile of update, render and their sum, quads, draw-call
// runs (quads of equal texture, blend, mask and clipping in draw order) and
// draw calls per frame.
#pragma once

#include <vector>

#include "platform/RenderStats.h"

struct FrameCost {
    double update = 0, render = 0;  // milliseconds
    int quads = 0, runs = 0, drawCalls = 0;
    double fill = 0;  // screens' worth of pixels the quads cover
};

// Draw-call runs of the recorded quads: a new run wherever texture, blend,
// mask or clipping change from the quad before.
int CountRuns(const std::vector<RenderStats::RecordedQuad>& quads);

// Pixels the quads cover (each by its bounding box, clipped to the 800 x 600
// screen and to its clipping rectangle), in whole screens.
double CountFill(const std::vector<RenderStats::RecordedQuad>& quads);

double Percentile(std::vector<double> values, double p);

struct PhaseSummary {
    double meanTotal = 0;       // update + render, ms
    int framesOverRuns = 0;     // frames with more draw calls than runs
};

// Prints the phase's two report lines; returns its summary.
PhaseSummary ReportPhase(const char* name, const std::vector<FrameCost>& frames);
