#include "scene/PlayFieldLoader.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <map>
#include <set>

#include "engine/Conversions.h"
#include "engine/FileNumbers.h"
#include "engine/HtmlLog.h"
#include "entities/core/EntityManager.h"
#include "entities/effects/CAnimationEffector.h"
#include "engine/EngineContext.h"
#include "scene/ActionTable.h"
#include "scene/Inventory.h"
#include "scene/LiveGroups.h"
#include "scene/PlayFieldPointer.h"
#include "scene/SceneKind.h"
#include "scene/SceneObject.h"
#include "scene/SceneObjectList.h"
#include "scene/SceneRecords.h"
#include "scene/SceneRules.h"
#include "scene/ScriptGlobals.h"

using ZOLTFramework::CAnimationEffector;
using Element = XMLDocument::XMLElement;

namespace {

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
        Missing(element, std::string("child &lt;") + child + "&gt;");
        return def;
    }
    // A float, 0 when the text starts with no number; a number that is not
    // finite as a float (nan, inf, 1e39) reads as the default, with an Error row.
    float Float(const Element& element, const char* what, const std::string& text, float def) const {
        if (FileNumbers::IsFinite(text)) return float(std::strtod(text.c_str(), nullptr));
        HtmlLog::Instance()->Error("Scene file \"" + HtmlLog::Shown(file) + "\": &lt;" + HtmlLog::Shown(element.GetName()) + "&gt; has " + what + " \"" +
                                   HtmlLog::Shown(text) + "\", which is not a finite number; " + ValueToString(def) + " is used.");
        return def;
    }
    void Missing(const Element& element, const std::string& what) const {
        HtmlLog::Instance()->Error("Scene file \"" + HtmlLog::Shown(file) + "\": &lt;" + HtmlLog::Shown(element.GetName()) + "&gt; has no " + what +
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

SceneHeading PlayFieldLoader::ReadHeading(const std::string& resumedPath) const {
    const SceneReader reader(path);
    SceneHeading heading;
    const std::string resFile = reader.Attribute(root, "res_file");
    heading.dark = resFile.find("data\\Scenes\\Sewer_system_door_generator") != std::string::npos;
    if (resFile.find("data\\Scenes\\Crime_place_nostatue") != std::string::npos) heading.opensMiniGame = path != resumedPath;
    heading.resourceGroup = ToInt(reader.Attribute(root, "res_group", "-1"));
    if (heading.resourceGroup < LiveGroups::kFirstSceneGroup)
        HtmlLog::Instance()->Warning("Scene file \"" + HtmlLog::Shown(path) + "\": resource group " +
                                     std::to_string(heading.resourceGroup) +
                                     " is shared; it is not purged when the field closes.");
    if (root.HasAttribute("SceneToLoadOnFinish")) heading.nextScene = root.GetStringAttribute("SceneToLoadOnFinish");
    // Read and kept inert: a scene's starting cigars and elapsed time take no effect.
    (void)root.GetIntAttribute("CigarsCount");
    (void)root.GetFloatAttribute("TimePassed");
    return heading;
}

std::unique_ptr<SceneKind> PlayFieldLoader::ReadKind() const {
    (void)SceneReader(path).Attribute(root, "type");
    return SceneKind::Of(root, path);
}

void PlayFieldLoader::BuildObjects(ZOLTFramework::CEntity& field, SceneObjectsLayer& layer, SharedTimer& clock,
                                   SceneObjectList& objects, const std::function<void()>& measuringUnit) const {
    const SceneReader reader(path);
    EntityManager* manager = field.Manager();
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
                if (unit.resourceName == PlayFieldPointer::kMeasuringUnit && measuringUnit) measuringUnit();
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
            HtmlLog::Instance()->Error("Scene file \"" + HtmlLog::Shown(path) + "\": object \"" + HtmlLog::Shown(objectName) + "\" names unit " +
                                       std::to_string(id) + ", which does not exist; the object is skipped.");
            continue;
        }
        // Depth 1 by default: 0 would tie with the field, which empties the
        // lens list when it draws.
        const float z = reader.Float(*child, "the depth", reader.RequiredChild(*child, "z", "1"), 1.0f);
        const UnitRecord& u = unit->second;
        auto* object = manager->Spawn<SceneObject>(u.resourceName, u.isAnimation, u.pause, u.startDelay,
                                                   u.restOnLastFrame, objectName, &layer);
        object->SetPosXY(reader.Float(*child, "the x", SceneReader::ChildText(*child, "x"), 0.0f),
                         reader.Float(*child, "the y", SceneReader::ChildText(*child, "y"), 0.0f));
        object->SetDepth(z);
        object->SetSharedTimer(&clock);
        object->SetOpacity(0.0f);
        object->AttachTo(&field);
        auto* fadeIn = manager->Spawn<CAnimationEffector>();
        fadeIn->AttachTo(object);
        fadeIn->AddKey(CAnimationEffector::TRACK_OPACITY, 0.0f, 0.0f);
        fadeIn->AddKey(CAnimationEffector::TRACK_OPACITY, 0.5f, 1.0f);
        fadeIn->Prepare();
        objects.Add(object);
        SceneScript::Publish("PlayField_" + objectName, object);
    }
}

