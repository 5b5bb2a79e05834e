// What may go from under a live level without ending it: found objects whose
// flight never arrives (killed while they pulse or on their way) still count,
// so the level is won and shows its score window, and a tool still lands in
// the bag; a comic page on the level's
// own resource group leaves the level's pictures alone when it closes.
#include <gtest/gtest.h>

#include "GameReaderFixture.h"
#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/LiveGroups.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "screens/ComicScreen.h"
#include "screens/LevelCompleteScreen.h"
#include "screens/LevelScreen.h"
#include "support/scene/ScenePlayHelpers.h"

namespace {

class RecordingLevel : public LevelScreen {
public:
    using LevelScreen::LevelScreen;
    void OnQuestion(const std::string& name, const std::string& value) override {
        if (name == "Win" || name == "AddCigars" || name == "TaskChanged") events.push_back(name + "=" + value);
        LevelScreen::OnQuestion(name, value);
    }
    std::vector<std::string> events;
};

std::string SourcePath(const std::string& relative) {
    const char* source = std::getenv("DROVALIN_SOURCE_DIR");
    return std::string(source ? source : "..") + "/" + relative;
}

}  // namespace

TEST_F(GameReaderRegressionTest, FlightsThatNeverArriveStillWinTheLevel) {
    Active().Time = 1000.0f;
    auto* level = engine.Manager().OpenScreen<RecordingLevel>(SourcePath("tests/fixtures/scenes/LockingTask.xml"),
                                                              LevelScreen::kReturnScreen);
    level->SetLayer(2.0f);
    PlayField* field = level->FindChild<PlayField>("PlayField");
    ASSERT_NE(field, nullptr);
    for (int i = 0; i < 100 && !(level->IsPanelIn() && field->IsFullyShown()); ++i) engine.Step();
    // The cigar dies while it pulses, the last find on its way to the panel.
    for (const auto& find : {std::make_pair("Cigar_1", 0.3f), std::make_pair("fixture_boat", 1.5f)}) {
        SCOPED_TRACE(find.first);
        for (int i = 0; i < 50 && engine.Top() != level; ++i) engine.Press(HGEK_ENTER);  // tutorials
        ASSERT_TRUE(ClickSceneObject(field, find.first));
        engine.Run(find.second);
        auto* flying = field->FindChild<SceneObject>(find.first);
        ASSERT_NE(flying, nullptr);
        flying->Kill();
        engine.Run(0.5f);
    }
    for (int i = 0; i < 100 && !dynamic_cast<LevelCompleteScreen*>(engine.Top()); ++i) engine.Step();
    EXPECT_EQ(level->events, (std::vector<std::string>{"AddCigars=1", "TaskChanged=Boat", "Win="}));
    EXPECT_NE(dynamic_cast<LevelCompleteScreen*>(engine.Top()), nullptr) << "the score window";
    EXPECT_EQ(log.Count("ended on the way; its item counts as arrived"), 2);
    CloseAll();

    // A tool killed on its way into the bag lands there all the same.
    level = engine.Manager().OpenScreen<RecordingLevel>(SourcePath("tests/fixtures/scenes/ToolMiniGame.xml"),
                                                        LevelScreen::kReturnScreen);
    level->SetLayer(2.0f);
    field = level->FindChild<PlayField>("PlayField");
    for (int i = 0; i < 100 && !(level->IsPanelIn() && field->IsFullyShown()); ++i) engine.Step();
    ASSERT_TRUE(ClickSceneObject(field, "fixture_key"));
    engine.Run(0.3f);
    field->FindChild<SceneObject>("fixture_key")->Kill();
    engine.Run(0.5f);
    ASSERT_EQ(field->GetInventory()->GetObjects().size(), 1u);
    EXPECT_EQ(field->GetInventory()->GetObjects()[0]->GetObjectName(), "fixture_key");
    EXPECT_EQ(field->GetInventory()->GetObjects()[0]->GetToolName(), "fixture_key");
    EXPECT_TRUE(field->Rules().ToolRecords().empty());
    EXPECT_EQ(level->events, std::vector<std::string>{"TaskChanged=Key"});
    // Taken into the hand and put down again, it flies back; killed on its
    // way, it is back in the bag as it left, and nothing is left on its way.
    const std::string picture = field->GetInventory()->GetObjects()[0]->GetResourceName();
    field->GetInventory()->PickUp(field->GetInventory()->GetObjects()[0]);
    ASSERT_TRUE(field->GetInventory()->GetObjects().empty());
    field->OnRightButton(true);
    EXPECT_EQ(field->Rules().ItemsOnTheirWay(), 1);
    engine.Run(0.3f);
    field->FindChild<SceneObject>("fixture_key")->Kill();
    engine.Run(0.5f);
    ASSERT_EQ(field->GetInventory()->GetObjects().size(), 1u);
    EXPECT_EQ(field->GetInventory()->GetObjects()[0]->GetObjectName(), "fixture_key");
    EXPECT_EQ(field->GetInventory()->GetObjects()[0]->GetResourceName(), picture);
    EXPECT_EQ(field->Rules().ItemsOnTheirWay(), 0);
    EXPECT_EQ(log.Count("ended on the way; its item counts as arrived"), 4) << "the tool's and the put-back's too";
    CloseAll();
}

TEST_F(GameReaderRegressionTest, AComicPageOnTheLevelsGroupLeavesItsPictures) {
    Active().Time = 1000.0f;
    auto* level = engine.Manager().OpenScreen<LevelScreen>("data/Scenes/Study.xml", LevelScreen::kReturnScreen);
    level->SetLayer(2.0f);
    engine.Run(1.0f);
    const int group = 10;  // the study's
    ASSERT_TRUE(LiveGroups::IsHeld(group)) << "the live field holds its group";
    engine.Dir().Write("page.xml", "<comic res_group=\"" + std::to_string(group) + "\"/>");
    auto* page = new ComicScreen(engine.Dir() / "page.xml");  // opens itself, closes at its end
    page->SetLayer(15.0f);
    ASSERT_TRUE(RunUntilGone(page->GetLifeToken(), 5.0f));
    engine.Run(2.0f);  // the level draws on
    EXPECT_EQ(log.CountRows("Warning", "Comic page " + engine.Dir() / "page.xml" + ": resource group " +
                                           std::to_string(group) + " is still used by a live scene"),
              1);
    CloseAll();
}
