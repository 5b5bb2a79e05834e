#include "SceneWinnable.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>

#include "ContentFiles.h"
#include "SceneActions.h"
#include "scene/LevelEvents.h"
#include "scene/PlayFieldLoader.h"
#include "scene/PlayFieldPointer.h"
#include "scene/SceneKind.h"

namespace contenttest {

namespace {

using Element = XMLDocument::XMLElement;

const float kPictureW = 1024.0f, kPictureH = 768.0f;

struct ToolTask {
    std::string name, tool;
    size_t targets = 0;
    bool givesBack = false;  // its click waits for its mini-game: the tool goes back into the bag
};

struct Placed {
    std::string name, resource;
    bool animation = false;
    float x = 0, y = 0;
};

// The task's click waits for its mini-game when its condition's first action
// left after the load is a game the field plays there (SceneActions), and the
// task is neither And nor Or.
bool WaitsForItsMiniGame(const std::vector<SceneAction>& actions, const std::string& task, const std::string& type) {
    if (type == "And" || type == "Or") return false;
    return std::any_of(actions.begin(), actions.end(), [&](const SceneAction& a) {
        return a.stand == Stand::ToolTask && a.type == LevelEvents::kMiniGame && a.actor == "field" &&
               ("," + a.when + ",").find("," + task + ",") != std::string::npos;
    });
}

// Tool tasks' uses matched to copies of tools (one use, one copy), as many as can be.
class ToolMatch {
public:
    ToolMatch(const std::vector<ToolTask>& tasks, const std::vector<std::string>& held)
        : copies(held), holder(held.size(), -1) {
        for (size_t t = 0; t < tasks.size(); ++t)
            for (size_t i = 0; i < (tasks[t].givesBack ? 0 : tasks[t].targets); ++i) uses.push_back(t);
        for (size_t u = 0; u < uses.size(); ++u) {
            std::vector<bool> seen(copies.size(), false);
            Augment(tasks, u, seen);
        }
    }
    // Uses of the task left without a copy.
    size_t Unmatched(size_t task) const {
        size_t left = 0;
        for (size_t u = 0; u < uses.size(); ++u)
            left += uses[u] == task && std::find(holder.begin(), holder.end(), long(u)) == holder.end();
        return left;
    }

private:
    bool Augment(const std::vector<ToolTask>& tasks, size_t use, std::vector<bool>& seen) {
        for (size_t c = 0; c < copies.size(); ++c) {
            if (seen[c] || tasks[uses[use]].tool.find(copies[c]) == std::string::npos) continue;
            seen[c] = true;
            if (holder[c] < 0 || Augment(tasks, size_t(holder[c]), seen)) {
                holder[c] = long(use);
                return true;
            }
        }
        return false;
    }

    const std::vector<std::string>& copies;
    std::vector<size_t> uses;  // the task of each use
    std::vector<long> holder;  // the use each copy went to, -1 for none
};

std::string Quoted(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& n : names) text += (text.empty() ? "\"" : ", \"") + n + "\"";
    return text;
}

}  // namespace

