// Every tool task of the story (a task that waits for an item held over its
// target: a key on a drawer, a boat hook on a crate, the dividers on a print)
// as a new player meets it, one printed row each: the target takes the tool
// over all of what is drawn of it, at least 40 pixels across and high at
// 800 x 600 (the texels a click takes, as the play field's hit test reads
// them); the target glitters from the start; and the player learns of the tool
// before being left with nothing else to do: it is on the clue list, in the
// bag from the start, or named by a hint window that opens at the start or
// when listed clues are found (a hint only after the tool is taken comes too
// late). A tool's own task grants no cigars: the tool flies into the bag, not
// to the cigar counter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ContentFiles.h"
#include "ContentPicture.h"
#include "engine/XMLDocument.h"
#include "graphics/hgeAnimation.h"
#include "graphics/hgeSprite.h"

namespace {

using contenttest::ChildText;
using contenttest::Texels;
using Element = XMLDocument::XMLElement;

const float kSceneToScreen = 0.78125f;
const float kLeastSpan = 40.0f;  // screen pixels, across and high
const int kHitAlpha = 60;        // a texel with more alpha takes a click

struct Task {
    std::string name, type, tool;
    std::vector<std::string> items;
};

struct Condition {
    std::vector<std::string> finished;
    std::vector<std::pair<std::string, std::string>> actions;  // type, name
};

// What the scene file says, kind by kind.
struct SceneFile {
    std::map<std::string, std::string> units;    // id: sprite or animation
    std::map<std::string, std::string> objects;  // name: unit id
    std::vector<Task> tasks;
    std::vector<Condition> conditions;
    std::set<std::string> inBag, glitter, ignoredForAdding;

    explicit SceneFile(const Element& root) {
        for (const auto& e : root.GetChildren()) {
            const std::string kind = e->GetName();
            if (kind == "unit") {
                const std::string sprite = ChildText(*e, "sprite");
                units[ChildText(*e, "id")] = sprite.empty() ? ChildText(*e, "animation") : sprite;
            } else if (kind == "object") {
                objects[ChildText(*e, "name")] = ChildText(*e, "id");
            } else if (kind == "task") {
                Task t{e->GetStringAttribute("name"), e->GetStringAttribute("type"),
                       e->HasAttribute("tool_to_find") ? e->GetStringAttribute("tool_to_find") : "", {}};
                for (const auto& item : e->GetChildren()) t.items.push_back(item->GetStringAttribute("name"));
                tasks.push_back(t);
            } else if (kind == "task_condition") {
                Condition c;
                for (const auto& part : e->GetChildren()) {
                    if (part->GetName() == "finished_task") c.finished.push_back(part->GetStringAttribute("name"));
                    if (part->GetName() == "action")
                        c.actions.emplace_back(part->GetStringAttribute("type"), part->GetStringAttribute("name"));
                }
                for (const auto& [type, name] : c.actions)
                    if (type == "IgnoreAdding") ignoredForAdding.insert(c.finished.begin(), c.finished.end());
                conditions.push_back(c);
            } else if (kind == "tool") {
                inBag.insert(e->GetStringAttribute("obj_name"));
            } else if (kind == "solve_later_object") {
                glitter.insert(e->GetStringAttribute("name"));
            }
        }
    }

    // A line of the clue list: a plain "And" task the panel counts down.
    bool Listed(const Task& t) const {
        return t.type == "And" && t.tool.empty() && !ignoredForAdding.count(t.name);
    }
    bool ListedTask(const std::string& name) const {
        return std::any_of(tasks.begin(), tasks.end(), [&](const Task& t) { return t.name == name && Listed(t); });
    }

