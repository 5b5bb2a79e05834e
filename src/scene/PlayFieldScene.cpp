// Loading a scene file into the play field.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <sstream>

#include "engine/Conversions.h"
#include "engine/EngineContext.h"
#include "engine/FileNumbers.h"
#include "engine/HtmlLog.h"
#include "engine/StringManager.h"
#include "engine/XMLDocument.h"
#include "entities/core/CSpriteEntity.h"
#include "entities/core/EntityManager.h"
#include "entities/core/EntityServices.h"
#include "entities/effects/CAnimationEffector.h"
#include "entities/widgets/CTitleEntity.h"
#include "entities/widgets/TextEntity.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeSprite.h"
#include "profiles/Player.h"
#include "scene/ActionTable.h"
#include "scene/Inventory.h"
#include "scene/LevelEvents.h"
#include "scene/LiveGroups.h"
#include "scene/PlayField.h"
#include "scene/PlayFieldParts.h"
#include "scene/SceneObject.h"
#include "scene/SceneObjectsLayer.h"
#include "scene/ScriptGlobals.h"

using ZOLTFramework::CAnimationEffector;
using ZOLTFramework::CSpriteEntity;
using Element = XMLDocument::XMLElement;
namespace Services = ZOLTFramework::Services;

namespace {

// The dark around a lamp-lit scene's flashlight covers the scene only: all of
// it right of the panel as the panel stands (in, sliding, or out under a
// title, a comic page or the score window), never the panel with the clue list.
class Flashlight : public CSpriteEntity {
public:
    explicit Flashlight(const PlayField* field) : field(field) {}

    void Render() override {
        HGE* hge = Services::Hge(engine);
        const float width = engine ? engine->GetScreenWidth() : 800.0f;
        const float height = engine ? engine->GetScreenHeight() : 600.0f;
        const int left = int(std::ceil(field->SceneLeft()));
        if (hge) hge->Gfx_SetClipping(left, 0, std::max(0, int(width) - left), int(height));
        CSpriteEntity::Render();
        if (hge) hge->Gfx_SetClipping(0, 0, 0, 0);
    }

private:
    const PlayField* field;
};

const char* const kActionTableFile = "data/Database/Actions.xml";
const char* const kMeasuringUnit = "compass_Crime_place_measure";

// Reads the parts of a scene file and reports what is missing, naming the
// file, the element and the attribute or child.
class SceneReader {
public:
    explicit SceneReader(const std::string& path) : file(path) {}

    std::string Attribute(const Element& element, const char* attribute, const std::string& def = "") const {
        if (element.HasAttribute(attribute)) return element.GetStringAttribute(attribute);
        Missing(element, std::string("attribute \"") + attribute + "\"");
        return def;
    }
    std::string Optional(const Element& element, const char* attribute) const {
        return element.GetStringAttribute(attribute);
    }
    // The text of the first child of that name; present tells whether there is one.
    static std::string ChildText(const Element& element, const char* child, bool* present = nullptr) {
        RefPtr<Element> found = element.FindChild(child);
        if (present) *present = bool(found);
        return found ? found->GetValue() : std::string();
    }
    std::string RequiredChild(const Element& element, const char* child, const std::string& def) const {
        bool present = false;
        const std::string text = ChildText(element, child, &present);
        if (present) return text;
        Missing(element, std::string("child <") + child + ">");
        return def;
    }
    // A float, 0 when the text starts with no number; a number that is not
    // finite as a float (nan, inf, 1e39) reads as the default, with an Error row.
    float Float(const Element& element, const char* what, const std::string& text, float def) const {
        if (FileNumbers::IsFinite(text)) return float(std::strtod(text.c_str(), nullptr));
        HtmlLog::Instance()->Error("Scene file \"" + file + "\": <" + element.GetName() + "> has " + what + " \"" +
                                   text + "\", which is not a finite number; " + ValueToString(def) + " is used.");
        return def;
    }
    void Missing(const Element& element, const std::string& what) const {
        HtmlLog::Instance()->Error("Scene file \"" + file + "\": <" + element.GetName() + "> has no " + what +
                                   "; a default is used.");
    }

