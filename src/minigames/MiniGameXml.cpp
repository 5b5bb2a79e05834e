#include "minigames/MiniGameXml.h"

#include "engine/Conversions.h"
#include "engine/FileNumbers.h"
#include "engine/HtmlLog.h"

namespace MiniGameXml {
namespace {

bool Present(const XMLDocument::XMLElement& element, const char* attribute, const std::string& file) {
    if (element.HasAttribute(attribute)) return true;
    HtmlLog::Instance()->Error("Mini-game " + HtmlLog::Shown(file) + ": the required attribute \"" + attribute + "\" is missing");
    return false;
}

}  // namespace

float RequiredFloat(const XMLDocument::XMLElement& element, const char* attribute, const std::string& file) {
    return Present(element, attribute, file) ? element.GetFloatAttribute(attribute) : 0.0f;
}

int RequiredInt(const XMLDocument::XMLElement& element, const char* attribute, const std::string& file) {
    return Present(element, attribute, file) ? element.GetIntAttribute(attribute) : 0;
}

bool RequiredBool(const XMLDocument::XMLElement& element, const char* attribute, const std::string& file) {
    return Present(element, attribute, file) ? element.GetBoolAttribute(attribute) : false;
}

std::string RequiredString(const XMLDocument::XMLElement& element, const char* attribute, const std::string& file) {
    return Present(element, attribute, file) ? element.GetStringAttribute(attribute) : std::string();
}

std::string ChildText(const XMLDocument::XMLElement& element, const char* child) {
    RefPtr<XMLDocument::XMLElement> found = element.FindChild(child);
    return found ? found->GetValue() : std::string();
}

float ChildFloat(const XMLDocument::XMLElement& element, const char* child) {
    return FileNumbers::Finite(ChildText(element, child), 0.0f,
                               "The child &lt;" + std::string(child) + "&gt; of &lt;" + HtmlLog::Shown(element.GetName()) + "&gt;");
}

int ChildInt(const XMLDocument::XMLElement& element, const char* child) {
    return StringToInt(ChildText(element, child));
}

bool HasChild(const XMLDocument::XMLElement& element, const char* child) {
    return bool(element.FindChild(child));
}

}  // namespace MiniGameXml
