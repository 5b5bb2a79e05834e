#include "engine/XMLDocument.h"

#include <tinyxml.h>

#include "engine/Conversions.h"
#include "engine/HtmlLog.h"
#include "platform/FileSystem.h"

namespace {

// Readers accept CR LF and lone CR line ends.
std::string NormaliseLineEnds(const std::string& in) {
    std::string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '\r') {
            out += '\n';
            if (i + 1 < in.size() && in[i + 1] == '\n') ++i;
        } else {
            out += in[i];
        }
    }
    return out;
}

void Convert(const TiXmlElement& from, XMLDocument::XMLElement& to) {
    const TiXmlNode* first = from.FirstChild();
    if (first && first->ToText()) to.SetValue(ValueToString(first->Value()));
    for (const TiXmlAttribute* a = from.FirstAttribute(); a; a = a->Next())
        to.AddAttribute(a->Name(), std::string(a->Value()));
    for (const TiXmlElement* c = from.FirstChildElement(); c; c = c->NextSiblingElement()) {
        RefPtr<XMLDocument::XMLElement> child(new XMLDocument::XMLElement(ValueToString(c->Value())));
        Convert(*c, *child);
        to.AddChild(child);
    }
}

std::string ResolvedPath(const std::string& path) {
    std::string full = path;
    MakeAbsolutePath(full);
    return full;
}

}  // namespace

// ---- XMLDocument

XMLDocument::XMLDocument(const std::string& rootName) : m_root(new XMLElement(rootName)) {}

XMLDocument::XMLDocument(const std::string& path, FromFileTag) : m_root(new XMLElement("")) { Load(path); }

XMLDocument::~XMLDocument() = default;

XMLDocument XMLDocument::FromFile(const std::string& path) { return XMLDocument(path, FromFileTag{}); }

bool XMLDocument::Load(const std::string& path) {
    m_loaded = false;
    const std::string full = ResolvedPath(path);
    std::string bytes;
    if (!FileSystem::ReadFile(full, bytes)) {
        m_lastError = "cannot read " + full;
        return false;
    }
    const std::string text = NormaliseLineEnds(bytes);
    TiXmlDocument doc;
    doc.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    if (doc.Error()) {
        m_lastError = full + ": " + doc.ErrorDesc() + " (line " + ValueToString(doc.ErrorRow()) + ")";
        return false;
    }
    const TiXmlElement* rootElement = doc.FirstChildElement();
    if (!rootElement) {
        m_lastError = full + ": no element";
        return false;
    }
    RefPtr<XMLElement> root(new XMLElement(ValueToString(rootElement->Value())));
    Convert(*rootElement, *root);
    m_root = root;
    m_loaded = true;
    m_lastError.clear();
    return true;
}

std::string XMLDocument::Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string XMLDocument::ElementText(const XMLElement& element, const std::string& indent) {
    std::string out = indent + "<" + element.GetName();
    for (const RefPtr<XMLAttribute>& a : element.GetAttributes()) out += " " + a->ToString();
    const bool noValue = element.GetValue().empty();
    if (noValue && element.GetChildren().empty()) return out + "/>";
    out += ">";
    out += noValue ? std::string("\n") : Escape(element.GetValue());
    const std::string childIndent = indent + "    ";
    for (const RefPtr<XMLElement>& c : element.GetChildren()) out += ElementText(*c, childIndent) + "\n";
    if (noValue) out += indent;
    return out + "</" + element.GetName() + ">";
}

std::string XMLDocument::ToText() const { return ElementText(*m_root, ""); }

bool XMLDocument::Save(const std::string& path) const {
    const std::string full = ResolvedPath(path);
    const std::size_t slash = full.find_last_of('/');
    if (slash != std::string::npos && slash > 0) FileSystem::MakeDirectories(full.substr(0, slash));
    HtmlLog::Instance()->Debug("Saving XML document to " + full);
    if (!FileSystem::WriteFileAtomic(full, ToText())) {
        HtmlLog::Instance()->Error("Cannot write XML document " + full);
        return false;
    }
    return true;
}

// ---- XMLAttribute

std::string XMLDocument::XMLAttribute::ToString() const { return m_name + "=\"" + Escape(m_value) + "\""; }

bool XMLDocument::XMLAttribute::GetBool() const { return StringToBool(m_value); }

unsigned int XMLDocument::XMLAttribute::GetUInt() const { return StringToUInt(m_value); }