    std::string file;
};

// Text that starts with no number reads as 0; a number beyond the range of
// int reads as the nearest limit.
int ToInt(const std::string& text) {
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return int(std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

void PlayField::LoadScene(const std::string& path) {
    speedTimer = 10.0f;
    pointedOutObject = nullptr;
    scenePath = path;
    ActionTable actions;
    actions.Load(kActionTableFile);

    if (!sceneDocument.Load(path)) {
        HtmlLog::Instance()->Error("Play field: the scene file \"" + path + "\" cannot be read (" +
                                   sceneDocument.GetLastError() + "); the field stays empty.");
        ShowPanel();
        return;
    }
    const Element& root = *sceneDocument.GetRoot();
    PlayFieldLoader(*this).ReadHeader(root, path);
    PlayFieldLoader(*this).ReadObjects(root, path);
    PlayFieldLoader(*this).ReadRules(root, path, actions);

    if (objectsLayer && objectsLayer->GetCursorSprite()) {
        if (playCursor) playCursor->SetColor(0x00FFFFFF);
        if (hoverCursor) hoverCursor->SetColor(0x00FFFFFF);
    }
    PlayFieldLoader(*this).ShowTitleOrPanel(root.GetStringAttribute("SceneName"));
    if (sceneKind->IsSplit()) AddDividingLine();
}

void PlayFieldLoader::ReadHeader(const Element& root, const std::string& path) {
    const SceneReader reader(path);
    const std::string resFile = reader.Attribute(root, "res_file");
    EntityManager* manager = field->Manager();
    if (resFile.find("data\\Scenes\\Sewer_system_door_generator") != std::string::npos && manager) {
        field->flashlight = manager->Spawn<Flashlight>(field);
        field->flashlight->SetName("Flashlight");
        field->flashlight->AttachSprite(Services::Sprite(field->engine, "FlashlightCursor"));
        field->flashlight->SetDepth(PlayField::kDarkDepth);
        field->flashlight->AttachTo(field);
    }
    if (resFile.find("data\\Scenes\\Crime_place_nostatue") != std::string::npos)
        field->openingMiniGame = path != (field->context.player ? field->context.player->PlayFieldPath : std::string());
    field->resourceGroup = ToInt(reader.Attribute(root, "res_group", "-1"));
    if (field->resourceGroup < LiveGroups::kFirstSceneGroup)
        HtmlLog::Instance()->Warning("Scene file \"" + path + "\": resource group " + std::to_string(field->resourceGroup) +
                                     " is shared; it is not purged when the field closes.");
    (void)reader.Attribute(root, "type");
    field->sceneKind = SceneKind::Of(root, path);
    if (root.HasAttribute("SceneToLoadOnFinish")) field->nextScene = root.GetStringAttribute("SceneToLoadOnFinish");
    // Read and kept inert: a scene's starting cigars and elapsed time take no effect.
    (void)root.GetIntAttribute("CigarsCount");
    (void)root.GetFloatAttribute("TimePassed");
}

void PlayFieldLoader::ReadObjects(const Element& root, const std::string& path) {
    const SceneReader reader(path);
    EntityManager* manager = field->Manager();
    std::map<int, UnitRecord> units;
    for (const auto& child : root.GetChildren()) {
        if (!child || child->GetName() != "unit") continue;
        UnitRecord unit;
        bool hasImage = false, hasId = false;
        int id = 0;
        for (const auto& part : child->GetChildren()) {
            if (!part) continue;
            const std::string& key = part->GetName();
            if (key == "sprite" || key == "animation") {
                unit.resourceName = part->GetValue();
                unit.isAnimation = key == "animation";
                hasImage = true;
                if (unit.resourceName == kMeasuringUnit && !field->measure.compass) PlayFieldLoader(*field).BuildMeasuringTool();
            } else if (key == "id") {
                id = ToInt(part->GetValue());
                hasId = true;
            } else if (key == "delay") {
                unit.pause = reader.Float(*part, "the value", part->GetValue(), 0.0f);
            } else if (key == "start_delay") {
                unit.startDelay = reader.Float(*part, "the value", part->GetValue(), 0.0f);
            } else if (key == "last_frame_on_delay") {
                unit.restOnLastFrame = true;
            }
        }
        if (!hasImage) reader.Missing(*child, "child <sprite> or <animation>");
        if (!hasId) reader.Missing(*child, "child <id>");
        units[id] = unit;
    }

    for (const auto& child : root.GetChildren()) {
        if (!child || child->GetName() != "object" || !manager) continue;
        const int id = ToInt(reader.RequiredChild(*child, "id", "0"));
        const std::string objectName = reader.RequiredChild(*child, "name", "");
        const auto unit = units.find(id);
        if (unit == units.end()) {
            HtmlLog::Instance()->Error("Scene file \"" + path + "\": object \"" + objectName + "\" names unit " +
                                       std::to_string(id) + ", which does not exist; the object is skipped.");
            continue;
        }
        // Depth 1 by default: 0 would tie with the field, which empties the
        // lens list when it draws.
        const float z = reader.Float(*child, "the depth", reader.RequiredChild(*child, "z", "1"), 1.0f);
        const UnitRecord& u = unit->second;
        auto* object = manager->Spawn<SceneObject>(u.resourceName, u.isAnimation, u.pause, u.startDelay,
                                                   u.restOnLastFrame, objectName, field->objectsLayer);
        object->SetPosXY(reader.Float(*child, "the x", SceneReader::ChildText(*child, "x"), 0.0f),
                         reader.Float(*child, "the y", SceneReader::ChildText(*child, "y"), 0.0f));
        object->SetDepth(z);
        object->SetSharedTimer(field->context.timer ? field->context.timer : &field->ownTimer);
        object->SetOpacity(0.0f);
        object->AttachTo(field);
        auto* fadeIn = manager->Spawn<CAnimationEffector>();
        fadeIn->AttachTo(object);
        fadeIn->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, 0.0f);
        fadeIn->AddKey(CAnimationEffector::TRACK_OPACITY, 0.5f, 1.0f);
        fadeIn->Prepare();
        field->sceneObjects.push_back(object);
        SceneScript::Publish("PlayField_" + objectName, object);
    }
}

void PlayFieldLoader::ReadRules(const Element& root, const std::string& path, const ActionTable& actions) {
    const SceneReader reader(path);
    for (const auto& child : root.GetChildren()) {
        if (!child || child->GetName() != "task") continue;
        TaskRecord task;
        task.name = reader.Attribute(*child, "name");
        task.type = reader.Optional(*child, "type");
        task.textSingular = reader.Optional(*child, "text_singular");
        task.textPlural = reader.Optional(*child, "text_plural");
        task.toolToFind = reader.Optional(*child, "tool_to_find");
        if (child->HasAttribute("tool_to_find")) task.toolSprite = reader.Attribute(*child, "tool_sprite");
        for (const auto& item : child->GetChildren())
            if (item) task.objectNames.push_back(reader.Attribute(*item, "name"));
        field->rules.AddTask(task);
        HtmlLog::Instance()->Debug("task.name = " + task.name);
    }

    for (const auto& child : root.GetChildren()) {
        if (!child || child->GetName() != "task_condition") continue;
        ConditionRecord condition;
        for (const auto& part : child->GetChildren()) {
            if (!part) continue;
            if (part->GetName() == "finished_task") {
                condition.conditions.push_back(reader.Attribute(*part, "name"));
            } else if (part->GetName() == "action") {
                const std::string type = reader.Attribute(*part, "type");
                condition.actions.push_back({type, actions.Resolve(type, reader.Attribute(*part, "name"))});
            }
        }
        field->rules.AddCondition(condition);
    }

    for (const auto& child : root.GetChildren()) {
        if (child && child->GetName() == "pair")
            field->rules.AddPair({reader.Attribute(*child, "name1"), reader.Attribute(*child, "name2")});
    }

    for (const auto& child : root.GetChildren()) {
        if (!child || child->GetName() != "solve_later_object") continue;
        const std::string objectName = reader.Attribute(*child, "name");
        if (SceneObject* object = field->FindObjectByName(objectName))
            field->StartSolveLaterEffect(object);
        else
            HtmlLog::Instance()->Warning("Scene file \"" + path + "\": solve_later_object \"" + objectName +
                                         "\" names no object; it is skipped.");
    }

    for (const auto& child : root.GetChildren()) {
        if (!child || child->GetName() != "tool" || !field->inventory) continue;
        field->inventory->AddObject(reader.Attribute(*child, "spr_name"), reader.Attribute(*child, "obj_name"),
                             reader.Attribute(*child, "tool_name"),
                             reader.Float(*child, "the scale", reader.Attribute(*child, "scale", "1"), 1.0f));
    }

    field->rules.FinishLoading();
}

void PlayFieldLoader::BuildMeasuringTool() {
    EntityManager* manager = field->Manager();
    if (!manager) return;
    struct Part {
        const char* sprite;
        float depth;
        CSpriteEntity** slot;
    };
    const Part parts[] = {{kMeasuringUnit, 99996.0f, &field->measure.compass},
                          {"compursor_Crime_place_measure", 99998.0f, &field->measure.cursor},
                          {"line_Crime_place_measure", 99997.0f, &field->measure.line}};
    for (const Part& part : parts) {
        auto* entity = manager->Spawn<CSpriteEntity>();
        hgeSprite* sprite = Services::Sprite(field->engine, part.sprite);
        if (sprite && part.slot == &field->measure.cursor) sprite->SetHotSpot(21.0f, 30.0f);
        entity->AttachSprite(sprite);
        entity->SetDepth(part.depth);
        entity->AttachTo(field);
        entity->Hide();
        *part.slot = entity;
    }
    field->measure.compass->SetPosXY(351.0f, 350.0f);
    field->measure.text = manager->Spawn<TextEntity>("", nullptr);
    field->measure.text->SetName("MeasureText");
    field->measure.text->AttachTo(field);
    field->measure.text->SetDepth(99999.0f);
    field->measure.text->Hide();
}

void PlayFieldLoader::ShowTitleOrPanel(const std::string& titleKey) {
    EntityManager* manager = field->Manager();
    if (titleKey.empty() || !manager) {
        field->ShowPanel();
        return;
    }
    bool found = false;
    const std::string title = Services::Text(field->engine, titleKey, &found);
    if (!found) {
        HtmlLog::Instance()->Warning("Play field: the scene title \"" + titleKey +
                                     "\" is not in the text table; the panel opens at once.");
        field->ShowPanel();
        return;
    }
    auto* entity = manager->Spawn<ZOLTFramework::CTitleEntity>();
    entity->AttachTo(field);
    entity->SetPosXY(400.0f, 300.0f);
    entity->SetLayer(70.0f);
    HGE* hge = Services::Hge(field->engine);
    const float duration = entity->SetText(title, "Default", hge ? hge->Random_Int(0, 2) : 0);
    PlayFieldPointer(*field).DelayedCalls()->Add(duration + 0.1f, [field = field] { field->ShowPanel(); }, field);
    std::ostringstream text;
    text << duration;
    field->Send(LevelEvents::kHidePanel, text.str());
}