    // How the player learns of the tool before it is needed; empty when not.
    std::string HowTold(const std::string& tool) const {
        std::vector<std::string> ways;
        for (const Task& t : tasks)
            if (Listed(t) && std::find(t.items.begin(), t.items.end(), tool) != t.items.end())
                ways.push_back("on the list (" + t.name + ")");
        if (inBag.count(tool)) ways.push_back("in the bag from the start");
        // A hint that waits for the tool's own finding comes after it is taken.
        auto findsTool = [&](const std::string& name) {
            return std::any_of(tasks.begin(), tasks.end(), [&](const Task& t) {
                return t.name == name && std::find(t.items.begin(), t.items.end(), tool) != t.items.end();
            });
        };
        for (const Condition& c : conditions) {
            const bool early = std::all_of(c.finished.begin(), c.finished.end(), [&](const std::string& name) {
                return ListedTask(name) && !findsTool(name);
            });
            if (!early) continue;
            for (const auto& [type, name] : c.actions) {
                if (type != "ShowHint") continue;
                std::string when = "at the start";
                if (!c.finished.empty()) {
                    when = "after";
                    for (const std::string& f : c.finished) when += " " + f;
                }
                ways.push_back("hint " + name.substr(0, name.find('/')) + " " + when);
            }
        }
        std::string told;
        for (const std::string& w : ways) told += (told.empty() ? "" : "; ") + w;
        return told;
    }
};

class ToolTasks : public contenttest::ResourceTest {
protected:
    // The extent at 800 x 600 of the texels of the object's picture that take a click.
    bool Span(const SceneFile& scene, const std::string& object, float& w, float& h) {
        const auto placed = scene.objects.find(object);
        if (placed == scene.objects.end()) return false;
        const std::string resource = scene.units.count(placed->second) ? scene.units.at(placed->second) : "";
        const hgeSprite* sprite = rm->GetSprite(resource.c_str());
        if (!sprite) sprite = rm->GetAnimation(resource.c_str());
        if (!sprite) return false;
        const Texels t = Texels::Of(hge, *sprite);
        int x1 = t.w, y1 = t.h, x2 = -1, y2 = -1;
        for (int y = 0; y < t.h; ++y)
            for (int x = 0; x < t.w; ++x)
                if (t.A(x, y) > kHitAlpha)
                    x1 = std::min(x1, x), y1 = std::min(y1, y), x2 = std::max(x2, x), y2 = std::max(y2, y);
        if (x2 < 0) return false;
        w = float(x2 - x1 + 1) * kSceneToScreen;
        h = float(y2 - y1 + 1) * kSceneToScreen;
        return true;
    }
};

TEST_F(ToolTasks, EveryTargetTakesItsToolOverWhatIsDrawnGlittersAndTheToolIsToldBeforeItIsNeeded) {
    const std::vector<std::string> files = contenttest::SceneFiles();
    std::printf("%-15s %-12s %-28s %-14s %-11s %-8s %s\n", "scene", "task", "tool", "target", "span (px)", "glitter",
                "how the tool is told");
    int rows = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        XMLDocument doc = XMLDocument::FromFile(file);
        ASSERT_TRUE(doc.IsLoaded());
        const SceneFile scene(*doc.GetRoot());
        for (const Task& task : scene.tasks) {
            if (task.tool.empty()) continue;
            SCOPED_TRACE(task.name);
            const std::string told = scene.HowTold(task.tool);
            for (const std::string& target : task.items) {
                ++rows;
                float w = 0, h = 0;
                const bool drawn = Span(scene, target, w, h);
                const bool glitters = scene.glitter.count(target) > 0;
                char span[32];
                std::snprintf(span, sizeof span, "%.0f x %.0f", w, h);
                std::printf("%-15s %-12s %-28s %-14s %-11s %-8s %s\n",
                            std::filesystem::path(file).filename().string().c_str(), task.name.c_str(),
                            task.tool.c_str(), target.c_str(), drawn ? span : "not drawn", glitters ? "yes" : "no",
                            told.empty() ? "not told" : told.c_str());
                EXPECT_TRUE(drawn) << target << " is no object with a picture";
                EXPECT_GE(w, kLeastSpan) << target << ": " << span << " px takes the tool";
                EXPECT_GE(h, kLeastSpan) << target << ": " << span << " px takes the tool";
                EXPECT_TRUE(glitters) << target << " does not glitter";
                EXPECT_FALSE(told.empty()) << task.tool << " is on no list, not in the bag and named by no early hint";
            }
            // A tool picked up flies into the bag: cigars its own task would
            // grant can never fly to the counter.
            for (const Task& listed : scene.tasks) {
                if (std::find(listed.items.begin(), listed.items.end(), task.tool) == listed.items.end()) continue;
                for (const Condition& c : scene.conditions) {
                    if (std::find(c.finished.begin(), c.finished.end(), listed.name) == c.finished.end()) continue;
                    for (const auto& [type, value] : c.actions)
                        EXPECT_NE(type, "AddCigars") << "the task " << listed.name << " of the tool " << task.tool
                                                     << " grants cigars it cannot give";
                }
            }
        }
    }
    std::fflush(stdout);
    EXPECT_GE(rows, 4) << "the drawer, the two crates and the print";
}

}  // namespace
