#include "screens/MedalList.h"

#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"

namespace MedalList {

std::vector<MedalInfo> Load(const std::string& file, const std::string& reader) {
    std::vector<MedalInfo> medals;
    XMLDocument document("medals");
    if (!document.Load(file) || !document.GetRoot()) {
        HtmlLog::Instance()->Warning(reader + ": the medals file cannot be read: " + HtmlLog::Shown(file));
        return medals;
    }
    for (const auto& element : document.GetRoot()->GetChildren()) {
        if (!element) continue;
        MedalInfo medal;
        medal.id = element->GetUIntAttribute("id");
        medal.sprite = element->GetStringAttribute("sprite");
        medal.x = element->GetFloatAttribute("x");
        medal.y = element->GetFloatAttribute("y");
        medal.z = element->GetFloatAttribute("z");
        medals.push_back(medal);
    }
    return medals;
}

bool Knows(int64_t id, const std::string& file, const std::string& reader) {
    for (const MedalInfo& medal : Load(file, reader))
        if (int64_t(medal.id) == id) return true;
    HtmlLog::Instance()->Warning(reader + ": the medal " + std::to_string(id) + " is not in the medals file " +
                                 HtmlLog::Shown(file) + "; it is not kept.");
    return false;
}

}  // namespace MedalList
