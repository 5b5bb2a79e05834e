// Inputs kept for the fuzz targets of the game's own readers, read again by
// the real objects on the headless engine: a scene file with its action table
// played for a while, a comic page held to its end, a medals file through an
// award. Each must run to its end without a fault; the bounds and defaults for
// wild numbers are checked on the inputs written for them.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "FuzzRegressions.h"
#include "GameReaderFixture.h"
#include "entities/core/EntityManager.h"
#include "platform/hge.h"
#include "profiles/PlayerManager.h"
#include "scene/ActionTable.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "screens/ComicScreen.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/MedalList.h"
#include "support/TestFiles.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/scene/LevelStandIn.h"
#include "support/scene/SceneTestEngine.h"

namespace {

SceneObject* Named(PlayField* field, const std::string& name) {
    for (SceneObject* object : field->GetSceneObjects())
        if (object->GetName() == name) return object;
    return nullptr;
}

TEST_F(GameReaderRegressionTest, ScenesWithTheirActionTablesLoadPlayAndClose) {
    const std::vector<std::string> paths = Regressions("fuzz_scene_file");
    ASSERT_FALSE(paths.empty());
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        const std::string input = ReadWholeFile(path);
        const size_t split = input.find(kSplit);
        engine.Dir().Write("scene.xml", input.substr(0, split));
        engine.Dir().Write("Actions.xml", split == std::string::npos ? "" : input.substr(split + std::string(kSplit).size()));
        ActionTable table;
        table.Load(engine.Dir() / "Actions.xml");

        auto* level = new LevelStandIn(engine.Dir() / "scene.xml");  // opens itself
        std::weak_ptr<void> alive = level->GetLifeToken();
        engine.Run(1.0f);
        ASSERT_FALSE(alive.expired());
        std::vector<std::pair<float, float>> places;
        for (const SceneObject* object : level->Field()->GetSceneObjects())
            places.push_back({object->GetX() / PlayField::kScreenToScene + 180.0f,
                              object->GetY() / PlayField::kScreenToScene});
        for (const auto& place : places) engine.Click(place.first, place.second);
        engine.Run(1.0f);
        CloseAll();
    }
}

TEST_F(GameReaderRegressionTest, NumbersThatAreNotFiniteReadAsTheirDefaults) {
    auto* level = new LevelStandIn(RegressionFolder("fuzz_scene_file") + "nonfinite_numbers.xml");
    PlayField* field = level->Field();
    // nan and inf positions stand at 0, a depth out of the float range at 1;
    // a large finite number is kept.
    const SceneObject* a = Named(field, "a");
    const SceneObject* b = Named(field, "b");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->GetX(), 0.0f);
    EXPECT_EQ(a->GetY(), 0.0f);
    EXPECT_EQ(a->GetDepth(), 1.0f);
    EXPECT_EQ(b->GetX(), 3e38f);
    EXPECT_EQ(b->GetDepth(), 1.0f);
    // Two delays of each unit, x, y, z of "a", z of "b", two tool scales.
    EXPECT_EQ(log.Count("which is not a finite number"), 10);
    engine.Run(1.0f);
    CloseAll();
}

TEST_F(GameReaderRegressionTest, ComicPagesRunToTheirEndWithTheButtonHeld) {
    const std::vector<std::string> paths = Regressions("fuzz_comic_page");
    ASSERT_FALSE(paths.empty());
    Active().Medals = {1, 2, 3};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        auto* page = new ComicScreen(path);  // opens itself
        page->SetOpacity(1.0f);
        page->SetLayer(15.0f);
        engine.Step();  // the page stands: the press is one made on it
        engine.KeyDown(HGEK_LBUTTON);
        EXPECT_TRUE(RunUntilGone(page->GetLifeToken(), 700.0f));
        engine.KeyUp(HGEK_LBUTTON);
        CloseAll();
    }
    // 1402 steps are cut at the limit, with one row.
    EXPECT_EQ(log.Count("the steps are more than 1000; the rest is left out"), 1);
}

TEST_F(GameReaderRegressionTest, MedalsFilesGoThroughAnAward) {
    const std::vector<std::string> paths = Regressions("fuzz_medals");
    ASSERT_FALSE(paths.empty());
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        int award = 2;
        for (const MedalInfo& medal : MedalList::Load(path, "Test"))
            if (medal.id != 0) award = int(medal.id);
        Active().Medals = {1};
        const uint32_t scores[LevelCompleteScreen::kScoreCount] = {1234, 300, 5000, 410, 6534, 20000};
        auto* screen = new LevelCompleteScreen("", scores, LevelCompleteScreen::kScreenFile, path);
        screen->SetLayer(15.0f);
        screen->SetMedalToAdd(award);
        std::weak_ptr<void> alive = screen->GetLifeToken();
        engine.Step(2);
        screen->OnButtonPress("Exit");
        engine.Run(4.5f);
        engine.Press(HGEK_SPACE);
        EXPECT_TRUE(alive.expired());
        EXPECT_TRUE(Active().Medals.count(uint32_t(award)));
        CloseAll();
    }
}

}  // namespace
