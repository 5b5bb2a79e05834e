#include "engine/XMLDocument.h"

#include <tinyxml.h>

#include <algorithm>

#include "engine/Conversions.h"
#include "engine/FileNumbers.h"
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

// Files nested deeper than this are refused before the (recursive) parser sees them.
const int kMaxDepth = 512;

// A pass over the text before TinyXML parses it. TinyXML refuses an element with
// two attributes of one name, but such files are kept whole: every repeated
// attribute name of a start tag is replaced by a unique placeholder, and the
// conversion puts the name back. The pass also measures the nesting depth.
class Prescan {
public:
    // Returns the text with the repeated names replaced.
    std::string Mark(const std::string& text) {
        m_prefix = "_drovalin_dup";
        while (text.find(m_prefix) != std::string::npos) m_prefix += '_';
        std::string out;
        std::size_t i = 0;
        const std::size_t n = text.size();
        while (i < n) {
            const std::size_t lt = text.find('<', i);
            if (lt == std::string::npos || lt + 1 >= n) break;
            out.append(text, i, lt - i);
            i = lt;
            const char next = text[lt + 1];
            if (text.compare(lt, 4, "<!--") == 0) {
                i = CopyThrough(text, out, i, "-->");
            } else if (text.compare(lt, 9, "<![CDATA[") == 0) {
                i = CopyThrough(text, out, i, "]]>");
            } else if (next == '?') {
                i = CopyThrough(text, out, i, "?>");
            } else if (next == '!') {
                i = CopyThrough(text, out, i, ">");
            } else if (next == '/') {
                i = CopyThrough(text, out, i, ">");
                --m_depth;
            } else {
                i = CopyStartTag(text, out, i);
                if (i >= n || text[i] != '/') m_maxDepth = std::max(m_maxDepth, ++m_depth);
            }
        }
        if (i < n) out.append(text, i, std::string::npos);
        return out;
    }

    int MaxDepth() const { return m_maxDepth; }

    // The attribute's name as the file has it.
    std::string Original(const std::string& name) const {
        if (m_names.empty() || name.compare(0, m_prefix.size(), m_prefix) != 0) return name;
        const std::string digits = name.substr(m_prefix.size());
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return name;
        const std::size_t index = StringToValue(digits);
        return index < m_names.size() ? m_names[index] : name;
    }

private:
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    static std::size_t CopyThrough(const std::string& text, std::string& out, std::size_t from, const char* end) {
        std::size_t at = text.find(end, from + 1);
        const std::size_t stop = at == std::string::npos ? text.size() : at + std::char_traits<char>::length(end);
        out.append(text, from, stop - from);
        return stop;
    }

    std::size_t CopyStartTag(const std::string& text, std::string& out, std::size_t i) {
        const std::size_t n = text.size();
        std::vector<std::string> seen;
        out += text[i++];  // '<'
        while (i < n && !IsSpace(text[i]) && text[i] != '>' && text[i] != '/') out += text[i++];  // tag name
        for (;;) {
            while (i < n && IsSpace(text[i])) out += text[i++];
            if (i >= n || text[i] == '>' || text[i] == '/' || text[i] == '<') return i;
            const std::size_t nameStart = i;
            while (i < n && !IsSpace(text[i]) && text[i] != '=' && text[i] != '>' && text[i] != '/' && text[i] != '<')
                ++i;
            const std::string name = text.substr(nameStart, i - nameStart);
            if (name.empty()) return i;
            if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
                out += m_prefix + ValueToString(static_cast<unsigned>(m_names.size()));
                m_names.push_back(name);
            } else {
                seen.push_back(name);
                out += name;
            }
            while (i < n && IsSpace(text[i])) out += text[i++];
            if (i >= n || text[i] != '=') continue;
            out += text[i++];
            while (i < n && IsSpace(text[i])) out += text[i++];
            if (i < n && (text[i] == '"' || text[i] == '\'')) {
                const char quote = text[i];
                const std::size_t close = text.find(quote, i + 1);
                const std::size_t stop = close == std::string::npos ? n : close + 1;
                out.append(text, i, stop - i);
                i = stop;
            }
        }
    }

    std::string m_prefix;
    std::vector<std::string> m_names;
    int m_depth = 0;
    int m_maxDepth = 0;
};

// TinyXML trims the blanks around a text, except a blank it took for the tail
// of a broken multi-byte sequence ("\xD7 "); the writer's indentation after
// such a text would then grow the text at every save and load. Blanks at
// either end are taken away here.
std::string Trimmed(const std::string& text) {
    const char* const blanks = " \t\n\r";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

void Convert(const TiXmlElement& from, XMLDocument::XMLElement& to, const Prescan& prescan) {
    const TiXmlNode* first = from.FirstChild();
    if (first && first->ToText()) to.SetValue(Trimmed(ValueToString(first->Value())));
    for (const TiXmlAttribute* a = from.FirstAttribute(); a; a = a->Next())
        to.AddAttribute(prescan.Original(a->Name()), std::string(a->Value()));
    for (const TiXmlElement* c = from.FirstChildElement(); c; c = c->NextSiblingElement()) {
        RefPtr<XMLDocument::XMLElement> child(new XMLDocument::XMLElement(ValueToString(c->Value())));
        Convert(*c, *child, prescan);
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

namespace {
const std::size_t kEndPadding = 8;
}

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
    Prescan prescan;
    const std::string text = prescan.Mark(NormaliseLineEnds(bytes));
    if (prescan.MaxDepth() > kMaxDepth) {
        m_lastError = full + ": elements nested more than " + ValueToString(kMaxDepth) + " deep";
        return false;
    }
    // TinyXML steps over whole UTF-8 sequences by their lead byte, so a lead
    // byte just before the end makes it jump past the terminating zero. A few
    // more zeros stop it inside the buffer.
    std::string padded = text;
    padded.append(kEndPadding, '\0');
    TiXmlDocument doc;
    doc.Parse(padded.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
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
    Convert(*rootElement, *root, prescan);
    m_root = root;
    m_loaded = true;
    m_lastError.clear();
    return true;
}

std::string XMLDocument::Escape(const std::string& text) { return MarkupEscaped(text); }

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
    HtmlLog::Instance()->Debug("Saving XML document to " + HtmlLog::Shown(full));
    std::string why;
    if (!FileSystem::WriteFileAtomic(full, ToText(), &why)) {
        HtmlLog::Instance()->Error("Cannot write XML document " + full + " (" + why + "); the old file is kept");
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
    return a ? FileNumbers::Finite(a->GetValue(), def, "The attribute \"" + HtmlLog::Shown(name) + "\" of &lt;" + HtmlLog::Shown(m_name) + "&gt;") : def;
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
