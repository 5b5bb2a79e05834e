#include <memory>
#include "support/scene/SceneTestEngine.h"

#include <cmath>
#include <fstream>
#include <vector>

#include "graphics/FontRegistry.h"
#include "platform/ImageCodec.h"
#include "profiles/PlayerManager.h"

namespace {

GuiTestOptions GuiOptions(const SceneTestOptions& options) {
    GuiTestOptions gui;
    gui.dt = options.dt;
    return gui;
}

using Pixels = std::vector<uint32_t>;

Pixels Filled(int w, int h, uint32_t argb) { return Pixels(size_t(w) * size_t(h), argb); }

// An opaque disc of the radius in the middle of a clear square.
Pixels Disc(int size, float radius, uint32_t argb) {
    Pixels px = Filled(size, size, 0);
    const float c = (size - 1) * 0.5f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (std::hypot(x - c, y - c) <= radius) px[size_t(y) * size + x] = argb;
    return px;
}

const char* const kFixtureScript = R"(
Texture "FxPanel" { filename = "%DIR%panel.png" resgroup = 0 }
Sprite "InGamePanel" { texture = "FxPanel" rect = 0,0,180,600 resgroup = 0 }
Texture "FxCursors" { filename = "%DIR%cursors.png" resgroup = 0 }
Animation "PlayCursor" { texture = "FxCursors" rect = 0,0,32,32 frames = 2 fps = 8 resgroup = 0 }
Animation "DiffCursor" { texture = "FxCursors" rect = 0,32,32,32 frames = 2 fps = 8 resgroup = 0 }
Texture "FxTool" { filename = "%DIR%tool.png" resgroup = 0 }
Sprite "MagnifyingGlassTool" { texture = "FxTool" rect = 0,0,128,128 hotspot = 64,64 resgroup = 0 }
Texture "MagnifyingGlassMask" { filename = "data\Texture\MagnifyingGlassMask.png" resgroup = 0 }
Texture "FxBag" { filename = "%DIR%bag.png" resgroup = 0 }
Sprite "Inventory" { texture = "FxBag" rect = 0,0,210,170 hotspot = 100,85 resgroup = 0 }
Texture "FxLine" { filename = "%DIR%line.png" resgroup = 0 }
Sprite "InGameDividingLine" { texture = "FxLine" rect = 0,0,64,8 resgroup = 0 }
Sprite "SolveLaterObjectParticle" { texture = "FxLine" rect = 0,0,8,8 hotspot = 4,4 resgroup = 0 }
Texture "FxUnits" { filename = "%DIR%units.png" resgroup = 10 }
Sprite "Square" { texture = "FxUnits" rect = 0,0,64,64 resgroup = 10 }
Sprite "Disc" { texture = "FxUnits" rect = 64,0,64,64 hotspot = 32,32 resgroup = 10 }
Sprite "Key" { texture = "FxUnits" rect = 128,0,32,16 resgroup = 10 }
Texture "FxBackdrop" { filename = "%DIR%backdrop.png" resgroup = 10 }
Sprite "Backdrop" { texture = "FxBackdrop" rect = 0,0,512,384 resgroup = 10 }
Animation "box_Fixture" { texture = "FxUnits" rect = 0,64,16,16 frames = 4 fps = 8 resgroup = 10 }
)";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

SceneTestEngine::SceneTestEngine(const SceneTestOptions& options)
    : GuiTestEngine(GuiOptions(options)), m_dtValue(options.dt) {
    if (options.gameResources) {
        UseResources();
    } else {
        SetResourceManager(std::make_unique<hgeResourceManager>(WriteSceneFixtureArt(Dir().Path()).c_str()));
    }
    UseAudio(false);
    UseFonts({{"Default", "data\\Font\\default.fnt"}, {"Default14", "data\\Font\\default14.fnt"}});
    if (!options.textFile.empty())
        UseTextFile(options.textFile.c_str());
    else
        SetTextTable("[HGESTRINGTABLE]\nSCENE_FIXTURE=\"Fixture\"\n" + options.textTable + "\n");
    // The shared timer of a previous engine died with its entity manager.
    PlayerManager::Instance()->Timer->Clear();
}

SceneTestEngine::~SceneTestEngine() {
    PlayerManager::Instance()->Timer->Clear();
    DeleteEntities();
}

std::string WriteSceneFixtureArt(const std::string& dir) {
    ImageCodec::WritePng(dir + "panel.png", 180, 600, Filled(180, 600, 0xFF5A3A22));
    Pixels cursors = Filled(64, 64, 0xFFFFFFFF);
    ImageCodec::WritePng(dir + "cursors.png", 64, 64, cursors);
    Pixels ring = Filled(128, 128, 0);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const float r = std::hypot(x - 63.5f, y - 63.5f);
            if (r >= 48.0f && r <= 60.0f) ring[size_t(y) * 128 + x] = 0xFFC8A040;
        }
    ImageCodec::WritePng(dir + "tool.png", 128, 128, ring);
    ImageCodec::WritePng(dir + "bag.png", 210, 170, Filled(210, 170, 0xFF6B4423));
    ImageCodec::WritePng(dir + "line.png", 64, 8, Filled(64, 8, 0xFFFFFFFF));
    // Units: a red square, a blue disc, a yellow key bar, four animation frames.
    Pixels units = Filled(256, 128, 0);
    const Pixels disc = Disc(64, 24.0f, 0xFF2040E0);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            units[size_t(y) * 256 + x] = 0xFFE02020;
            units[size_t(y) * 256 + 64 + x] = disc[size_t(y) * 64 + x];
        }
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) units[size_t(y) * 256 + 128 + x] = 0xFFE0C020;
    for (int y = 64; y < 80; ++y)
        for (int x = 0; x < 64; ++x) units[size_t(y) * 256 + x] = 0xFF20C040;
    ImageCodec::WritePng(dir + "units.png", 256, 128, units);
    // A smooth backdrop with a fine checker, to see enlargement in snapshots.
    Pixels backdrop = Filled(512, 384, 0);
    for (int y = 0; y < 384; ++y)
        for (int x = 0; x < 512; ++x) {
            const uint32_t checker = ((x / 16 + y / 16) % 2) ? 0xC0u : 0x40u;
            backdrop[size_t(y) * 512 + x] = 0xFF000000u | (uint32_t(x * 255 / 511) << 16) |
                                            (uint32_t(y * 255 / 383) << 8) | checker;
        }
    ImageCodec::WritePng(dir + "backdrop.png", 512, 384, backdrop);
    const std::string script = dir + "fixture.res";
    std::ofstream(script) << Replace(kFixtureScript, "%DIR%", dir);
    return script;
}

std::string SceneTestEngine::WriteScene(const std::string& name, const std::string& xml) const {
    Dir().Write(name, xml);
    return Dir() / name;
}

void SceneTestEngine::Run(float seconds) {
    const int frames = std::max(1, int(std::ceil(seconds / m_dtValue - 1e-4f)));
    Step(frames);
}
