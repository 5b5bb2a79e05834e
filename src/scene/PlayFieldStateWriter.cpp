#include "scene/PlayFieldStateWriter.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/Conversions.h"
#include "profiles/Player.h"
#include "profiles/SaveSlots.h"
#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/PlayFieldFlights.h"
#include "scene/PlayFieldPointer.h"
#include "scene/SceneObject.h"
#include "scene/SceneObjectList.h"
#include "scene/SceneRules.h"

namespace {

using Element = XMLDocument::XMLElement;

const char* const kKeptUnits[] = {"compass_Crime_place_measure", "compursor_Crime_place_measure",
                                  "line_Crime_place_measure"};

std::string ChildText(const Element& element, const std::string& childName) {
    const RefPtr<Element> child = element.FindChild(childName);
    return child ? child->GetValue() : std::string();
}

// Degrees as the loader reads them back: whole numbers without a fraction.
std::string Degrees(float radians) {
    float degrees = radians * 180.0f / 3.14159265358979f;
    const float rounded = std::round(degrees);
    if (std::fabs(degrees - rounded) < 1e-3f) degrees = rounded;
    if (degrees == 0.0f) degrees = 0.0f;  // no "-0"
    return ValueToString(degrees) + "d";
}

RefPtr<Element> ToolElement(const std::string& sprite, const std::string& object, const std::string& tool,
                            float scale) {
    RefPtr<Element> element(new Element("tool"));
    element->AddAttribute("spr_name", sprite);
    element->AddAttribute("obj_name", object);
    element->AddAttribute("tool_name", tool);
    element->AddAttribute("scale", ValueToString(scale));
    return element;
}

}  // namespace

void PlayFieldStateWriter::Write(const Element& sceneRoot, Element& root) const {
    std::set<std::string> liveResources, liveNames;
    for (SceneObject* object : objects.All()) {
        if (!object || object->IsDead()) continue;
        liveResources.insert(object->GetResourceName());
        liveNames.insert(object->GetName());
    }
    root.GetAttributes() = sceneRoot.GetAttributes();
    std::vector<RefPtr<Element>> kept, pairElements;
    for (const RefPtr<Element>& child : sceneRoot.GetChildren()) {
        const std::string& section = child->GetName();
        if (section == "pair") {
            pairElements.push_back(child);
            continue;
        }
        if (section == "task" || section == "task_condition" || section == "tool" || section == "solve_later_object") continue;
        if (section == "unit") {
            // The picture as the loader reads it: the last "sprite" or
            // "animation" child.
            std::string resource;
            for (const RefPtr<Element>& part : child->GetChildren())
                if (part && (part->GetName() == "sprite" || part->GetName() == "animation")) resource = part->GetValue();
            bool keep = liveResources.count(resource) > 0;
            for (const char* unit : kKeptUnits) keep = keep || resource == unit;
            if (!keep) continue;
        }
        if (section == "object" && !liveNames.count(ChildText(*child, "name"))) continue;
        kept.push_back(child);
    }
    root.GetChildren() = kept;

    WriteRules(root);
    for (const RefPtr<Element>& pair : pairElements) root.AddChild(pair);
    for (SceneObject* object : objects.PutOff())
        if (object) root.CreateChild("solve_later_object")->AddAttribute("name", object->GetName());
    WriteBag(root);
}

