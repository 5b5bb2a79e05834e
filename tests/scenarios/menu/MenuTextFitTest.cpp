// Every caption and text of the menu's screens and dialogs fits its box, in
// both text tables, measured with the game's own fonts (font width x scale):
// button captions inside their button's face and centred on it, window texts
// inside the window's frame, dialog messages inside their text box, the name
// entry's prompt and a long name inside the window, list rows inside the list,
// high-score rows clear of their totals, the credits headings inside the
// scrolling column, the welcome line on the screen and the load screen's
// caption on its progress bar.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/GameApp.h"
#include "engine/StringManager.h"
#include "entities/core/EntityManager.h"
#include "entities/screens/CLoadScreen.h"
#include "entities/screens/Dialog.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CListboxEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeResourceManager.h"
#include "graphics/hgeSprite.h"
#include "platform/FrameDriver.h"
#include "profiles/PlayerManager.h"
#include "screens/CMenuScreen.h"
#include "screens/CPNameScreen.h"
#include "screens/CreditsScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/PlayersScreen.h"
#include "screens/WelcomeText.h"
#include "support/TempDir.h"
#include "support/engine/RecordedQuads.h"
#include "support/runtime/WrappedText.h"
#include "support/TestFiles.h"
#include "support/engine/DrawnText.h"

using ZOLTFramework::CEntity;
using ZOLTFramework::CWindowEntity;
using ZOLTFramework::GameApp;

namespace {

// Room kept free inside a button's face (its rim and bevel) and inside a
// window's frame.
const float kButtonMargin = 8.0f;
const float kFrameMargin = 18.0f;
// Sixteen letters, the most a name may have: a wide one and a Czech one.
const char* const kLongNames[] = {"Bartholomew Kent", "Jaroslav Novotn\xFD"};

struct Box {
    float x1, y1, x2, y2;
    bool Holds(const Box& b) const { return b.x1 >= x1 && b.x2 <= x2 && b.y1 >= y1 && b.y2 <= y2; }
};

std::string Describe(const Box& b) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "(%.0f, %.0f)-(%.0f, %.0f)", b.x1, b.y1, b.x2, b.y2);
    return buf;
}

