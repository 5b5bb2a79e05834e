// Every text of the level screen, of the mini-game screens and of the score
// window fits its place, in both text tables, with the game's own fonts
// (headless game): each story scene opened on the real level screen, the panel
// slid in; each mini-game of the story opened on its own screen; the score
// window counted up to large scores. Every shown text lies on the screen,
// the panel's texts (time, clues left, clue rows, button captions) inside the
// panel, a button's caption inside its button, and no two texts on one row run
// into each other.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "StoryScenes.h"
#include "app/GameApp.h"
#include "entities/screens/Dialog.h"
#include "entities/screens/OKScreen.h"
#include "entities/widgets/ButtonExEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "engine/StringManager.h"
#include "entities/core/EntityManager.h"
#include "entities/widgets/TextEntity.h"
#include "entities/widgets/CButtonEntity.h"
#include "graphics/FontRegistry.h"
#include "graphics/hgeFont.h"
#include "graphics/hgeSprite.h"
#include "minigames/MiniGameScreen.h"
#include "minigames/OpenMiniGame.h"
#include "platform/FrameDriver.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "screens/GlobalMapScreen.h"
#include "screens/IntroScreen.h"
#include "screens/LevelNode.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/LevelScreen.h"
#include "support/TempDir.h"
#include "support/runtime/WrappedText.h"

using ZOLTFramework::CEntity;
using ZOLTFramework::GameApp;
using ZOLTFramework::GlobalMapScreen;
using ZOLTFramework::LevelNode;

namespace {

const float kPanelWidth = 180.0f;

// Where a text is drawn along its line: its width about its anchor (by its
// alignment), at the anchor's height.
struct Line {
    float x1, x2, y;
    // On one row (anchors less than a line apart) and overlapping along it.
    bool Meets(const Line& b) const { return std::fabs(y - b.y) < 10.0f && x1 < b.x2 - 1 && b.x1 < x2 - 1; }
};

std::ostream& operator<<(std::ostream& os, const Line& b) {
    return os << "(" << b.x1 << " to " << b.x2 << " at " << b.y << ")";
}

// A text in a box is drawn across the box, which starts at its anchor.
Line LineOf(TextEntity* text) {
    const float w = text->GetTextWidth();
    const float x = text->GetAbsoluteX();
    const int align = text->GetAlignment() & HGETEXT_HORZMASK;
    const bool boxed = text->GetBoxWidth() != -1.0f && text->GetBoxHeight() != -1.0f;
    const float left = boxed || align == HGETEXT_LEFT ? x : align == HGETEXT_RIGHT ? x - w : x - w * 0.5f;
    return {left, left + w, text->GetAbsoluteY()};
}

// The line's cell: its width and the font's height about its middle.
struct Cell {
    float x1, y1, x2, y2;
    bool Meets(const Cell& b) const { return x1 < b.x2 && b.x1 < x2 && y1 < b.y2 && b.y1 < y2; }
    bool OnScreen() const { return x1 >= 0 && x2 <= 800 && y1 >= 0 && y2 <= 600; }
};

std::ostream& operator<<(std::ostream& os, const Cell& c) {
    return os << "(" << c.x1 << ", " << c.y1 << ")-(" << c.x2 << ", " << c.y2 << ")";
}

Cell CellOf(TextEntity* text) {
    const Line line = LineOf(text);
    const float half = text->GetFont()->GetHeight() * text->GetAbsoluteScaleY() * text->GetTextScale() * 0.5f;
    return {line.x1, line.y - half, line.x2, line.y + half};
}

// Where a place's picture lies on the screen.
Cell VignetteOf(const LevelNode* node) {
    const hgeSprite* picture = node->GetSprite();
    const float left = node->GetAbsoluteX() - picture->GetHotSpotX();
    const float top = node->GetAbsoluteY() - picture->GetHotSpotY();
    return {left, top, left + picture->GetWidth(), top + picture->GetHeight()};
}

class StoryTextFit : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<GameApp>();
        ASSERT_TRUE(app->Init());
        FrameDriver::RunFrames(2);
        PlayerManager* players = PlayerManager::Instance();
        ASSERT_TRUE(players->AddPlayer("Bartholomew Kent"));
        players->SetActivePlayer("Bartholomew Kent");
    }
    void TearDown() override {
        PlayerManager::Instance()->RemovePlayer("Bartholomew Kent");
        app.reset();
    }

    // The shown texts below an entity, with where they are drawn.
    static void Collect(const CEntity* e, std::vector<std::pair<TextEntity*, Line>>& out) {
        for (const CEntity* child : e->GetChildren()) Collect(child, out);
        auto* text = dynamic_cast<TextEntity*>(const_cast<CEntity*>(e));
        if (text && !text->GetTextRef().empty() && !text->IsHiddenInChain() && text->GetFont())
            out.emplace_back(text, LineOf(text));
    }
    static std::vector<std::pair<TextEntity*, Line>> TextsOf(const CEntity* screen) {
        std::vector<std::pair<TextEntity*, Line>> texts;
        Collect(screen, texts);
        return texts;
    }

    // Takes a screen away again.
    void Close(CEntity* screen) {
        screen->Kill();
        app->GetEntityManager()->RemoveScreen(screen);
        FrameDriver::RunFrames(3);
    }

    // Every text on the screen, a button's caption inside its button, and no
    // two on one row running into each other; how many were measured.
    static int CheckTexts(const std::vector<std::pair<TextEntity*, Line>>& texts) {
        for (size_t i = 0; i < texts.size(); ++i) {
            const auto& [text, line] = texts[i];
            const std::string what = "\"" + text->GetTextRef() + "\"";
            EXPECT_TRUE(line.x1 >= 0 && line.x2 <= 800 && line.y >= 0 && line.y <= 600) << what << " " << line;
            if (auto* button = dynamic_cast<const ZOLTFramework::CButtonEntity*>(text->GetParent())) {
                const hgeRect& r = button->GetRect();
                EXPECT_GE(line.x1, r.x1) << what << " is wider than its button " << line;
                EXPECT_LE(line.x2, r.x2) << what << " is wider than its button " << line;
            }
            for (size_t j = i + 1; j < texts.size(); ++j)
                EXPECT_FALSE(line.Meets(texts[j].second))
                    << what << " " << line << " runs into \"" << texts[j].first->GetTextRef() << "\" " << texts[j].second;
        }
        return int(texts.size());
    }

    ScopedEnv headlessEnv{"DROVALIN_HEADLESS", "1"};
    ScopedEnv stepEnv{"DROVALIN_DT", "0.05"};
    TempDir home;
    ScopedEnv dataHome{"XDG_DATA_HOME", home.Path().c_str()};
    std::unique_ptr<GameApp> app;
};

