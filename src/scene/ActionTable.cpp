#include "scene/ActionTable.h"

#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"

void ActionTable::Load(const std::string& path) {
    entries.clear();
    XMLDocument document("actions");
    if (!document.Load(path)) return;
    for (const auto& group : document.GetRoot()->GetChildren()) {
        if (!group) continue;
        if (!group->HasAttribute("type")) {
            HtmlLog::Instance()->Error("Action table \"" + HtmlLog::Shown(path) + "\": a group &lt;" + HtmlLog::Shown(group->GetName()) +
                                       "&gt; has no attribute \"type\"; it is skipped.");
            continue;
        }
        auto& names = entries[group->GetStringAttribute("type")];
        for (const auto& entry : group->GetChildren()) {
            if (!entry) continue;
            if (!entry->HasAttribute("name")) {
                HtmlLog::Instance()->Error("Action table \"" + HtmlLog::Shown(path) + "\": an entry &lt;" + HtmlLog::Shown(entry->GetName()) +
                                           "&gt; has no attribute \"name\"; it is skipped.");
                continue;
            }
            const std::string name = entry->GetStringAttribute("name");
            names[name] = entry->HasAttribute("path") ? entry->GetStringAttribute("path") : name;
        }
    }
}

std::string ActionTable::Resolve(const std::string& type, const std::string& name) const {
    const auto group = entries.find(type);
    if (group == entries.end()) return name;
    const auto entry = group->second.find(name);
    return entry == group->second.end() ? name : entry->second;
}