class MenuTextFit : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<GameApp>();
        ASSERT_TRUE(app->Init());
        FrameDriver::RunFrames(2);
    }

    EntityManager& Manager() { return *app->GetEntityManager(); }

    // Where a window's picture is drawn on the screen, less its frame.
    Box WindowInside(const CWindowEntity* window) {
        const auto drawn = DrawnBy(app->GetHGE(), const_cast<CWindowEntity*>(window));
        if (drawn.empty()) return {0, 0, 800, 600};
        const hgeQuad& q = drawn[0].quad;
        return {q.v[0].x + kFrameMargin, q.v[0].y + kFrameMargin, q.v[2].x - kFrameMargin, q.v[2].y - kFrameMargin};
    }

    // The box a text entity draws into: its line's width about its anchor
    // (by its alignment) and its cell's height about the anchor's middle.
    static Box TextBox(TextEntity* text) {
        const float w = text->GetTextWidth();
        const float x = text->GetAbsoluteX(), y = text->GetAbsoluteY();
        const float h = text->GetFont()->GetHeight();
        const float top = y - text->GetAbsoluteScaleY() * h * 0.5f;
        const float height = h * text->GetAbsoluteScaleY() * text->GetTextScale();
        const int align = text->GetAlignment() & HGETEXT_HORZMASK;
        const float left = align == HGETEXT_LEFT ? x : align == HGETEXT_RIGHT ? x - w : x - w * 0.5f;
        return {left, top, left + w, top + height};
    }

    static const CWindowEntity* WindowOf(const CEntity* e) {
        for (; e; e = e->GetParent())
            if (auto* window = dynamic_cast<const CWindowEntity*>(e)) return window;
        return nullptr;
    }

    // Every shown text entity below the screen: a caption inside its button's
    // face and centred on it, any other text inside its window's frame (or,
    // on a screen without a window, inside the given box).
    void CheckTexts(const CEntity* screen, const Box& noWindow) {
        std::vector<const CEntity*> open = {screen};
        while (!open.empty()) {
            const CEntity* e = open.back();
            open.pop_back();
            for (const CEntity* child : e->GetChildren()) open.push_back(child);
            auto* text = dynamic_cast<TextEntity*>(const_cast<CEntity*>(e));
            if (!text || text->GetTextRef().empty() || text->IsHiddenInChain() || !text->GetFont()) continue;
            const Box drawn = TextBox(text);
            ++measured;
            if (auto* button = dynamic_cast<const ButtonExEntity*>(text->GetParent())) {
                const auto face = DrawnBy(app->GetHGE(), const_cast<ButtonExEntity*>(button));
                ASSERT_EQ(face.size(), 1u) << text->GetTextRef();
                const float bx = button->GetAbsoluteX(), by = button->GetAbsoluteY();
                const float half = (face[0].quad.v[2].x - face[0].quad.v[0].x) * 0.5f - kButtonMargin;
                EXPECT_LE(drawn.x2 - drawn.x1, 2 * half)
                    << "\"" << text->GetTextRef() << "\" is wider than its button in " << table;
                EXPECT_NEAR((drawn.y1 + drawn.y2) * 0.5f, by, 4.0f)
                    << "\"" << text->GetTextRef() << "\" is not centred on its button in " << table;
                EXPECT_NEAR((drawn.x1 + drawn.x2) * 0.5f, bx, 2.0f) << text->GetTextRef();
                continue;
            }
            const CWindowEntity* window = WindowOf(text);
            const Box inside = window ? WindowInside(window) : noWindow;
            EXPECT_TRUE(inside.Holds(drawn)) << "\"" << text->GetTextRef() << "\" " << Describe(drawn)
                                             << " leaves " << Describe(inside) << " in " << table;
        }
    }

    // A dialog's message, wrapped as the dialog draws it, inside its text box,
    // and the text box inside the window.
    void CheckMessage(Dialog* dialog, const std::string& key) {
        hgeFont* font = FontRegistry::GetFont("Default14");
        ASSERT_NE(font, nullptr);
        const std::string message = Text(key);
        ASSERT_FALSE(message.empty()) << key;
        const WrappedText wrapped = WrapAsDrawn(*font, message, dialog->GetTextWidth());
        EXPECT_LE(wrapped.height, dialog->GetTextHeight())
            << key << ": " << wrapped.lines.size() << " lines in " << table;
        EXPECT_LE(wrapped.widest, dialog->GetTextWidth()) << key << " in " << table;
        CWindowEntity* window = dialog->FindChild<CWindowEntity>("Window");
        ASSERT_NE(window, nullptr);
        const float left = window->GetAbsoluteX() - dialog->GetTextOffsetX();
        const float top = window->GetAbsoluteY() - dialog->GetTextOffsetY();
        const Box box{left, top, left + dialog->GetTextWidth(), top + dialog->GetTextHeight()};
        EXPECT_TRUE(WindowInside(window).Holds(box)) << key << " " << Describe(box);
        ++measured;
    }

    std::string Text(const std::string& key) {
        const char* s = app->GetStringManager()->GetString(key);
        return s ? s : "";
    }

    // Lets the screens fade in, measures, then takes them away again.
    void Settle() { FrameDriver::RunFrames(30); }
    void Close(CEntity* screen) {
        screen->Kill();
        Manager().RemoveScreen(screen);
        FrameDriver::RunFrames(2);
    }

    void CheckEveryScreen();

    ScopedEnv headlessEnv{"DROVALIN_HEADLESS", "1"};
    ScopedEnv stepEnv{"DROVALIN_DT", "0.05"};
    TempDir home;
    ScopedEnv dataHome{"XDG_DATA_HOME", home.Path().c_str()};
    std::unique_ptr<GameApp> app;
    std::string table;
    int measured = 0;
};

