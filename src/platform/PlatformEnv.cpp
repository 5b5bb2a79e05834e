#include "platform/PlatformEnv.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* Get(const char* name) {
    const char* v = std::getenv(name);
    return (v && *v) ? v : nullptr;
}

void Complain(const char* name, const char* value) {
    std::fprintf(stderr, "Ignoring %s=%s: not a valid value\n", name, value);
}

}  // namespace

namespace {

PlatformEnv& Slot(bool reread) {
    static PlatformEnv current = PlatformEnv::Read();
    if (reread) current = PlatformEnv::Read();
    return current;
}

}  // namespace

const PlatformEnv& PlatformEnv::Current() { return Slot(false); }

const PlatformEnv& PlatformEnv::Refresh() { return Slot(true); }

PlatformEnv PlatformEnv::Read() {
    PlatformEnv env;
    if (const char* v = Get("DROVALIN_HEADLESS")) env.headless = std::strcmp(v, "0") != 0;
    if (const char* v = Get("DROVALIN_FRAMES")) {
        char* end = nullptr;
        const long n = std::strtol(v, &end, 10);
        if (*end == 0 && n >= 0 && n < 0x7FFFFFFF)
            env.frames = int(n);
        else
            Complain("DROVALIN_FRAMES", v);
    }
    if (const char* v = Get("DROVALIN_INPUT")) env.inputScript = v;
    if (const char* v = Get("DROVALIN_SEED")) {
        char* end = nullptr;
        const unsigned long long n = std::strtoull(v, &end, 10);
        if (*end == 0) {
            env.hasSeed = true;
            env.seed = unsigned(n);
        } else {
            Complain("DROVALIN_SEED", v);
        }
    }
    if (const char* v = Get("DROVALIN_DT")) {
        char* end = nullptr;
        const double s = std::strtod(v, &end);
        if (*end == 0 && s > 0.0 && s <= 10.0) {
            env.dt = float(s);
            env.fixedStep = true;
        } else {
            Complain("DROVALIN_DT", v);
        }
    }
    if (const char* v = Get("DROVALIN_NOCAP")) env.noCap = std::strcmp(v, "0") != 0;
    return env;
}
