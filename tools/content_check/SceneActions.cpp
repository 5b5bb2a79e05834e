#include "SceneActions.h"

#include <algorithm>
#include <map>

#include "scene/LevelEvents.h"
#include "screens/LevelScreen.h"

namespace contenttest {

namespace {

namespace E = LevelEvents;

struct Task {
    std::string type, tool;
    std::vector<std::string> items;
};

bool Is(const std::string& type, const char* name) { return type == name; }

}  // namespace

const std::vector<StandRow>& Stands() {
    static const std::vector<StandRow> rows = {
        {Stand::Load, "the load (a condition's first of each)", "IgnoreAdding, IgnoreHinting"},
        {Stand::Opening, "an opening condition (no finished task)", "LockingTask (field); the level's events"},
        {Stand::OnWin, "OnWin", "the level's events"},
        {Stand::FinishedTask, "a finished task's condition",
         "AddCigars, EnableHinting, MiniGame (field); the rest forwarded: the level's events"},
        {Stand::ToolPickUp, "the task of a tool, at its pick-up",
         "EnableHinting (field); the rest forwarded: the level's events (not AddCigars, MiniGame)"},
        {Stand::ToolTask, "a tool task's own condition",
         "MiniGame as the first action of a task neither And nor Or, EnableHinting (field)"},
        {Stand::Never, "a condition that never fires", "nothing"},
    };
    return rows;
}

const char* StandName(Stand stand) {
    switch (stand) {
        case Stand::Load: return "load";
        case Stand::Opening: return "opening";
        case Stand::OnWin: return "OnWin";
        case Stand::FinishedTask: return "finished task";
        case Stand::ToolPickUp: return "tool pick-up";
        case Stand::ToolTask: return "tool task";
        case Stand::Never: return "never";
    }
    return "";
}

std::vector<SceneAction> ReadSceneActions(const XMLDocument::XMLElement& root) {
    std::map<std::string, Task> tasks;
    for (const auto& e : root.GetChildren()) {
        if (e->GetName() != "task") continue;
        Task& task = tasks[e->GetStringAttribute("name")];
        task.type = e->GetStringAttribute("type");
        task.tool = e->GetStringAttribute("tool_to_find");
        for (const auto& item : e->GetChildren()) task.items.push_back(item->GetStringAttribute("name"));
    }
    // The tool of some task lying in the scene, as the click finds one.
    auto isTool = [&](const std::string& object) {
        return !object.empty() && std::any_of(tasks.begin(), tasks.end(), [&](const auto& t) {
            return t.second.tool.find(object) != std::string::npos;
        });
    };
    auto listedTool = [&](const Task& task) -> std::string {
        if (!task.tool.empty()) return "";
        for (const std::string& item : task.items)
            if (isTool(item)) return item;
        return "";
    };

    std::vector<SceneAction> actions;
    for (const auto& e : root.GetChildren()) {
        if (e->GetName() != "task_condition") continue;
        std::vector<std::string> finished;
        std::vector<std::pair<std::string, std::string>> listed;
        for (const auto& part : e->GetChildren()) {
            if (part->GetName() == "finished_task") finished.push_back(part->GetStringAttribute("name"));
            if (part->GetName() == "action")
                listed.emplace_back(part->GetStringAttribute("type"), part->GetStringAttribute("name"));
        }
        std::string when;
        for (const std::string& name : finished) when += (when.empty() ? "" : ",") + name;
        if (when.empty()) when = "-";

        // Where the condition fires, and why it never does.
        Stand stand = Stand::FinishedTask;
        std::string never, toolTaskName, pickedTask, pickedTool;
        bool heldBackGame = false;
        const bool onWin = std::find(finished.begin(), finished.end(), "OnWin") != finished.end();
        for (const std::string& name : finished) {
            const auto task = tasks.find(name);
            if (name == "OnWin") continue;
            if (task == tasks.end()) {
                never = "it names no task \"" + name + "\" of the scene";
            } else if (!task->second.tool.empty()) {
                toolTaskName = name;
                heldBackGame = heldBackGame || (!Is(task->second.type, "And") && !Is(task->second.type, "Or"));
            } else if (!Is(task->second.type, "And") && !Is(task->second.type, "Or")) {
                never = "its task \"" + name + "\" is neither And nor Or and needs no tool";
            } else if (pickedTask.empty()) {
                pickedTool = listedTool(task->second);
                if (!pickedTool.empty()) pickedTask = name;
            }
        }
        if (finished.empty())
            stand = Stand::Opening;
        else if (!never.empty())
            stand = Stand::Never;
        else if (!toolTaskName.empty())
            stand = Stand::ToolTask;
        else if (onWin)
            stand = Stand::OnWin;
        else if (!pickedTask.empty())
            stand = Stand::ToolPickUp;

        bool ignoreAddingTaken = false, ignoreHintingTaken = false;
        bool first = true;  // the first action left after the load
        for (const auto& [type, value] : listed) {
            SceneAction action{when, type, value, stand, "", ""};
            bool& taken = Is(type, E::kIgnoreAdding) ? ignoreAddingTaken : ignoreHintingTaken;
            if ((Is(type, E::kIgnoreAdding) || Is(type, E::kIgnoreHinting)) && !taken) {
                taken = true;
                action.stand = Stand::Load;
                action.actor = "load";
                actions.push_back(action);
                continue;
            }
            const bool level = LevelScreen::HandlesEvent(type);
            const auto row = std::find_if(Stands().begin(), Stands().end(), [&](const StandRow& r) { return r.stand == stand; });
            const std::string nobody = "nothing acts on \"" + type + "\" in " + row->where;
            switch (stand) {
                case Stand::Load: break;
                case Stand::Opening:
                    action.actor = Is(type, E::kLockingTask) ? "field" : level ? "level" : "";
                    break;
                case Stand::OnWin: action.actor = level ? "level" : ""; break;
                case Stand::FinishedTask:
                    action.actor = Is(type, E::kAddCigars) || Is(type, E::kEnableHinting) || Is(type, E::kMiniGame)
                                       ? "field"
                                       : level ? "level" : "";
                    break;
                case Stand::ToolPickUp:
                    if (Is(type, E::kMiniGame))
                        action.problem = "the task \"" + pickedTask + "\" lists the tool \"" + pickedTool +
                                         "\", which flies into the bag: no click waits for its mini-game, so the "
                                         "game drops it with a Warning row and counts the task down with the "
                                         "pick-up";
                    else if (Is(type, E::kAddCigars))
                        action.problem = "the task \"" + pickedTask + "\" lists the tool \"" + pickedTool +
                                         "\", which flies into the bag: its cigars cannot be given";
                    else
                        action.actor = Is(type, E::kEnableHinting) ? "field" : level ? "level" : "";
                    break;
                case Stand::ToolTask:
                    if (Is(type, E::kEnableHinting) || (Is(type, E::kMiniGame) && first && heldBackGame))
                        action.actor = "field";
                    else
                        action.problem = "the tool task \"" + toolTaskName +
                                         "\" runs only the mini-game its click waits for (its condition's first "
                                         "action) and EnableHinting";
                    break;
                case Stand::Never: action.problem = "the condition never fires: " + never; break;
            }
            if (action.actor.empty() && action.problem.empty()) action.problem = nobody;
            first = false;
            actions.push_back(action);
        }
    }
    return actions;
}

}  // namespace contenttest