std::vector<WinFault> WinFaults(const Element& root, const std::string& file, const FrameOf& frameOf) {
    std::vector<WinFault> faults;
    const PlayFieldLoader loader(root, file);
    const std::vector<SceneAction> actions = ReadSceneActions(root);
    for (const StuckTask& stuck : loader.StuckTasks())
        faults.push_back({"task \"" + stuck.task + "\"",
                          stuck.noItem ? "it lists no item, so it can never count down"
                                       : "its item \"" + stuck.item +
                                             "\" names no object placed in the scene, so it can never count down"});

    std::map<std::string, std::pair<std::string, bool>> units;  // id: resource, animation
    std::vector<Placed> placed;
    std::vector<ToolTask> toolTasks;
    std::set<std::string> listed, wholeTools;
    std::vector<std::string> copies;  // one name per copy of a tool the player can hold
    bool measure = false;
    for (const auto& e : root.GetChildren()) {
        if (e->GetName() == "unit") {
            const std::string sprite = ChildText(*e, "sprite");
            const std::string resource = sprite.empty() ? ChildText(*e, "animation") : sprite;
            units[std::to_string(std::atoi(ChildText(*e, "id").c_str()))] = {resource, sprite.empty()};
            measure = measure || resource == PlayFieldPointer::kMeasuringUnit;
        } else if (e->GetName() == "task") {
            for (const auto& item : e->GetChildren()) listed.insert(item->GetStringAttribute("name"));
            const std::string tool = e->GetStringAttribute("tool_to_find");
            if (tool.empty()) continue;
            const std::string name = e->GetStringAttribute("name"), type = e->GetStringAttribute("type");
            toolTasks.push_back({name, tool, e->GetChildren().size(), WaitsForItsMiniGame(actions, name, type)});
            wholeTools.insert(tool);
        } else if (e->GetName() == "tool") {
            copies.push_back(e->GetStringAttribute("obj_name"));
        }
    }
    for (const auto& e : root.GetChildren()) {
        if (e->GetName() != "object") continue;
        const auto unit = units.find(std::to_string(std::atoi(ChildText(*e, "id").c_str())));
        if (unit == units.end()) continue;  // the loader skips it
        placed.push_back({ChildText(*e, "name"), unit->second.first, unit->second.second,
                          float(std::atof(ChildText(*e, "x").c_str())), float(std::atof(ChildText(*e, "y").c_str()))});
    }

    // Tools lying in the scene that a click takes up.
    const bool split = loader.ReadKind()->IsSplit();
    std::set<std::string> lyingTools;
    for (const Placed& p : placed) {
        const bool tool = !p.name.empty() && std::any_of(toolTasks.begin(), toolTasks.end(), [&](const ToolTask& t) {
            return t.tool.find(p.name) != std::string::npos;
        });
        if (tool && (split || listed.count(p.name) || wholeTools.count(p.name))) {
            copies.push_back(p.name);
            lyingTools.insert(p.name);
        }
    }
    // The measure wins the scene: its tool task needs no copy.
    toolTasks.erase(std::remove_if(toolTasks.begin(), toolTasks.end(),
                                   [&](const ToolTask& t) {
                                       return measure &&
                                              t.tool.find(PlayFieldPointer::kMeasuringUnit) != std::string::npos;
                                   }),
                    toolTasks.end());

    const ToolMatch match(toolTasks, copies);
    for (size_t t = 0; t < toolTasks.size(); ++t) {
        const ToolTask& task = toolTasks[t];
        std::vector<std::string> names;
        for (const std::string& c : copies)
            if (task.tool.find(c) != std::string::npos && std::find(names.begin(), names.end(), c) == names.end())
                names.push_back(c);
        if (names.empty()) {
            faults.push_back({"task \"" + task.name + "\"",
                              "it waits for the tool \"" + task.tool +
                                  "\", which is neither a tool lying in the scene for a click to take up nor in "
                                  "the bag at the start"});
            continue;
        }
        const size_t left = match.Unmatched(t);
        if (left == 0) continue;
        std::vector<std::string> users;
        size_t uses = 0, held = 0;
        for (const ToolTask& other : toolTasks)
            if (!other.givesBack && std::any_of(names.begin(), names.end(), [&](const std::string& n) {
                    return other.tool.find(n) != std::string::npos;
                })) {
                users.push_back(other.name);
                uses += other.targets;
            }
        for (const std::string& c : copies) held += std::find(names.begin(), names.end(), c) != names.end();
        faults.push_back({"task \"" + task.name + "\"",
                          "no copy of the tool " + Quoted(names) + " is left for " + std::to_string(left) +
                              " of its targets: the tool tasks " + Quoted(users) + " use up " + std::to_string(uses) +
                              " (one a target), and the scene holds " + std::to_string(held)});
    }

    for (const Placed& p : placed) {
        if (!listed.count(p.name) && !lyingTools.count(p.name)) continue;
        Frame f;
        if (!frameOf(p.resource, p.animation, f)) {
            faults.push_back({"object \"" + p.name + "\"", "its picture \"" + p.resource + "\" is no resource, so "
                                                           "nothing of it takes a click"});
            continue;
        }
        const float left = p.x - f.hotX, top = p.y - f.hotY, right = left + f.w, bottom = top + f.h;
        if (left >= 0 && top >= 0 && right <= kPictureW && bottom <= kPictureH) continue;
        const bool wholly = right <= 0 || bottom <= 0 || left >= kPictureW || top >= kPictureH;
        char box[96];
        std::snprintf(box, sizeof box, "(%g, %g)-(%g, %g)", double(left), double(top), double(right), double(bottom));
        faults.push_back({"object \"" + p.name + "\"", std::string("its drawn box ") + box +
                                                           (wholly ? " lies outside" : " reaches beyond") +
                                                           " the 1024 x 768 picture"});
    }
    return faults;
}

}  // namespace contenttest