// ---- XMLElement

void XMLDocument::XMLElement::AddChild(const RefPtr<XMLElement>& child) {
    if (child) m_children.push_back(child);
}

RefPtr<XMLDocument::XMLElement> XMLDocument::XMLElement::CreateChild(const std::string& name) {
    RefPtr<XMLElement> child(new XMLElement(name));
    m_children.push_back(child);
    return child;
}

RefPtr<XMLDocument::XMLElement> XMLDocument::XMLElement::FindChild(const std::string& name) const {
    for (const RefPtr<XMLElement>& c : m_children)
        if (c->GetName() == name) return c;
    return RefPtr<XMLElement>();
}

void XMLDocument::XMLElement::AddAttribute(const std::string& name, const std::string& value) {
    m_attributes.push_back(RefPtr<XMLAttribute>(new XMLAttribute(name, value)));
}
void XMLDocument::XMLElement::AddAttribute(const std::string& name, const char* value) {
    AddAttribute(name, ValueToString(value));
}
void XMLDocument::XMLElement::AddAttribute(const std::string& name, bool value) {
    AddAttribute(name, ValueToString(value));
}
void XMLDocument::XMLElement::AddAttribute(const std::string& name, int value) {
    AddAttribute(name, ValueToString(value));
}
void XMLDocument::XMLElement::AddAttribute(const std::string& name, unsigned int value) {
    AddAttribute(name, ValueToString(value));
}
void XMLDocument::XMLElement::AddAttribute(const std::string& name, float value) {
    AddAttribute(name, ValueToString(value));
}
void XMLDocument::XMLElement::AddAttribute(const std::string& name, double value) {
    AddAttribute(name, ValueToString(value));
}

const XMLDocument::XMLAttribute* XMLDocument::XMLElement::FindAttribute(const std::string& name) const {
    for (const RefPtr<XMLAttribute>& a : m_attributes)
        if (a->GetName() == name) return a.Get();
    return nullptr;
}

RefPtr<XMLDocument::XMLAttribute> XMLDocument::XMLElement::GetAttribute(const std::string& name) const {
    return RefPtr<XMLAttribute>(const_cast<XMLAttribute*>(FindAttribute(name)));
}

bool XMLDocument::XMLElement::HasAttribute(const std::string& name) const { return FindAttribute(name) != nullptr; }

float XMLDocument::XMLElement::GetFloatAttribute(const std::string& name, float def) const {
    const XMLAttribute* a = FindAttribute(name);
    return a ? StringToFloat(a->GetValue()) : def;
}

int XMLDocument::XMLElement::GetIntAttribute(const std::string& name, int def) const {
    const XMLAttribute* a = FindAttribute(name);
    return a ? StringToInt(a->GetValue()) : def;
}

unsigned int XMLDocument::XMLElement::GetValueAttribute(const std::string& name, unsigned int def) const {
    const XMLAttribute* a = FindAttribute(name);
    return a ? StringToValue(a->GetValue()) : def;
}

std::string XMLDocument::XMLElement::GetStringAttribute(const std::string& name, const std::string& def) const {
    const XMLAttribute* a = FindAttribute(name);
    return a ? a->GetValue() : def;
}

bool XMLDocument::XMLElement::GetBoolAttribute(const std::string& name, bool def) const {
    const XMLAttribute* a = FindAttribute(name);
    return a ? a->GetBool() : def;
}

unsigned int XMLDocument::XMLElement::GetUIntAttribute(const std::string& name, unsigned int def) const {
    const XMLAttribute* a = FindAttribute(name);
    return a ? a->GetUInt() : def;
}

// ---- XmlAttr

namespace XmlAttr {

bool GetBool(const XMLDocument::XMLElement& element, const std::string& name, bool def) {
    return element.GetBoolAttribute(name, def);
}

unsigned int GetUInt(const XMLDocument::XMLElement& element, const std::string& name, unsigned int def) {
    return element.GetUIntAttribute(name, def);
}

bool GetBool(const RefPtr<XMLDocument::XMLAttribute>& attribute, bool def) {
    return attribute ? attribute->GetBool() : def;
}

unsigned int GetUInt(const RefPtr<XMLDocument::XMLAttribute>& attribute, unsigned int def) {
    return attribute ? attribute->GetUInt() : def;
}

}  // namespace XmlAttr