void PlayFieldLoader::ReadRules(const ActionTable& actions, SceneRules& rules) const {
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
        rules.AddTask(task);
        HtmlLog::Instance()->Debug("task.name = " + HtmlLog::Shown(task.name));
    }
    for (const StuckTask& stuck : StuckTasks()) {
        const std::string why = stuck.noItem ? "lists no item"
                                             : "lists the item \"" + HtmlLog::Shown(stuck.item) +
                                                   "\", which names no object of the scene";
        HtmlLog::Instance()->Warning("Scene file \"" + HtmlLog::Shown(path) + "\": the task \"" +
                                     HtmlLog::Shown(stuck.task) + "\" " + why + "; it can never count down.");
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
        rules.AddCondition(condition);
    }

    for (const auto& child : root.GetChildren()) {
        if (child && child->GetName() == "pair")
            rules.AddPair({reader.Attribute(*child, "name1"), reader.Attribute(*child, "name2")});
    }
}

std::vector<StuckTask> PlayFieldLoader::StuckTasks() const {
    // As BuildObjects places them: a unit without an id is unit 0.
    std::set<int> units;
    std::set<std::string> placed;
    for (const auto& child : root.GetChildren())
        if (child && child->GetName() == "unit") units.insert(ToInt(SceneReader::ChildText(*child, "id")));
    for (const auto& child : root.GetChildren())
        if (child && child->GetName() == "object" && units.count(ToInt(SceneReader::ChildText(*child, "id"))))
            placed.insert(SceneReader::ChildText(*child, "name"));
    std::vector<StuckTask> stuck;
    for (const auto& child : root.GetChildren()) {
        if (!child || child->GetName() != "task") continue;
        const std::string task = child->GetStringAttribute("name");
        bool listsAny = false;
        for (const auto& item : child->GetChildren()) {
            if (!item) continue;
            listsAny = true;
            if (!placed.count(item->GetStringAttribute("name")))
                stuck.push_back({task, false, item->GetStringAttribute("name")});
        }
        if (!listsAny && task != kDummyTask) stuck.push_back({task, true, ""});
    }
    return stuck;
}

void PlayFieldLoader::PutOff(const SceneObjectList& objects, const std::function<void(SceneObject*)>& putOff) const {
    const SceneReader reader(path);
    for (const auto& child : root.GetChildren()) {
        if (!child || child->GetName() != "solve_later_object") continue;
        const std::string objectName = reader.Attribute(*child, "name");
        if (SceneObject* object = objects.Find(objectName))
            putOff(object);
        else
            HtmlLog::Instance()->Warning("Scene file \"" + HtmlLog::Shown(path) + "\": solve_later_object \"" + HtmlLog::Shown(objectName) +
                                         "\" names no object; it is skipped.");
    }
}

void PlayFieldLoader::FillBag(Inventory& bag) const {
    const SceneReader reader(path);
    for (const auto& child : root.GetChildren()) {
        if (!child || child->GetName() != "tool") continue;
        bag.AddObject(reader.Attribute(*child, "spr_name"), reader.Attribute(*child, "obj_name"),
                      reader.Attribute(*child, "tool_name"),
                      reader.Float(*child, "the scale", reader.Attribute(*child, "scale", "1"), 1.0f));
    }
}
