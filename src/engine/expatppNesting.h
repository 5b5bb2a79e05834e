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
    explicit expatppNesting(expatppNesting* outer);
    ~expatppNesting() override;

    // Gives the events back to the parent, deletes this object and returns the
    // parent. The top object has no parent: it stays and returns itself.
    expatppNesting* returnToParent();

    int GetDepth() const { return depth; }
    expatppNesting* GetParent() const { return parent; }

protected:
    // Deletes the sub-parsers still active under this top object (after a parse
    // that ended early), so the events come here again.
    void ReleaseSubParsers();

    // The element nesting level inside this object's subtree.
    int depth = 0;
    // The object that hands its events over to this one; null for the top object.
    expatppNesting* parent = nullptr;

private:
    static void XMLCALL NestedStartCallback(void* userData, const XML_Char* name, const XML_Char** atts);
    static void XMLCALL NestedEndCallback(void* userData, const XML_Char* name);
};
