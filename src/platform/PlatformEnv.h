// The environment switches of the platform layer: the one place that reads
// them (the game reads no command line). They are read when the engine
// interface is created, or at the first call of Current before that.
#pragma once

#include <string>

struct PlatformEnv {
    bool headless = false;      // DROVALIN_HEADLESS=1: no window, no GL
    int frames = -1;            // DROVALIN_FRAMES=N: end the run after N frames (-1: no limit)
    std::string inputScript;    // DROVALIN_INPUT=FILE: input script replayed frame by frame
    bool hasSeed = false;       // DROVALIN_SEED=N given
    unsigned seed = 0;
    float dt = 1.0f / 300.0f;   // DROVALIN_DT=S: the time step (headless always; with a window when given)
    bool fixedStep = false;     // DROVALIN_DT given: the window backend steps by dt too
    bool noCap = false;         // DROVALIN_NOCAP=1: no frame-rate cap with a window (benchmarks)

    // Reads the environment now.
    static PlatformEnv Read();
    // The switches in force: the last ones read by Refresh (at the creation of
    // an engine interface), or read at the first call.
    static const PlatformEnv& Current();
    static const PlatformEnv& Refresh();
};
