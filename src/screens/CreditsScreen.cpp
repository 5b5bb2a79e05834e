#include "screens/CreditsScreen.h"

#include "runtime/CEngine.h"
#include "entities/core/EntityManager.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/core/EntityServices.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeSprite.h"

namespace Services = ZOLTFramework::Services;

namespace {

const char* const kFontName = "Default";
const float kColumnScale = 0.6f;
const float kNicknameScale = 0.5f;
const DWORD kHeadingColor = 0xFFFFFF9B;
const DWORD kNameColor = 0xFFFFFFFF;

// One line of the scrolling list: a heading (a text-table key) or a name,
// at its distance below the top of the list.
struct CreditLine {
    float y;
    bool heading;
    const char* text;
};

// The Drovalin team.
const CreditLine kCreditLines[] = {
    {0, true, "PRODUCERS"},
    {30, false, "Ilse Varnhagen"},
    {55, false, "Tomas Brezina"},
    {80, false, "Orvelworks"},
    {165, true, "CREATIVE_DIRECTOR"},
    {200, false, "Marek Solvang"},
    {260, true, "PROJECT_MANAGER"},
    {295, false, "Dana Kettleby"},
    {355, true, "GAME_DESIGN"},
    {385, false, "Petra Lindqvist"},
    {470, true, "PROGRAMMING"},
    {500, false, "Jonas Hradil"},
    {525, false, "Alma Quist"},
    {550, false, "Viktor Renn"},
    {610, true, "ARTISTS"},
    {640, false, "Hana Morrow"},
    {690, false, "Eliska Vane"},
    {715, false, "Ruben Osterholt"},
    {740, false, "Mila Dworak"},
    {765, false, "Oskar Fenwick"},
    {790, false, "Greta Halloran"},
    {815, false, "Filip Sandoval"},
    {840, false, "Nora Leszczyk"},
    {900, true, "MUSIC_AND_SOUND"},
    {930, false, "Drovalin sound desk (free synthesised music, SoX)"},
    {990, true, "COPYRIGHT"},
};
// Under the artist at 640, a smaller second line.
const float kNicknameY = 640;
const char* const kNickname = "\n\"the Lamplighter\"";

// Draws a resource sprite centred at (x, y) at the given scale; a missing
// sprite is skipped. With tint the sprite takes the colour for this draw only.
void DrawLogo(const ZOLTFramework::EngineContext* engine, const char* name, float x, float y, float scale, bool tint,
              DWORD color) {
    hgeSprite* sprite = Services::Sprite(engine, name);
    if (!sprite) return;
    const DWORD previous = sprite->GetColor();
    if (tint) sprite->SetColor(color);
    sprite->RenderEx(x, y, 0.0f, scale, scale);
    if (tint) sprite->SetColor(previous);
}

}  // namespace

CreditsScreen::CreditsScreen(const std::string& screenName, const std::string& dialogFile)
    : Dialog(screenName, dialogFile, nullptr) {
    scrollOffset = kStartOffset;
    SetOpacity(0.0f);
    Show();
}

void CreditsScreen::Update(float dt) {
    CScreenEntity::Update(dt);
    scrollOffset -= kScrollSpeed * dt;
    if (scrollOffset < kEndOffset) scrollOffset = kStartOffset;
}

void CreditsScreen::Render() {
    hgeFont* font = FontRegistry::GetFont(kFontName);
    HGE* hge = Services::Hge(engine);
    const float wx = window ? window->GetAbsoluteX() : GetAbsoluteX();
    const float wy = window ? window->GetAbsoluteY() : GetAbsoluteY();
    const float s = scrollOffset;
    const float x0 = wx + 20.0f;
    const DWORD alpha = DWORD(int(255.0f * GetAbsoluteOpacity())) << 24;
    const DWORD white = alpha | (kNameColor & 0x00FFFFFF);

    const DWORD previousColor = font ? font->GetColor() : 0;
    const float previousScale = font ? font->GetScale() : 1.0f;
    if (font) {
        font->SetColor(white);
        bool found = false;
        const std::string title = Services::Text(engine, "CREDITS", &found);
        if (found) font->Render(x0, wy - 230.0f, HGETEXT_CENTER, title.c_str());
        font->SetScale(kColumnScale);
    }

    if (hge) hge->Gfx_SetClipping(int(x0 - 300.0f), int(wy - 185.0f), 600, 350);

    const float logoY = wy - 300.0f + s;
    DrawLogo(engine, "OrvelLogoMini", x0 - 70.0f, logoY, 0.7f, true, white);
    // The partner's logo keeps its own colour and does not fade.
    DrawLogo(engine, "KTVLogoMini", x0 + 90.0f, logoY, 0.7f, false, 0);

    if (font) {
        bool found = false;
        const std::string present = Services::Text(engine, "PRESENT", &found);
        if (found) font->Render(x0, logoY + 70.0f, HGETEXT_CENTER, present.c_str());
    }
    DrawLogo(engine, "DRLogo", x0, logoY + 220.0f, 0.3f, true, white);

    if (font) {
        // The list's top follows the clipping rectangle's left edge.
        const float top = s + (x0 - 300.0f) + 200.0f;
        for (const CreditLine& line : kCreditLines) {
            if (line.heading) {
                bool found = false;
                const std::string heading = Services::Text(engine, line.text, &found);
                if (!found) continue;
                font->SetColor(alpha | (kHeadingColor & 0x00FFFFFF));
                font->Render(x0, top + line.y, HGETEXT_CENTER, heading.c_str());
            } else {
                font->SetColor(white);
                font->Render(x0, top + line.y, HGETEXT_CENTER, line.text);
            }
            if (!line.heading && line.y == kNicknameY) {
                font->SetScale(kNicknameScale);
                font->Render(x0, top + line.y, HGETEXT_CENTER, kNickname);
                font->SetScale(kColumnScale);
            }
        }
    }

    if (hge) hge->Gfx_SetClipping(0, 0, 0, 0);
    // The font is shared with every other screen.
    if (font) {
        font->SetColor(previousColor);
        font->SetScale(previousScale);
    }
}

void CreditsScreen::OnButtonPress(const std::string& message) {
    if (!BeginFinish()) return;
    Services::PlaySound(engine, "BtnPress");
    Kill();
    if (EntityManager* manager = Manager()) manager->RemoveScreen(this);
}

void CreditsScreen::OnButtonOver(const std::string& message) { Services::PlaySound(engine, "BtnOver"); }
