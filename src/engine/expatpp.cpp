#include "engine/expatpp.h"

expatpp::expatpp(bool createParser) {
    if (!createParser) return;
    m_parser = XML_ParserCreate(nullptr);
    if (!m_parser) return;
    XML_SetUserData(m_parser, this);
    XML_SetElementHandler(m_parser, &StartElementCallback, &EndElementCallback);
    XML_SetCharacterDataHandler(m_parser, &CharDataCallback);
    XML_SetProcessingInstructionHandler(m_parser, &ProcessingInstructionCallback);
    // The expanding form: internal entities still reach the character data.
    XML_SetDefaultHandlerExpand(m_parser, &DefaultHandlerCallback);
    XML_SetUnparsedEntityDeclHandler(m_parser, &UnparsedEntityDeclCallback);
    XML_SetNotationDeclHandler(m_parser, &NotationDeclCallback);
    XML_SetNotStandaloneHandler(m_parser, &NotStandaloneCallback);
    XML_SetNamespaceDeclHandler(m_parser, &StartNamespaceCallback, &EndNamespaceCallback);
}

expatpp::~expatpp() {
    if (m_parser && m_owner == this) XML_ParserFree(m_parser);
    m_parser = nullptr;
}

bool expatpp::HandlerFailed() const { return m_owner ? m_owner->m_handlerFailed : m_handlerFailed; }

expatpp* expatpp::Owner(void* userData) {
    expatpp* self = Current(userData);
    return self->m_owner ? self->m_owner : self;
}

void expatpp::Fail(void* userData) {
    expatpp* owner = Owner(userData);
    owner->m_handlerFailed = true;
    if (owner->m_parser) XML_StopParser(owner->m_parser, XML_FALSE);
}

bool expatpp::Active(void* userData) { return userData && !Current(userData)->HandlerFailed(); }

// Each callback below runs the operation and keeps any exception on this side
// of expat.
#define EXPATPP_GUARDED(call)              \
    if (!Active(userData)) return;         \
    expatpp* owner = Owner(userData);      \
    try {                                  \
        call;                              \
    } catch (...) {                        \
        Fail(owner);                       \
    }

void expatpp::StartElementCallback(void* userData, const XML_Char* name, const XML_Char** atts) {
    EXPATPP_GUARDED(Current(userData)->startElement(name, atts))
}

void expatpp::EndElementCallback(void* userData, const XML_Char* name) {
    EXPATPP_GUARDED(Current(userData)->endElement(name))
}

void expatpp::CharDataCallback(void* userData, const XML_Char* s, int len) {
    EXPATPP_GUARDED(Current(userData)->charData(s, len))
}

void expatpp::ProcessingInstructionCallback(void* userData, const XML_Char* target, const XML_Char* data) {
    EXPATPP_GUARDED(Current(userData)->processingInstruction(target, data))
}

void expatpp::DefaultHandlerCallback(void* userData, const XML_Char* s, int len) {
    EXPATPP_GUARDED(Current(userData)->defaultHandler(s, len))
}

int expatpp::NotStandaloneCallback(void* userData) {
    if (!Active(userData)) return 0;
    expatpp* owner = Owner(userData);
    try {
        return Current(userData)->notSelfContainedHandler();
    } catch (...) {
        Fail(owner);
        return 0;
    }
}

void expatpp::UnparsedEntityDeclCallback(void* userData, const XML_Char* entityName, const XML_Char* base,
                                         const XML_Char* systemId, const XML_Char* publicId,
                                         const XML_Char* notationName) {
    EXPATPP_GUARDED(Current(userData)->unparsedEntityDecl(entityName, base, systemId, publicId, notationName))
}

void expatpp::NotationDeclCallback(void* userData, const XML_Char* notationName, const XML_Char* base,
                                   const XML_Char* systemId, const XML_Char* publicId) {
    EXPATPP_GUARDED(Current(userData)->notationDecl(notationName, base, systemId, publicId))
}

void expatpp::StartNamespaceCallback(void* userData, const XML_Char* prefix, const XML_Char* uri) {
    EXPATPP_GUARDED(Current(userData)->startNamespace(prefix, uri))
}

void expatpp::EndNamespaceCallback(void* userData, const XML_Char* prefix) {
    EXPATPP_GUARDED(Current(userData)->endNamespace(prefix))
}

#undef EXPATPP_GUARDED