void MenuTextFit::CheckEveryScreen() {
    const Box screenBox{10, 0, 790, 600};

    // The load screen, loading and then ready (its caption pulses up to scale 1).
    auto* load = Manager().Spawn<ZOLTFramework::CLoadScreen>("LoadScreen");
    const Box bar{80, 550, 720, 590};
    CheckTexts(load, bar);
    FrameDriver::RunFrames(130);
    for (CEntity* child : load->GetChildren())
        if (auto* caption = dynamic_cast<TextEntity*>(child)) caption->SetScale(1.0f / 0.95f);
    CheckTexts(load, bar);
    load->Kill();
    FrameDriver::RunFrames(2);

    // The main menu and its welcome line for the longest names.
    auto* menu = Manager().Spawn<ZOLTFramework::CMenuScreen>("MenuScreen");
    Settle();
    CheckTexts(menu, screenBox);
    hgeFont* welcome = FontRegistry::GetFont("Default1");
    for (const char* name : kLongNames) {
        const float w = welcome->GetLineWidth(WelcomeText::Format(Text("WELCOME"), name).c_str());
        EXPECT_LE(w, 780.0f) << name << " in " << table;
    }

    // The players window with the longest names in its list.
    auto* players = Manager().Spawn<ZOLTFramework::PlayersScreen>("PlayersScreen");
    players->SetLayer(10.0f);
    Settle();
    CheckTexts(players, screenBox);
    auto* list = players->FindChild<ZOLTFramework::CListboxEntity>("PL");
    hgeFont* rowFont = app->GetResourceManager()->GetFont("Main1");
    ASSERT_NE(rowFont, nullptr);
    EXPECT_EQ(DrawnBy(app->GetHGE(), list).back().quad.tex, TextureOf(rowFont)) << "the rows' font";
    for (int i = 0; i < list->GetItemCount(); ++i) {
        const hgeRect& r = list->GetRect();
        EXPECT_LE(rowFont->GetLineWidth(list->GetItem(i)->text.c_str()), r.x2 - r.x1 - 10.0f)
            << list->GetItem(i)->text;
    }
    EXPECT_TRUE(WindowInside(players->FindChild<CWindowEntity>("Window")).Holds(
        {list->GetRect().x1, list->GetRect().y1, list->GetRect().x2, list->GetRect().y2}))
        << "the list leaves the players window";

    // The name entry over it: the prompt and a long name with its caret.
    auto* entry = Manager().Spawn<CPNameScreen>("NP", "data/Screens/DialogYesNo.xml", nullptr);
    entry->SetLayer(15.0f);
    Settle();
    CheckTexts(entry, screenBox);
    {
        hgeFont* font = FontRegistry::GetFont("Default14");
        const Box inside = WindowInside(entry->FindChild<CWindowEntity>("Window"));
        EXPECT_LE(font->GetLineWidth(Text("ENTERNAME").c_str()), inside.x2 - inside.x1) << table;
        for (const char* name : kLongNames)
            EXPECT_LE(font->GetLineWidth((std::string(name) + "|").c_str()), inside.x2 - inside.x1 - 40.0f) << name;
    }
    Close(entry);
    Close(players);

    // Every question the menu's screens and the game ask.
    const char* const questions[][2] = {{"data/Screens/DialogYesNo.xml", "Q_DELETE"},
                                        {"data/Screens/DialogYesNo.xml", "Q_CONTINUE"},
                                        {"data/Screens/DialogYesNo.xml", "Q_QUIT"},
                                        {"data/Screens/DialogYesNo.xml", "Q_ALREADY_PASSED"},
                                        {"data/Screens/DialogMode.xml", "CHOOSE_PLAY_MODE"},
                                        {"data/Screens/DialogOk.xml", "TIME_OUT"}};
    for (const auto& q : questions) {
        auto* dialog = Manager().Spawn<Dialog>(q[1], q[0], nullptr);
        dialog->SetLayer(15.0f);
        dialog->SetText(q[1]);
        Settle();
        CheckTexts(dialog, screenBox);
        CheckMessage(dialog, q[1]);
        Close(dialog);
    }

    // Both options windows, both tabs; the high scores list the long names.
    for (const char* file : {"data/screens/OptionsScreenMain.xml", "data/screens/OptionsScreenInGame.xml"}) {
        auto* options = Manager().Spawn<OptionsScreen>(file, nullptr);
        options->SetLayer(10.0f);
        Settle();
        CheckTexts(options, screenBox);
        options->OnButtonPress("HIGHSCORES");
        FrameDriver::RunFrames(2);
        CheckTexts(options, screenBox);
        // A row's name ends before the total begins.
        std::vector<TextEntity*> row;
        for (CEntity* child : options->FindChild("HighscorePanel")->GetChildren())
            if (auto* t = dynamic_cast<TextEntity*>(child)) row.push_back(t);
        ASSERT_EQ(row.size() % 2, 0u);
        EXPECT_GE(row.size(), 4u) << "the players with scores are listed";
        for (size_t i = 0; i + 1 < row.size(); i += 2)
            EXPECT_LE(TextBox(row[i]).x2 + 10.0f, TextBox(row[i + 1]).x1) << row[i]->GetTextRef();
        Close(options);
    }

    // The credits: the title inside the frame, every heading inside the column.
    auto* credits = Manager().Spawn<CreditsScreen>("Credits", "data/Screens/Credits.xml");
    credits->SetLayer(15.0f);
    Settle();
    CheckTexts(credits, screenBox);
    {
        hgeFont* font = FontRegistry::GetFont("Default");
        const Box inside = WindowInside(credits->FindChild<CWindowEntity>("Window"));
        EXPECT_LE(font->GetLineWidth(Text("CREDITS").c_str()), inside.x2 - inside.x1) << table;
        for (const char* key : {"PRESENT", "PRODUCERS", "CREATIVE_DIRECTOR", "PROJECT_MANAGER", "GAME_DESIGN",
                                "PROGRAMMING", "ARTISTS", "MUSIC_AND_SOUND", "COPYRIGHT"})
            EXPECT_LE(font->GetLineWidth(Text(key).c_str()) * 0.6f, 600.0f) << key << " in " << table;
    }
    Close(credits);
    Close(menu);
}

TEST_F(MenuTextFit, EveryCaptionAndTextFitsItsBoxInBothTextTables) {
    PlayerManager* manager = PlayerManager::Instance();
    for (const char* name : kLongNames) {
        ASSERT_TRUE(manager->AddPlayer(name));
        manager->Players.back()->NodeScores["Harbour"] = 123456;
    }
    manager->SetActivePlayer(kLongNames[0]);

    for (const char* file : {"data\\Text\\Czech.txt", "data\\Text\\English.txt"}) {
        table = file;
        app->GetStringManager()->Load(file);
        ASSERT_EQ(Text("YES").empty(), false) << file;
        CheckEveryScreen();
    }
    EXPECT_GT(measured, 80);
    for (const char* name : kLongNames) manager->RemovePlayer(name);
}

}  // namespace
