// The headless engine interface every fuzz target runs on: created once, no log
// file (System_Log lines go nowhere), kept for the whole run.
#pragma once

#include <cstdlib>

#include "platform/hge.h"

inline HGE* FuzzEngine() {
    static HGE* hge = [] {
        setenv("DROVALIN_HEADLESS", "1", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        HGE* h = hgeCreate(HGE_VERSION);
        h->System_SetState(HGE_USESOUND, false);
        h->System_Initiate();
        return h;
    }();
    return hge;
}
