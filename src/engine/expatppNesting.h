// Nesting on top of expatpp: a sub-parser object created inside startElement
// takes over the events of that element's subtree and hands back to its parent
// at the end tag that closes the element, where it is deleted.
#pragma once

#include "engine/expatpp.h"

class expatppNesting : public expatpp {
public:
    // The top object: creates the expat parser.
    expatppNesting();
    // A sub-parser: takes over the parent's expat parser from now on.
    explicit expatppNesting(expatppNesting* parent);
    ~expatppNesting() override;

    // Gives the events back to the parent, deletes this object and returns the
    // parent. The top object has no parent: it stays and returns itself.
    expatppNesting* returnToParent();

    int GetDepth() const { return m_depth; }
    expatppNesting* GetParent() const { return m_parent; }

protected:
    // Deletes the sub-parsers still active under this top object (after a parse
    // that ended early), so the events come here again.
    void ReleaseSubParsers();

    int m_depth = 0;
    expatppNesting* m_parent = nullptr;

private:
    static void XMLCALL NestedStartCallback(void* userData, const XML_Char* name, const XML_Char** atts);
    static void XMLCALL NestedEndCallback(void* userData, const XML_Char* name);
};