TEST_F(StoryTextFit, EveryPanelTextFitsThePanelInBothTables) {
    int measured = 0;
    for (const char* table : {"data\\Text\\Czech.txt", "data\\Text\\English.txt"}) {
        app->GetStringManager()->Load(table);
        for (const std::string& scene : contenttest::StoryScenes()) {
            SCOPED_TRACE(scene + " in " + table);
            EntityManager& manager = *app->GetEntityManager();
            auto* level = manager.OpenScreen<LevelScreen>(scene, LevelScreen::kReturnScreen);
            level->Open();
            // Whatever opens over the level at its start (a comic, a tutorial,
            // the opening mini-game) is put away.
            for (int i = 0; i < 400 && !level->IsPanelIn(); ++i) {
                FrameDriver::RunFrames(1);
                CEntity* top = manager.GetTopScreen();
                if (i % 20 == 19 && top && top != level) {
                    top->Kill();
                    manager.RemoveScreen(top);
                }
            }
            ASSERT_TRUE(level->IsPanelIn());
            const std::vector<std::pair<TextEntity*, Line>> texts = TextsOf(level);
            EXPECT_GE(texts.size(), 6u) << "time, clues left, clue rows and captions";
            measured += CheckTexts(texts);
            for (const auto& [text, line] : texts)
                if (text->GetAbsoluteX() < kPanelWidth) {
                    EXPECT_GE(line.x1, 2.0f) << "\"" << text->GetTextRef() << "\" leaves the panel " << line;
                    EXPECT_LE(line.x2, kPanelWidth - 2.0f) << "\"" << text->GetTextRef() << "\" leaves the panel " << line;
                }
            Close(level);
        }
    }
    EXPECT_GT(measured, 60);
}

