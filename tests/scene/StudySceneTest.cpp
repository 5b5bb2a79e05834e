// The study, the game's first scene, loads headless into a level: its records
// are those of the file, its objects fade in, the title runs before the panel,
// and under the lens every object enrols.
#include <gtest/gtest.h>

#include "engine/XMLDocument.h"
#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/LiveGroups.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "scene/SceneObjectsLayer.h"
#include "support/engine/HtmlLogCapture.h"
#include "support/scene/LevelStandIn.h"
#include "support/scene/SceneTestEngine.h"
#include "ScenePlaySupport.h"

namespace {

const char* const kStudy = "data/Scenes/Study.xml";

std::vector<RefPtr<XMLDocument::XMLElement>> Children(const XMLDocument& doc, const std::string& name) {
    std::vector<RefPtr<XMLDocument::XMLElement>> found;
    for (const auto& child : doc.GetRoot()->GetChildren())
        if (child && child->GetName() == name) found.push_back(child);
    return found;
}

}  // namespace

TEST(StudyScene, LoadsHeadlessWithTheRecordsOfItsFileAndOpensThePanelAfterItsTitle) {
    HtmlLogCapture log;
    SceneTestEngine engine(GameSceneOptions("data\\Text\\English.txt"));
    XMLDocument file("scene");
    ASSERT_TRUE(file.Load(kStudy));

    auto* level = new LevelStandIn(kStudy);
    PlayField* field = level->Field();
    EXPECT_EQ(log.CountRows("Info", std::string("Play field loading - ") + kStudy), 1);
    EXPECT_EQ(log.CountRows("Info", std::string("Play field loaded - ") + kStudy), 1);
    EXPECT_EQ(log.Count("Error:"), 0) << "the study and the field's art are complete";

    // Records match the file.
    const auto objects = Children(file, "object");
    ASSERT_EQ(field->GetSceneObjects().size(), objects.size());
    for (size_t i = 0; i < objects.size(); ++i) {
        const SceneObject* object = field->GetSceneObjects()[i];
        EXPECT_EQ(object->GetName(), objects[i]->FindChild("name")->GetValue());
        EXPECT_FLOAT_EQ(object->GetDepth(), std::stof(objects[i]->FindChild("z")->GetValue()));
        EXPECT_NE(object->GetDisplaySprite(), nullptr) << object->GetName();
    }
    const auto tasks = Children(file, "task");
    ASSERT_EQ(field->Rules().Tasks().size(), tasks.size());
    size_t andTasks = 0;
    for (size_t i = 0; i < tasks.size(); ++i) {
        const TaskRecord& task = field->Rules().Tasks()[i];
        EXPECT_EQ(task.name, tasks[i]->GetStringAttribute("name"));
        EXPECT_EQ(task.objectNames.size(), tasks[i]->GetChildren().size());
        EXPECT_EQ(task.toolToFind, tasks[i]->GetStringAttribute("tool_to_find"));
        andTasks += task.type == "And" && task.toolToFind.empty() ? 1 : 0;
    }
    EXPECT_EQ(field->Rules().Counters().size(), andTasks);
    // A condition that only names tasks to leave off the list or the hints
    // is gone once read.
    size_t conditions = 0;
    for (const auto& condition : Children(file, "task_condition")) {
        bool rule = false;
        for (const auto& action : condition->GetChildren())
            if (action->GetName() == "action") {
                const std::string type = action->GetStringAttribute("type");
                rule = type == "IgnoreAdding" || type == "IgnoreHinting";
                if (!rule) break;
            }
        conditions += rule ? 0 : 1;
    }
    EXPECT_EQ(field->Rules().Conditions().size(), conditions);
    EXPECT_EQ(field->GetInventory()->GetObjects().size(), Children(file, "tool").size());
    EXPECT_TRUE(LiveGroups::IsHeld(10)) << "the field holds its resource group";
    EXPECT_EQ(field->GetRect().x1, 180.0f) << "right of the panel";

    // Fades, title, panel.
    const auto hide = level->EventsNamed("HidePanel");
    ASSERT_EQ(hide.size(), 1u);
    const float title = std::stof(hide[0].substr(10));
    engine.Step();
    engine.Run(0.5f);
    for (SceneObject* object : field->GetSceneObjects())
        EXPECT_EQ(object->GetAbsoluteOpacity(), 1.0f) << object->GetName();
    EXPECT_TRUE(field->IsFullyShown());
    EXPECT_TRUE(level->EventsNamed("ShowPanel").empty());
    engine.Run(title + 0.1f - 0.5f + engine.Dt());
    ASSERT_EQ(level->EventsNamed("ShowPanel").size(), 1u);
    EXPECT_NEAR(level->TimeOf("ShowPanel"), title + 0.1f, engine.Dt() + 1e-3f);

    // The lens takes in every object.
    field->OnRightButton(true);  // the glass, kept as the cursor of the field
    engine.MoveMouse(520.0f, 300.0f);
    engine.Step(2);
    EXPECT_EQ(field->FindChild<SceneObjectsLayer>("ObjectsLayer")->GetEnrolled().size(), field->GetSceneObjects().size());
    // The win check waits for the tasks.
    level->events.clear();
    field->CheckWin();
    EXPECT_TRUE(level->events.empty());
}
