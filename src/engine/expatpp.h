// An object layer over the expat parser: expat's callbacks become virtual
// operations of one object (the parser's user data). Every callback is guarded:
// an exception thrown by an operation is caught before it reaches expat's C
// frames, the parse is stopped and the failure is remembered (HandlerFailed).
#pragma once

#include <expat.h>

class expatpp {
public:
    explicit expatpp(bool createParser = true);
    virtual ~expatpp();

    expatpp(const expatpp&) = delete;
    expatpp& operator=(const expatpp&) = delete;

    virtual void startElement(const XML_Char* name, const XML_Char** atts) {}
    virtual void endElement(const XML_Char* name) {}
    virtual void charData(const XML_Char* s, int len) {}
    virtual void processingInstruction(const XML_Char* target, const XML_Char* data) {}
    virtual void defaultHandler(const XML_Char* s, int len) {}
    virtual int notSelfContainedHandler() { return 0; }
    virtual void unparsedEntityDecl(const XML_Char* entityName, const XML_Char* base,
                                    const XML_Char* systemId, const XML_Char* publicId,
                                    const XML_Char* notationName) {}
    virtual void notationDecl(const XML_Char* notationName, const XML_Char* base,
                              const XML_Char* systemId, const XML_Char* publicId) {}
    virtual void startNamespace(const XML_Char* prefix, const XML_Char* uri) {}
    virtual void endNamespace(const XML_Char* prefix) {}

    XML_Parser GetParser() const { return m_parser; }

    // True once an operation threw during the parse (shared by every object
    // that uses the same expat parser).
    bool HandlerFailed() const;

protected:
    // The object that created the expat parser; sub-parsers point to theirs.
    expatpp* m_owner = this;
    XML_Parser m_parser = nullptr;
    bool m_handlerFailed = false;

    // The object that receives the callbacks now (the parser's user data).
    static expatpp* Current(void* userData) { return static_cast<expatpp*>(userData); }
    // The object that owns the expat parser behind a callback's user data; it
    // lives through the whole parse.
    static expatpp* Owner(void* userData);
    // Stops the parse after an exception escaped an operation.
    static void Fail(void* userData);
    // False when a failure stopped the parse and callbacks must be skipped.
    static bool Active(void* userData);

private:
    static void XMLCALL StartElementCallback(void* userData, const XML_Char* name, const XML_Char** atts);
    static void XMLCALL EndElementCallback(void* userData, const XML_Char* name);
    static void XMLCALL CharDataCallback(void* userData, const XML_Char* s, int len);
    static void XMLCALL ProcessingInstructionCallback(void* userData, const XML_Char* target,
                                                      const XML_Char* data);
    static void XMLCALL DefaultHandlerCallback(void* userData, const XML_Char* s, int len);
    static int XMLCALL NotStandaloneCallback(void* userData);
    static void XMLCALL UnparsedEntityDeclCallback(void* userData, const XML_Char* entityName,
                                                   const XML_Char* base, const XML_Char* systemId,
                                                   const XML_Char* publicId, const XML_Char* notationName);
    static void XMLCALL NotationDeclCallback(void* userData, const XML_Char* notationName,
                                             const XML_Char* base, const XML_Char* systemId,
                                             const XML_Char* publicId);
    static void XMLCALL StartNamespaceCallback(void* userData, const XML_Char* prefix, const XML_Char* uri);
    static void XMLCALL EndNamespaceCallback(void* userData, const XML_Char* prefix);

};
