#include "engine/expatppNesting.h"

expatppNesting::expatppNesting() : expatpp(true) {
    if (m_parser) XML_SetElementHandler(m_parser, &NestedStartCallback, &NestedEndCallback);
}

expatppNesting::expatppNesting(expatppNesting* outer) : expatpp(false), parent(outer) {
    if (!outer) return;
    m_parser = outer->m_parser;
    m_owner = outer->m_owner ? outer->m_owner : outer;
    if (m_parser) XML_SetUserData(m_parser, static_cast<expatpp*>(this));
}

expatppNesting::~expatppNesting() {
    if (!parent) ReleaseSubParsers();
}

void expatppNesting::ReleaseSubParsers() {
    if (!m_parser || m_owner != this) return;
    expatpp* current = static_cast<expatpp*>(XML_GetUserData(m_parser));
    while (current && current != this) {
        expatppNesting* nested = dynamic_cast<expatppNesting*>(current);
        if (!nested || !nested->parent) break;
        current = nested->returnToParent();
    }
    XML_SetUserData(m_parser, static_cast<expatpp*>(this));
}

expatppNesting* expatppNesting::returnToParent() {
    expatppNesting* outer = parent;
    if (!outer) return this;
    if (m_parser) XML_SetUserData(m_parser, static_cast<expatpp*>(outer));
    m_parser = nullptr;
    parent = nullptr;
    delete this;
    return outer;
}

void expatppNesting::NestedStartCallback(void* userData, const XML_Char* name, const XML_Char** atts) {
    if (!Active(userData)) return;
    expatpp* owner = Owner(userData);
    try {
        expatpp* current = Current(userData);
        if (expatppNesting* nested = dynamic_cast<expatppNesting*>(current)) ++nested->depth;
        current->startElement(name, atts);
    } catch (...) {
        Fail(owner);
    }
}

void expatppNesting::NestedEndCallback(void* userData, const XML_Char* name) {
    if (!Active(userData)) return;
    expatpp* owner = Owner(userData);
    try {
        expatpp* current = Current(userData);
        expatppNesting* nested = dynamic_cast<expatppNesting*>(current);
        while (nested && nested->depth == 0 && nested->parent) nested = nested->returnToParent();
        if (nested) {
            nested->endElement(name);
            if (nested->depth > 0) --nested->depth;
        } else {
            current->endElement(name);
        }
    } catch (...) {
        // The owner outlives every hand-back of the loop above.
        Fail(owner);
    }
}
