// ".fnt" font descriptions: any bytes must load without a fault; the loaded
// font then measures, wraps and draws the same bytes as text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzEngine.h"
#include "graphics/hgeFont.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HGE* hge = FuzzEngine();
    const char* bytes = reinterpret_cast<const char*>(data);
    for (hgeFont::Build build : {hgeFont::BUILD_REGISTRY, hgeFont::BUILD_RESOURCE}) {
        hgeFont font(nullptr, false, build);
        font.LoadFromMemory(bytes, size, "fuzz/font.fnt");

        std::string text(bytes, size < 600 ? size : 600);
        text.resize(std::char_traits<char>::length(text.c_str()));
        (void)font.GetLineWidth(text.c_str());
        (void)font.GetStringWidth(text.c_str(), true);
        hge->Gfx_BeginScene();
        font.Render(10, 10, HGETEXT_CENTER, text.c_str());
        font.printfb(0, 0, 200, 100, HGETEXT_RIGHT | HGETEXT_MIDDLE, "%s", text.c_str());
        hge->Gfx_EndScene();
    }
    return 0;
}
