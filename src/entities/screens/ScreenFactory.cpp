#include "entities/screens/ScreenFactory.h"

#include <map>

#include "engine/HtmlLog.h"

namespace ZOLTFramework {

namespace {
std::map<std::string, ScreenFactory::Maker>& Makers() {
    static std::map<std::string, ScreenFactory::Maker> makers;
    return makers;
}
}  // namespace

const char* const ScreenFactory::kMainMenu = "MainMenu";
const char* const ScreenFactory::kGlobalMap = "GlobalMap";
const char* const ScreenFactory::kIntro = "Intro";

void ScreenFactory::Register(const std::string& kind, Maker maker) {
    if (maker)
        Makers()[kind] = std::move(maker);
    else
        Makers().erase(kind);
}

bool ScreenFactory::IsRegistered(const std::string& kind) { return Makers().count(kind) != 0; }

CEntity* ScreenFactory::Open(EntityManager* manager, const std::string& kind, const std::string& name) {
    if (!manager) return nullptr;
    auto it = Makers().find(kind);
    if (it == Makers().end()) {
        HtmlLog::Instance()->Warning("No screen maker is registered for " + HtmlLog::Shown(kind) + " (screen " + HtmlLog::Shown(name) + ").");
        return nullptr;
    }
    CEntity* screen = it->second(*manager, name);
    if (!screen) HtmlLog::Instance()->Warning("The screen maker for " + HtmlLog::Shown(kind) + " made no screen " + HtmlLog::Shown(name) + ".");
    return screen;
}


}  // namespace ZOLTFramework
