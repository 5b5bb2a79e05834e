// Helpers of the dialog tests: an engine with the fonts and texts the dialogs
// draw, an owner that writes down the answers it hears, and a plain screen to
// stand under the dialogs.
#pragma once

#include <string>
#include <vector>

#include "support/runtime/GuiTestEngine.h"
#include "entities/screens/CScreenEntity.h"
#include "entities/core/Listeners.h"
#include "graphics/FontRegistry.h"

inline GuiTestOptions DialogOptions() {
    GuiTestOptions o;
    o.resources = true;
    o.fonts = true;
    o.audio = false;
    o.textTable =
        "[HGESTRINGTABLE]\nQ_QUIT=\"Do you really want to quit?\"\nPAUSE=\"PAUSE\"\nYES=\"Yes\"\nNO=\"No\"\n"
        "PERCENT=\"100% %s %d %n\"\n";
    return o;
}

// Loads the registry fonts the dialogs and the pause screen draw with.
inline void LoadDialogFonts() {
    FontRegistry::Instance().LoadFont("Default14", "data\\Font\\default14.fnt");
    FontRegistry::Instance().LoadFont("Default", "data\\Font\\default.fnt");
}

// Writes every answer down as "id:yes" or "id:no".
class AnswerJournal : public ZOLTFramework::CQuestionListener {
public:
    void OnAnswer(const std::string& id, bool yes) override { answers.push_back(id + (yes ? ":yes" : ":no")); }
    void OnQuestion(const std::string& id, const std::string& value) override {
        questions.push_back(id + "=" + value);
    }
    int Count(const std::string& entry) const { return CountOf(answers, entry); }
    std::vector<std::string> answers;
    std::vector<std::string> questions;
};

// A screen that notes its focus changes.
class StubScreen : public ZOLTFramework::CScreenEntity {
public:
    explicit StubScreen(const std::string& screenName) : CScreenEntity(screenName) {}
    void GotFocus() override {
        CScreenEntity::GotFocus();
        ++gained;
    }
    void LostFocus() override {
        CScreenEntity::LostFocus();
        ++lost;
    }
    int gained = 0;
    int lost = 0;
};

// Creates a stub screen, pushes it on the stack and hands it to the manager.
inline StubScreen* PushStub(GuiTestEngine& engine, const std::string& screenName, float layer) {
    StubScreen* screen = new StubScreen(screenName);
    screen->SetLayer(layer);
    engine.Manager().PushScreen(screen);
    engine.Manager().Add(screen);
    return screen;
}

// How many entries the screen stack holds for the entity.
inline int StackCount(GuiTestEngine& engine, const ZOLTFramework::CEntity* entity) {
    int n = 0;
    for (const auto* e : engine.Manager().GetScreenStack()) n += (e == entity);
    return n;
}
