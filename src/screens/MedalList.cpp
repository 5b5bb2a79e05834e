#include "screens/MedalList.h"

#include "engine/HtmlLog.h"
#include "engine/XMLDocument.h"

namespace MedalList {

std::vector<MedalInfo> Load(const std::string& file, const std::string& reader) {
    std::vector<MedalInfo> medals;
    XMLDocument document("medals");
    if (!document.Load(file) || !document.GetRoot()) {
        HtmlLog::Instance()->Warning(reader + ": the medals file cannot be read: " + file);
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

}  // namespace MedalList
