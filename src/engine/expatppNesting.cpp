#include "engine/expatppNesting.h"

expatppNesting::expatppNesting() : expatpp(true) {
    if (m_parser) XML_SetElementHandler(m_parser, &NestedStartCallback, &NestedEndCallback);
}

expatppNesting::expatppNesting(expatppNesting* parent) : expatpp(false), m_parent(parent) {
    if (!parent) return;
    m_parser = parent->m_parser;
    m_owner = parent->m_owner ? parent->m_owner : parent;
    if (m_parser) XML_SetUserData(m_parser, static_cast<expatpp*>(this));
}

expatppNesting::~expatppNesting() {
    if (!m_parent) ReleaseSubParsers();
}

void expatppNesting::ReleaseSubParsers() {
    if (!m_parser || m_owner != this) return;
    expatpp* current = static_cast<expatpp*>(XML_GetUserData(m_parser));
    while (current && current != this) {
        expatppNesting* nested = dynamic_cast<expatppNesting*>(current);
        if (!nested || !nested->m_parent) break;
        current = nested->returnToParent();
    }
    XML_SetUserData(m_parser, static_cast<expatpp*>(this));
}

expatppNesting* expatppNesting::returnToParent() {
    expatppNesting* parent = m_parent;
    if (!parent) return this;
    if (m_parser) XML_SetUserData(m_parser, static_cast<expatpp*>(parent));
    m_parser = nullptr;
    m_parent = nullptr;
    delete this;
    return parent;
}

void expatppNesting::NestedStartCallback(void* userData, const XML_Char* name, const XML_Char** atts) {
    if (!Active(userData)) return;
    expatpp* owner = Owner(userData);
    try {
        expatpp* current = Current(userData);
        if (expatppNesting* nested = dynamic_cast<expatppNesting*>(current)) ++nested->m_depth;
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
        while (nested && nested->m_depth == 0 && nested->m_parent) nested = nested->returnToParent();
        if (nested) {
            nested->endElement(name);
            if (nested->m_depth > 0) --nested->m_depth;
        } else {
            current->endElement(name);
        }
    } catch (...) {
        // The owner outlives every hand-back of the loop above.
        Fail(owner);
    }
}
