// A small XML tree of reference-counted elements and attributes. Files are read
// through the file layer and parsed by TinyXML, whose objects never leave Load;
// the tree is written by its own writer in one fixed form (LF line ends, values
// escaped, no declaration, no newline after the root's closing tag).
#pragma once

#include <boost/noncopyable.hpp>
#include <string>
#include <vector>

#include "engine/RefCounted.h"

class XMLDocument : private boost::noncopyable {
public:
    class XMLAttribute;
    class XMLElement;

    // A document whose root is an empty element of that name.
    explicit XMLDocument(const std::string& rootName);
    virtual ~XMLDocument();

    // A document loaded from the file; IsLoaded() tells whether that worked
    // (if not, the root is an empty element without a name).
    static XMLDocument FromFile(const std::string& path);

    // Reads the file and replaces the root. False, the root unchanged, when the
    // file cannot be read, is not well-formed or holds no element. Logs nothing;
    // GetLastError() says why. Relative paths are relative to the program folder.
    bool Load(const std::string& path);
    // Writes the tree to a temporary file, then renames it over the target;
    // folders are created as needed. False and an Error row when it fails.
    bool Save(const std::string& path) const;

    RefPtr<XMLElement> GetRoot() const { return m_root; }
    bool IsLoaded() const { return m_loaded; }
    const std::string& GetLastError() const { return m_lastError; }

    // The whole file as Save writes it.
    std::string ToText() const;
    // One element in the writer's form, its lines indented by the given text.
    static std::string ElementText(const XMLElement& element, const std::string& indent);
    // "&", "<", ">", '"' and "'" as entity references.
    static std::string Escape(const std::string& text);

private:
    struct FromFileTag {};
    XMLDocument(const std::string& path, FromFileTag);

    RefPtr<XMLElement> m_root;
    bool m_loaded = false;
    std::string m_lastError;
};

class XMLDocument::XMLAttribute : public RefCounted {
public:
    XMLAttribute(const std::string& name, const std::string& value) : m_name(name), m_value(value) {}

    const std::string& GetName() const { return m_name; }
    const std::string& GetValue() const { return m_value; }
    void SetValue(const std::string& value) { m_value = value; }
    // name="value", the value escaped.
    std::string ToString() const;

    bool GetBool() const;
    unsigned int GetUInt() const;

private:
    std::string m_name;
    std::string m_value;
};

class XMLDocument::XMLElement : public RefCounted {
public:
    explicit XMLElement(const std::string& name) : m_name(name) {}

    const std::string& GetName() const { return m_name; }
    const std::string& GetValue() const { return m_value; }
    void SetName(const std::string& name) { m_name = name; }
    void SetValue(const std::string& value) { m_value = value; }

    const std::vector<RefPtr<XMLAttribute>>& GetAttributes() const { return m_attributes; }
    std::vector<RefPtr<XMLAttribute>>& GetAttributes() { return m_attributes; }
    const std::vector<RefPtr<XMLElement>>& GetChildren() const { return m_children; }
    std::vector<RefPtr<XMLElement>>& GetChildren() { return m_children; }

    void AddChild(const RefPtr<XMLElement>& child);
    // Appends a new empty element of that name and returns it.
    RefPtr<XMLElement> CreateChild(const std::string& name);
    // The first child of that name; empty when there is none.
    RefPtr<XMLElement> FindChild(const std::string& name) const;

    // Appends an attribute even when one of that name exists.
    void AddAttribute(const std::string& name, const std::string& value);
    void AddAttribute(const std::string& name, const char* value);
    void AddAttribute(const std::string& name, bool value);
    void AddAttribute(const std::string& name, int value);
    void AddAttribute(const std::string& name, unsigned int value);
    void AddAttribute(const std::string& name, float value);
    void AddAttribute(const std::string& name, double value);

    // The first attribute of exactly that name; empty when there is none.
    RefPtr<XMLAttribute> GetAttribute(const std::string& name) const;
    bool HasAttribute(const std::string& name) const;

    // Typed readers: a missing attribute gives the default, and so does a
    // float that is not finite (nan, inf, 1e39), with an Error row.
    float GetFloatAttribute(const std::string& name, float def = 0.0f) const;
    int GetIntAttribute(const std::string& name, int def = 0) const;
    unsigned int GetValueAttribute(const std::string& name, unsigned int def = 0) const;
    std::string GetStringAttribute(const std::string& name, const std::string& def = std::string()) const;
    bool GetBoolAttribute(const std::string& name, bool def = false) const;
    // Decimal or "0x" hexadecimal (colours).
    unsigned int GetUIntAttribute(const std::string& name, unsigned int def = 0) const;

private:
    const XMLAttribute* FindAttribute(const std::string& name) const;

    std::string m_name;
    std::string m_value;
    std::vector<RefPtr<XMLAttribute>> m_attributes;
    std::vector<RefPtr<XMLElement>> m_children;
};

// Readers of one attribute of an element that may lack it (false, 0).
namespace XmlAttr {
bool GetBool(const XMLDocument::XMLElement& element, const std::string& name, bool def = false);
unsigned int GetUInt(const XMLDocument::XMLElement& element, const std::string& name, unsigned int def = 0);
bool GetBool(const RefPtr<XMLDocument::XMLAttribute>& attribute, bool def = false);
unsigned int GetUInt(const RefPtr<XMLDocument::XMLAttribute>& attribute, unsigned int def = 0);
}  // namespace XmlAttr
