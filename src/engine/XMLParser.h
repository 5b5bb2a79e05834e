// The base of the framework's event (streaming) XML readers: collects character
// data into a text buffer and reads a whole file through expat, reporting what
// went wrong to the engine log and the HTML log. A concrete reader derives from
// it and overrides startElement and endElement.
#pragma once

#include <string>

#include "engine/expatppNesting.h"

namespace ZOLTFramework {

class XMLParser : public expatppNesting {
public:
    XMLParser() = default;
    // A sub-parser of another reader's subtree.
    explicit XMLParser(expatppNesting* outer) : expatppNesting(outer) {}
    ~XMLParser() override = default;

    // Both empty the text buffer.
    void startElement(const XML_Char* name, const XML_Char** atts) override;
    void endElement(const XML_Char* name) override;
    // Appends a chunk of character data to the text buffer unless it is blank:
    // chunks of blanks only, and chunks that begin with a tab, are dropped.
    void charData(const XML_Char* s, int len) override;

    void ClearText() { text.clear(); }
    const std::string& GetText() const { return text; }

    int GetCurrentLineNumber() const;
    int GetErrorCode() const;

    // Reads the file through the file layer and feeds it to the parser in
    // blocks of 1024 bytes, the last one marked final (a file that fills whole
    // blocks ends with an empty final block). False, with log lines, when the
    // file cannot be read, expat reports an error or an operation threw.
    static bool ParseFile(const std::string& path, XMLParser* parser);

    static const int kBlockSize = 1024;

protected:
    // The character data collected since the last element start or end.
    std::string text;
};

}  // namespace ZOLTFramework