// Answers nobody: the mini-games are only looked at.
struct Silent : ZOLTFramework::CQuestionListener {};

TEST_F(StoryTextFit, EveryMiniGameTextFitsItsScreenInBothTables) {
    int measured = 0;
    Silent silent;
    for (const char* table : {"data\\Text\\Czech.txt", "data\\Text\\English.txt"}) {
        app->GetStringManager()->Load(table);
        for (const char* game : {"data/MiniGames/1.1.xml", "data/MiniGames/15.2.xml", "data/MiniGames/2.2.xml",
                                 "data/MiniGames/5.2.xml", "data/MiniGames/4.1.xml", "data/MiniGames/6.2.xml"}) {
            SCOPED_TRACE(std::string(game) + " in " + table);
            MiniGameScreen* screen = OpenMiniGame(game, &silent);
            ASSERT_NE(screen, nullptr);
            FrameDriver::RunFrames(30);
            const std::vector<std::pair<TextEntity*, Line>> texts = TextsOf(screen);
            EXPECT_GE(texts.size(), 2u) << "the button captions";
            measured += CheckTexts(texts);
            Close(screen);
        }
    }
    EXPECT_GT(measured, 20);
}

TEST_F(StoryTextFit, EveryScoreRowFitsTheScoreWindowInBothTables) {
    const uint32_t scores[6] = {48000, 12500, 15000, 9000, 75500, 1234567};
    for (const char* table : {"data\\Text\\Czech.txt", "data\\Text\\English.txt"}) {
        SCOPED_TRACE(table);
        app->GetStringManager()->Load(table);
        auto* window = app->GetEntityManager()->OpenScreen<LevelCompleteScreen>("", scores);
        FrameDriver::RunFrames(120);  // every row shown and counted up
        const std::vector<std::pair<TextEntity*, Line>> texts = TextsOf(window);
        EXPECT_GE(texts.size(), 12u) << "six captions and six scores";
        CheckTexts(texts);
        Close(window);
    }
}

