#include "app/GameFonts.h"

#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"

namespace ZOLTFramework {

namespace {

struct FontSetup {
    const char* name;
    const char* file;
    bool setColor;
    float tracking;
    bool setSpacing;
    float spacing;
};

// The fonts of the game, loaded in this order.
const FontSetup kFonts[] = {
    {"Default", "data\\Font\\default.fnt", true, -8.0f, false, 0.0f},
    {"Default1", "data\\Font\\default.fnt", true, -8.0f, false, 0.0f},
    {"Comics", "data\\Font\\comics.fnt", true, -7.0f, true, 0.5f},
    {"Score", "data\\Font\\Score.fnt", true, -8.0f, true, 0.5f},
    {"Default14", "data\\Font\\default14.fnt", true, -6.0f, false, 0.0f},
    {"DefaultContourless", "data\\Font\\defaultcontourless.fnt", true, -10.0f, false, 0.0f},
    {"Main", "data\\Font\\main.fnt", false, 10.0f, false, 0.0f},
    {"Main1", "data\\Font\\main.fnt", false, -6.0f, false, 0.0f},
};

}  // namespace

void LoadGameFonts() {
    FontMap& fonts = FontRegistry::Instance();
    for (const FontSetup& setup : kFonts) {
        fonts.LoadFont(setup.name, setup.file);
        hgeFont* font = FontRegistry::GetFont(setup.name);
        if (!font) continue;
        if (setup.setColor) font->SetColor(0xFFFFFFFF);
        font->SetTracking(setup.tracking);
        if (setup.setSpacing) font->SetSpacing(setup.spacing);
    }
}

}  // namespace ZOLTFramework
