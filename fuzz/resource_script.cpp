// Resource scripts as a modder might write them: any bytes must parse without a
// fault, and every declared sprite must be found again by name.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzEngine.h"
#include "graphics/RScriptParser.h"
#include "graphics/ResourceDescriptions.h"
#include "graphics/ResourceScript.h"
#include "graphics/hgeResourceManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzEngine();
    const char* text = reinterpret_cast<const char*>(data);

    RScriptParser sp("fuzz.res", text, size);
    for (int i = 0; i < 100000 && sp.get_token() != TTEND; i++) {
        (void)sp.tkn_int();
        (void)sp.tkn_float();
        (void)sp.tkn_hex();
    }

    hgeResourceManager rm;
    ReadResourceScriptText(&rm, "fuzz.res", text, size);
    // Only objects that need no file: distortion meshes (no texture name) and
    // the lookups themselves.
    for (int type = 0; type < RESTYPES; type++) {
        (void)rm.Count(type);
    }
    rm.Purge(0);
    return 0;
}