// The intro and the map: the crawl's lines inside its box and the box on the
// screen, "Skip" on its button, the overview's prompt on the screen at the
// height of its pulse, the tutorial's and the map's questions inside their
// text boxes above the buttons, every place's caption under its picture and
// clear of the other places, and whenever the view rests on a place (after a
// pan, or as the map opens on it) its caption and that of the place before it
// whole on the screen.
TEST_F(StoryTextFit, EveryMapAndIntroTextFitsInBothTables) {
    EntityManager& manager = *app->GetEntityManager();
    Player* player = PlayerManager::Instance()->GetActivePlayer();
    ASSERT_NE(player, nullptr);
    int measured = 0;
    for (const char* table : {"data\\Text\\Czech.txt", "data\\Text\\English.txt"}) {
        SCOPED_TRACE(table);
        app->GetStringManager()->Load(table);

        auto* intro = manager.OpenScreen<ZOLTFramework::IntroScreen>();
        FrameDriver::RunFrames(10);
        const std::vector<std::pair<TextEntity*, Line>> texts = TextsOf(intro);
        EXPECT_EQ(texts.size(), 2u) << "the crawl and the skip button's caption";
        measured += CheckTexts(texts);
        TextEntity* crawl = intro->GetCaption();
        const WrappedText story = WrapAsDrawn(*crawl->GetFont(), crawl->GetTextRef(), crawl->GetBoxWidth());
        EXPECT_GE(story.lines.size(), 3u);
        EXPECT_LE(story.widest, crawl->GetBoxWidth());
        EXPECT_LE(story.height, crawl->GetBoxHeight()) << story.lines.size() << " lines";
        Close(intro);

        player->NodeScores = {{GlobalMapScreen::kStartNode, 0}};
        player->GameInProgress = false;
        auto* overview = manager.OpenScreen<GlobalMapScreen>(GlobalMapScreen::kMapFile);
        overview->StartAnimation();
        FrameDriver::RunFrames(14);  // slid up
        TextEntity* prompt = overview->GetPrompt();
        ASSERT_NE(prompt, nullptr);
        prompt->SetScale(1.3f);  // the height of its pulse
        EXPECT_TRUE(CellOf(prompt).OnScreen()) << CellOf(prompt);
        ++measured;
        Close(overview);

        const char* const questions[][2] = {{GlobalMapScreen::kTutorialFile, "TUTORIAL_GLOBALMAP"},
                                            {GlobalMapScreen::kYesNoFile, "Q_ALREADY_PASSED"},
                                            {GlobalMapScreen::kYesNoFile, "Q_QUIT"}};
        for (const auto& q : questions) {
            SCOPED_TRACE(q[1]);
            Dialog* dialog = std::string(q[0]) == GlobalMapScreen::kTutorialFile
                                 ? manager.OpenScreen<OKScreen>(q[1], q[0], nullptr)
                                 : manager.OpenScreen<Dialog>(q[1], q[0], nullptr);
            dialog->SetText(q[1]);
            FrameDriver::RunFrames(10);
            measured += CheckTexts(TextsOf(dialog));
            const char* message = app->GetStringManager()->GetString(q[1]);
            ASSERT_NE(message, nullptr);
            const WrappedText wrapped =
                WrapAsDrawn(*FontRegistry::GetFont("Default14"), message, dialog->GetTextWidth());
            EXPECT_LE(wrapped.widest, dialog->GetTextWidth());
            EXPECT_LE(wrapped.height, dialog->GetTextHeight()) << wrapped.lines.size() << " lines";
            auto* window = dialog->FindChild<ZOLTFramework::CWindowEntity>("Window");
            ASSERT_NE(window, nullptr);
            const float boxBottom = window->GetAbsoluteY() - dialog->GetTextOffsetY() + dialog->GetTextHeight();
            for (CEntity* child : window->GetChildren()) {
                auto* button = dynamic_cast<ButtonExEntity*>(child);
                if (!button) continue;
                EXPECT_LE(boxBottom, button->GetRect().y1) << "the text box reaches the button " << button->GetName();
            }
            Close(dialog);
        }

        player->NodeScores.clear();
        for (const char* node : {"NodeBrannoksHouse", "NodeTownHall", "NodeHarbour", "NodeWarehouse"})
            player->NodeScores[node] = 9000;
        player->GameInProgress = true;
        auto* map = manager.OpenScreen<GlobalMapScreen>(GlobalMapScreen::kMapFile);
        FrameDriver::RunFrames(2);
        const std::vector<LevelNode*>& nodes = map->GetNodes();
        ASSERT_EQ(nodes.size(), 4u);
        for (size_t i = 0; i < nodes.size(); ++i) {
            const Cell caption = CellOf(nodes[i]->GetCaption());
            const Cell picture = VignetteOf(nodes[i]);
            const std::string what = nodes[i]->GetNodeName() + " \"" + nodes[i]->GetCaption()->GetTextRef() + "\" ";
            EXPECT_GE((caption.y1 + caption.y2) * 0.5f, picture.y2) << what << "is not under its picture";
            EXPECT_NEAR((caption.x1 + caption.x2) * 0.5f, (picture.x1 + picture.x2) * 0.5f, 1.0f) << what;
            for (size_t j = 0; j < nodes.size(); ++j) {
                if (j == i) continue;
                EXPECT_FALSE(caption.Meets(VignetteOf(nodes[j]))) << what << "covers " << nodes[j]->GetNodeName();
                EXPECT_FALSE(caption.Meets(CellOf(nodes[j]->GetCaption()))) << what << "runs into " << nodes[j]->GetNodeName();
            }
            map->CentreOnNode(nodes[i]->GetNodeName());
            for (size_t j = i ? i - 1 : 0; j <= i; ++j) {
                const Cell shown = CellOf(nodes[j]->GetCaption());
                EXPECT_TRUE(shown.OnScreen()) << nodes[j]->GetNodeName() << " " << shown << " is cut when the view rests on "
                                              << nodes[i]->GetNodeName();
            }
            ++measured;
        }
        Close(map);
    }
    EXPECT_GT(measured, 20);
}

}  // namespace
