// A mini-game whose file is missing or is not XML, or a puzzle whose piece
// scene is missing, empty, names only pictures that are not declared or (the
// rack) only decor, asked for by a level: no game screen opens (nothing could be played, so nothing may count as won),
// the level logs an Error row and hears "MiniGameSolveLater", and the task
// that waited stays open, marked for later.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "GameReaderFixture.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "screens/LevelScreen.h"
#include "support/scene/ScenePlayHelpers.h"

namespace {

class ResultLevel : public LevelScreen {
public:
    using LevelScreen::LevelScreen;
    void OnQuestion(const std::string& name, const std::string& value) override {
        if (name.rfind("MiniGame", 0) == 0 && name != "MiniGame") events.push_back(name + "=" + value);
        if (name == "Win") events.push_back(name);
        LevelScreen::OnQuestion(name, value);
    }
    std::vector<std::string> events;
};

}  // namespace

TEST_F(GameReaderRegressionTest, AMiniGameFileThatCannotBeReadIsPutOff) {
    const char* source = std::getenv("DROVALIN_SOURCE_DIR");
    std::ifstream in(std::string(source ? source : "..") + "/tests/fixtures/scenes/ToolMiniGame.xml");
    std::stringstream fixture;
    fixture << in.rdbuf();
    const std::string asked = "data/MiniGames/5.2.xml";
    // A puzzle whose own file reads but whose piece scene is missing or holds
    // no piece has nothing to play either.
    engine.Dir().Write("no_pieces.xml", "<scene res_group=\"56\"><unit><id>1</id><sprite>watch</sprite></unit></scene>");
    const std::string object = "<object><id>1</id><name>a</name><x>100</x><y>100</y><z>1</z></object>";
    engine.Dir().Write("undeclared.xml", "<scene res_group=\"56\"><unit><id>1</id><sprite>no_such_picture</sprite></unit>"
                                         "<unit><id>2</id><animation>no_such_film</animation></unit>" +
                                             object + "<object><id>2</id><name>b</name></object></scene>");
    engine.Dir().Write("decor.xml", "<scene res_group=\"56\"><unit><id>1</id><sprite>Cleaner2_2</sprite></unit>"
                                    "<unit><id>2</id><sprite>slut_hook2_2</sprite></unit>" +
                                        object + "<object><id>2</id><name>b</name></object></scene>");
    const std::string rack = "IsRotatable=\"0\" MinDistToTargetToDock=\"40\" MinDAngleToDock=\"0\" RectX1=\"0\" RectY1=\"0\"";
    const struct {
        std::string name;
        std::string bytes;  // empty: no file
    } kFiles[] = {{"5.2.xml", ""},
                  {"15.2.xml", "\x89PNG\r\n\x1a\n<MiniGame"},
                  {"1.1.xml", "<MiniGame Scene=\"" + (engine.Dir() / "missing.xml") + "\" RectX2=\"800\" RectY2=\"600\"/>"},
                  {"4.1.xml", "<MiniGame Scene=\"" + (engine.Dir() / "no_pieces.xml") + "\" RectX2=\"800\" RectY2=\"600\"/>"},
                  {"3.1.xml", "<MiniGame Scene=\"" + (engine.Dir() / "undeclared.xml") + "\" " + rack + "/>"},
                  {"2.2.xml", "<MiniGame Scene=\"" + (engine.Dir() / "decor.xml") + "\" " + rack + "/>"}};
    for (const auto& bad : kFiles) {
        SCOPED_TRACE(bad.name);
        if (!bad.bytes.empty()) engine.Dir().Write(bad.name, bad.bytes);
        const std::string game = engine.Dir() / bad.name;
        std::string scene = fixture.str();
        for (size_t at = scene.find(asked); at != std::string::npos; at = scene.find(asked, at))
            scene.replace(at, asked.size(), game);
        engine.Dir().Write("scene.xml", scene);
        Active().Time = 1000.0f;

        auto* level = engine.Manager().OpenScreen<ResultLevel>(engine.Dir() / "scene.xml", LevelScreen::kReturnScreen);
        level->SetLayer(2.0f);
        PlayField* field = level->FindChild<PlayField>("PlayField");
        ASSERT_NE(field, nullptr);
        for (int i = 0; i < 100 && !(level->IsPanelIn() && field->IsFullyShown()); ++i) engine.Step();
        const int errors = log.CountRows("Error", "");
        ASSERT_TRUE(TakeToolIntoHand(field, "fixture_key"));
        ASSERT_TRUE(ClickSceneObject(field, "fixture_lock"));
        engine.Run(3.0f);

        EXPECT_EQ(level->events, std::vector<std::string>{"MiniGameSolveLater=" + game}) << "one result, no win";
        EXPECT_EQ(log.CountRows("Error", "Mini-game " + game + " is not opened"), 1);
        EXPECT_EQ(log.CountRows("Error", "Level: the mini-game " + game + " could not be opened"), 1);
        EXPECT_EQ(log.CountRows("Error", ""), errors + 2);
        EXPECT_EQ(level->RunningMiniGame(), nullptr);
        EXPECT_EQ(engine.Manager().GetTopScreen(), static_cast<ZOLTFramework::CEntity*>(level));
        EXPECT_FALSE(field->IsPaused());
        ASSERT_EQ(SolveLaterObjects(field).size(), 1u);
        EXPECT_EQ(SolveLaterObjects(field)[0]->GetName(), "fixture_lock");
        CloseAll();
    }
}
