#include "scene/CHintScreen.h"
#include "scene/LevelEvents.h"

#include <cmath>

#include "engine/EngineContext.h"
#include "engine/HtmlLog.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeSprite.h"

namespace ZOLTFramework {

namespace {

const float kCandidates[][2] = {{400.0f, 300.0f}, {200.0f, 150.0f}, {600.0f, 150.0f}, {200.0f, 450.0f},
                                {600.0f, 450.0f}};
const float kPi = 3.14159265358979f;
const float kHeadLength = 28.0f;
const float kTailLength = 36.0f;
const int kEnterKey = 13;

bool StrictlyBetween(float v, float a, float b) { return (v > a && v < b) || (v > b && v < a); }

}  // namespace

void CHintScreen::ChooseWindowPosition(float p1x, float p1y, float p2x, float p2y, float* wx, float* wy) {
    long long best = -1;
    for (const auto& c : kCandidates) {
        float score = (c[0] - p1x) * (c[0] - p1x) + (c[1] - p1y) * (c[1] - p1y);
        if (p2x != 0.0f || p2y != 0.0f) score += (c[0] - p2x) * (c[0] - p2x) + (c[1] - p2y) * (c[1] - p2y);
        const long long whole = (long long)score;
        if (whole > best) {
            best = whole;
            *wx = c[0];
            *wy = c[1];
        }
    }
}

CHintScreen::CHintScreen(CQuestionListener* hintOwner, float p1x, float p1y, float p2x, float p2y)
    : CScreenEntity("HintScreen"), point1(p1x, p1y), point2(p2x, p2y), owner(hintOwner) {
    EntityManager* manager = Manager();
    if (!manager) {
        HtmlLog::Instance()->Error("Hint screen: no entity manager; the hint is not shown.");
        return;
    }
    float wx = 0.0f, wy = 0.0f;
    ChooseWindowPosition(p1x, p1y, p2x, p2y, &wx, &wy);

    window = manager->Spawn<CWindowEntity>();
    window->SetName("Window");
    window->SetSpriteName("Window04");
    window->AttachTo(this);
    window->SetPosXY(wx, wy);
    window->OnMove();
    window->SetDepth(0.6f);

    okButton = manager->Spawn<CButtonEntity>("OK", this);
    okButton->AttachTo(window);
    okButton->SetPosXY(0.0f, 75.0f);
    okButton->OnMove();
    okButton->SetSprite("ButtonYes", 0.0f, 0.0f, 67.0f, 58.0f);
    okButton->SetDepth(1.0f);
    okButton->SetSizeCentered(51.0f, 44.0f);
    okButton->SetHotKey(kEnterKey);

    if (HTEXTURE arrows = Services::Texture(engine, "TutorialArrow")) {
        arrowHead = new hgeSprite(arrows, 36.0f, 0.0f, 28.0f, 32.0f);
        arrowHead->SetHotSpot(28.0f, 16.0f);
        arrowTail = new hgeSprite(arrows, 0.0f, 0.0f, 36.0f, 32.0f);
        arrowTail->SetHotSpot(0.0f, 16.0f);
    } else {
        HtmlLog::Instance()->Error("Hint screen: no texture \"TutorialArrow\"; no arrows are drawn.");
    }

    text = manager->Spawn<TextEntity>("Text", nullptr);
    text->SetBox(300.0f, 280.0f);
    text->AttachTo(window);
    text->SetFont(FontRegistry::GetFont("Default14"));
    text->SetPosXY(-150.0f, -100.0f);
    text->OnMove();

    manager->PushScreen(this);
    SetOpacity(0.0f);
    hidden = false;
    UpdateRegistration();
}

CHintScreen::~CHintScreen() {
    delete arrowHead;
    delete arrowTail;
}

void CHintScreen::SetText(const std::string& key) {
    if (!text) return;
    const std::string value = Services::Text(engine, key);
    if (value.size() > kLongText) text->SetTracking(-12.0f);
    text->SetText(value);
}

void CHintScreen::Render() {
    if (!window) return;
    if (point1.x != 0.0f || point1.y != 0.0f) DrawArrow(point1.x, point1.y);
    if (point2.x != 0.0f || point2.y != 0.0f) DrawArrow(point2.x, point2.y);
}

void CHintScreen::DrawArrow(float px, float py) {
    if (!arrowHead || !arrowTail) return;
    const float wx = window->GetAbsoluteX(), wy = window->GetAbsoluteY();
    float dx = px - wx, dy = py - wy;
    if (dx == 0.0f) dx = 0.0001f;
    if (dy == 0.0f) dy = 0.0001f;
    const float a = std::atan(dx / dy);
    const bool above = py < wy;
    const float cx = above ? wx - 100.0f * std::sin(a) : wx + 100.0f * std::sin(a);
    const float cy = above ? wy - 100.0f * std::cos(a) : wy + 100.0f * std::cos(a);
    const float r = above ? -(a + kPi / 2.0f) : -(a - kPi / 2.0f);
    const float length = std::hypot(px - cx, py - cy) - kHeadLength;
    const float bx = px - kHeadLength * std::cos(r), by = py - kHeadLength * std::sin(r);
    const DWORD color = Services::FadeColor(0xFFFFFFFF, GetAbsoluteOpacity());
    if (length > 0.0f && !StrictlyBetween(px, bx, cx) && !StrictlyBetween(py, by, cy)) {
        arrowTail->SetColor(color);
        arrowTail->RenderEx(cx, cy, r, length / kTailLength, 1.0f);
    }
    arrowHead->SetColor(color);
    arrowHead->RenderEx(px, py, r, 1.0f, 1.0f);
}

void CHintScreen::GotFocus() {
    CScreenEntity::GotFocus();
    if (window) window->Resume();
}

void CHintScreen::LostFocus() {
    CScreenEntity::LostFocus();
    if (window) window->Pause();
}

void CHintScreen::OnButtonPress(const std::string& message) {
    Services::PlaySound(engine, "OnButtonPress");
    if (message != "OK") return;
    if (owner) owner->OnQuestion(LevelEvents::kTutorialShown, "");
    owner = nullptr;  // answered once
    Hide();
    if (EntityManager* manager = Manager()) manager->RemoveScreen(this);
}

void CHintScreen::OnButtonOver(const std::string& message) { Services::PlaySound(engine, "MouseOver"); }

}  // namespace ZOLTFramework
