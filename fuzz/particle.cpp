// ".psi" particle records: any bytes (short, NaN, huge values) must parse or be
// rejected, and a parsed system must fire, move and draw without a fault.
#include <cstddef>
#include <cstdint>

#include "FuzzEngine.h"
#include "graphics/hgeParticleSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HGE* hge = FuzzEngine();
    hgeParticleSystemInfo info;
    if (!ParseParticleInfo(data, size, &info)) return 0;

    static hgeSprite* sprite = new hgeSprite(0, 0, 0, 8, 8);
    info.sprite = sprite;
    hgeParticleSystem ps(&info);
    ps.TrackBoundingBox(true);
    ps.FireAt(100, 100);
    hge->Gfx_BeginScene();
    for (int i = 0; i < 8; i++) {
        ps.MoveTo(100.0f + i * 7, 100.0f - i * 3, i % 2 == 0);
        ps.Update(0.05f * (i + 1));
        ps.Render();
    }
    hge->Gfx_EndScene();
    hgeRect box;
    ps.GetBoundingBox(&box);
    return 0;
}