void PlayFieldStateWriter::WriteRules(Element& root) const {
    const std::vector<TaskRecord>& tasks = rules.Tasks();
    const std::set<std::string>& ignoreAdding = rules.IgnoreAdding();
    const std::set<std::string>& ignoreHinting = rules.IgnoreHinting();
    if (!(tasks.size() == 1 && tasks.front().name == kDummyTask)) {
        for (const TaskRecord& task : tasks) {
            const RefPtr<Element> element = root.CreateChild("task");
            element->AddAttribute("name", task.name);
            if (!task.textSingular.empty()) element->AddAttribute("text_singular", task.textSingular);
            if (!task.textPlural.empty()) element->AddAttribute("text_plural", task.textPlural);
            element->AddAttribute("type", task.type);
            if (!task.toolToFind.empty()) {
                element->AddAttribute("tool_to_find", task.toolToFind);
                element->AddAttribute("tool_sprite", task.toolSprite);
            }
            for (const std::string& objectName : task.objectNames)
                element->CreateChild("object")->AddAttribute("name", objectName);
        }
    }

    std::set<std::string> ignoreAddingWritten;
    for (const ConditionRecord& condition : rules.Conditions()) {
        const RefPtr<Element> element = root.CreateChild("task_condition");
        for (const std::string& finished : condition.conditions)
            element->CreateChild("finished_task")->AddAttribute("name", finished);
        for (const ActionRecord& action : condition.actions) {
            const RefPtr<Element> actionElement = element->CreateChild("action");
            actionElement->AddAttribute("type", action.event);
            actionElement->AddAttribute("name", action.value);
        }
        if (!condition.conditions.empty() && ignoreAdding.count(condition.conditions.front())) {
            const RefPtr<Element> actionElement = element->CreateChild("action");
            actionElement->AddAttribute("type", "IgnoreAdding");
            actionElement->AddAttribute("name", "IgnoreAdding");
            ignoreAddingWritten.insert(condition.conditions.begin(), condition.conditions.end());
        }
    }
    // Names whose whole condition the loader took away come back as
    // conditions of their own, so that a resumed scene counts and hints alike.
    for (const auto& kind : {std::make_pair(&ignoreAdding, "IgnoreAdding"), std::make_pair(&ignoreHinting, "IgnoreHinting")}) {
        for (const std::string& taskName : *kind.first) {
            if (kind.first == &ignoreAdding && ignoreAddingWritten.count(taskName)) continue;
            const RefPtr<Element> element = root.CreateChild("task_condition");
            element->CreateChild("finished_task")->AddAttribute("name", taskName);
            const RefPtr<Element> actionElement = element->CreateChild("action");
            actionElement->AddAttribute("type", kind.second);
            actionElement->AddAttribute("name", kind.second);
        }
    }
    if (!pointer.LockedTask().empty()) {
        const RefPtr<Element> element = root.CreateChild("task_condition");
        const RefPtr<Element> action = element->CreateChild("action");
        action->AddAttribute("type", "LockingTask");
        SceneObject* locked = pointer.LockedObject();
        action->AddAttribute("name", pointer.LockedTask() + "^" + Degrees(locked ? locked->GetRotation() : 0.0f));
    }
}

void PlayFieldStateWriter::WriteBag(Element& root) const {
    std::set<std::pair<std::string, std::string>> written;
    auto writeTool = [&](const std::string& sprite, const std::string& objectName, const std::string& tool,
                         float scale) {
        if (sprite.empty() || !written.insert({sprite, objectName}).second) return;
        root.AddChild(ToolElement(sprite, objectName, tool, scale));
    };
    for (InventoryObject* item : bag.GetObjects())
        if (item)
            writeTool(item->GetResourceName(), item->GetObjectName(), item->GetToolName(),
                      std::max(item->GetScaleX(), item->GetScaleY()));
    const PlayFieldPointer::CursorState& cursor = pointer.Cursor();
    if (cursor.kind == PlayFieldPointer::CURSOR_HELD_ITEM) writeTool(cursor.spriteName, cursor.itemName, "", 1.0f);
    for (const ToolRecord& record : rules.ToolRecords())
        writeTool(record.spriteName, record.objectName, record.toolName, record.scale);
    for (const FlightRecord& flight : flights.Records())
        if (flight.intoInventory && flight.object)
            writeTool(flight.object->GetResourceName(), flight.object->GetName(), "",
                      std::max(flight.object->GetScaleX(), flight.object->GetScaleY()));
}

std::string PlayFieldStateWriter::StateFilePath(const std::string& saveFile) {
    return saveFile + SaveSlots::kStateSuffix;
}

void PlayFieldStateWriter::ForgetStateFile(Player& player) {
    // The file itself goes with the next save of the players, once the
    // profile on disk has stopped naming it.
    player.PlayFieldPath.clear();
}
