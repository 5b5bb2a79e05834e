// The state file of a scene left unfinished: the scene document with what
// was taken out and the rule sections written anew from the field's records,
// readable by the scene loader in place of the scene file.
#include <cmath>
#include <set>
#include <utility>

#include "engine/Conversions.h"
#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"
#include "platform/FileSystem.h"
#include "profiles/Player.h"
#include "profiles/SaveSlots.h"
#include "scene/Inventory.h"
#include "scene/InventoryObject.h"
#include "scene/PlayField.h"
#include "scene/PlayFieldParts.h"
#include "scene/SceneObject.h"

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

std::string PlayField::StateFilePath(const std::string& saveFile) { return saveFile + SaveSlots::kStateSuffix; }

void PlayField::ForgetStateFile(Player& player) {
    const std::string own = StateFilePath(player.SaveFile);
    if (!player.PlayFieldPath.empty() && player.PlayFieldPath == own && FileSystem::FileExists(own) &&
        !FileSystem::RemoveFile(own))
        HtmlLog::Instance()->Warning("Play field: the state file \"" + own + "\" of a level that is over could not be removed.");
    player.PlayFieldPath.clear();
}

bool PlayField::SaveState() {
    Player* player = context.player;
    if (!player) return true;
    // The file this level was resumed from stays named until a newer state
    // replaces it (writes are atomic, so a failed one leaves it whole).
    if (player->PlayFieldPath != scenePath) player->PlayFieldPath.clear();
    if (AreTasksDone()) {
        ForgetStateFile(*player);
        return true;
    }
    if (!rules.DelayedTasks().empty()) ProcessDelayedTasks();

    if (!sceneDocument.IsLoaded()) {
        // Without the scene document the file could not be played again.
        HtmlLog::Instance()->Error("Play field: the scene \"" + scenePath + "\" was never read (" +
                                   sceneDocument.GetLastError() + "); its state is not saved.");
        return false;
    }
    // The document the scene was read from, with what was taken out and the
    // rule sections written anew; the document itself stays as it was read.
    XMLDocument document("scene");
    std::set<std::string> liveResources, liveNames;
    for (SceneObject* object : sceneObjects) {
        if (!object || object->IsDead()) continue;
        liveResources.insert(object->GetResourceName());
        liveNames.insert(object->GetName());
    }
    const RefPtr<Element> root = document.GetRoot();
    root->GetAttributes() = sceneDocument.GetRoot()->GetAttributes();
    std::vector<RefPtr<Element>> kept, pairElements;
    for (const RefPtr<Element>& child : sceneDocument.GetRoot()->GetChildren()) {
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
    root->GetChildren() = kept;

    PlayFieldStateWriter(*this).WriteRules(*root);
    for (const RefPtr<Element>& pair : pairElements) root->AddChild(pair);
    for (SceneObject* object : solveLaterObjects)
        if (object) root->CreateChild("solve_later_object")->AddAttribute("name", object->GetName());
    PlayFieldStateWriter(*this).WriteBag(*root);

    const std::string path = StateFilePath(player->SaveFile);
    if (!document.Save(path)) {
        HtmlLog::Instance()->Error(
            "Play field: the state of \"" + scenePath + "\" could not be written to \"" + path + "\"; " +
            (player->PlayFieldPath.empty() ? std::string("the scene starts anew next time")
                                           : "Continue goes on from the state saved before, \"" + player->PlayFieldPath + "\"") +
            ", with the scores, time and cigars that go with it.");
        return false;
    }
    player->PlayFieldPath = path;
    return true;
}

void PlayFieldStateWriter::WriteRules(Element& root) const {
    const std::vector<TaskRecord>& tasks = field->rules.Tasks();
    const std::set<std::string>& ignoreAdding = field->rules.IgnoreAdding();
    const std::set<std::string>& ignoreHinting = field->rules.IgnoreHinting();
    if (!(tasks.size() == 1 && tasks.front().name == "Dummy")) {
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
    for (const ConditionRecord& condition : field->rules.Conditions()) {
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
    if (!field->pointedOutTask.empty()) {
        const RefPtr<Element> element = root.CreateChild("task_condition");
        const RefPtr<Element> action = element->CreateChild("action");
        action->AddAttribute("type", "LockingTask");
        action->AddAttribute("name", field->pointedOutTask + "^" +
                                         Degrees(field->pointedOutObject ? field->pointedOutObject->GetRotation() : 0.0f));
    }
}

void PlayFieldStateWriter::WriteBag(Element& root) const {
    // The bag: what lies in it, the item in hand, and what is still flying
    // into it, each once.
    std::set<std::pair<std::string, std::string>> written;
    auto writeTool = [&](const std::string& sprite, const std::string& objectName, const std::string& tool,
                         float scale) {
        if (sprite.empty() || !written.insert({sprite, objectName}).second) return;
        root.AddChild(ToolElement(sprite, objectName, tool, scale));
    };
    if (field->inventory)
        for (InventoryObject* item : field->inventory->GetObjects())
            if (item)
                writeTool(item->GetResourceName(), item->GetObjectName(), item->GetToolName(),
                          std::max(item->GetScaleX(), item->GetScaleY()));
    if (field->cursor.kind == PlayField::CURSOR_HELD_ITEM) writeTool(field->cursor.spriteName, field->cursor.itemName, "", 1.0f);
    for (const ToolRecord& record : field->rules.ToolRecords())
        writeTool(record.spriteName, record.objectName, record.toolName, record.scale);
    for (const FlightRecord& flight : field->flights)
        if (flight.intoInventory && flight.object)
            writeTool(flight.object->GetResourceName(), flight.object->GetName(), "",
                      std::max(flight.object->GetScaleX(), flight.object->GetScaleY()));
}
