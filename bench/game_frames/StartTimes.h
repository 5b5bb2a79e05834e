// Start-up time of the game in fresh processes: the benchmark program runs
// itself again with DROVALIN_BENCH_START_CHILD=1; such a child starts the game
// as usual, prints the moment its first logo frame is shown (on the system's
// monotonic clock) and quits. The parent measures from just before it spawns
// the child.
#pragma once

#include <chrono>
#include <vector>

namespace StartTimes {

// True in a child started by Measure.
bool IsChild();
// In a child: the line the parent reads, with the moment the frame was shown.
void PrintFirstLogoFrame(std::chrono::steady_clock::time_point shown);
// Seconds from spawning to the first logo frame, one per start (a start that
// failed is left out).
std::vector<double> Measure(int starts);

}  // namespace StartTimes
