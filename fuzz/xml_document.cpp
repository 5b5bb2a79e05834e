// XML documents (screens, scenes, dialogs, profiles): any bytes must load or be
// refused without a fault, and a loaded tree must survive the writer: saved and
// loaded again it gives the same names, attributes and texts.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzEngine.h"
#include "FuzzFile.h"
#include "engine/XMLDocument.h"

namespace {

using Element = XMLDocument::XMLElement;

// Reads every attribute through every typed reader, as loaders do.
void Walk(const Element& element, int depth) {
    for (const RefPtr<XMLDocument::XMLAttribute>& a : element.GetAttributes()) {
        (void)element.GetFloatAttribute(a->GetName());
        (void)element.GetIntAttribute(a->GetName());
        (void)element.GetValueAttribute(a->GetName());
        (void)element.GetUIntAttribute(a->GetName());
        (void)element.GetBoolAttribute(a->GetName());
        (void)a->GetBool();
        (void)a->GetUInt();
    }
    for (const RefPtr<Element>& child : element.GetChildren()) Walk(*child, depth + 1);
}

// Element text with its blanks condensed: the reader condenses runs of blanks
// and trims the ends, so only the words must survive.
std::string Words(const std::string& text) {
    std::string out;
    bool blank = false;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            blank = true;
            continue;
        }
        if (blank && !out.empty()) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

bool Same(const Element& a, const Element& b) {
    if (a.GetName() != b.GetName() || Words(a.GetValue()) != Words(b.GetValue())) return false;
    if (a.GetAttributes().size() != b.GetAttributes().size()) return false;
    for (size_t i = 0; i < a.GetAttributes().size(); ++i) {
        if (a.GetAttributes()[i]->GetName() != b.GetAttributes()[i]->GetName()) return false;
        if (a.GetAttributes()[i]->GetValue() != b.GetAttributes()[i]->GetValue()) return false;
    }
    if (a.GetChildren().size() != b.GetChildren().size()) return false;
    for (size_t i = 0; i < a.GetChildren().size(); ++i)
        if (!Same(*a.GetChildren()[i], *b.GetChildren()[i])) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzEngine();
    const std::string path = FuzzFile("doc.xml", data, size);
    XMLDocument doc("any");
    if (!doc.Load(path)) return 0;
    Walk(*doc.GetRoot(), 0);

    if (!doc.Save(FuzzFolder() + "saved.xml")) std::abort();
    XMLDocument again("any");
    if (!again.Load(FuzzFolder() + "saved.xml")) std::abort();
    if (!Same(*doc.GetRoot(), *again.GetRoot())) std::abort();
    return 0;
}
