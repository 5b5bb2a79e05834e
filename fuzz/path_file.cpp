// Path files through the event parser: any bytes must parse or fail without a
// fault, sub-parsers taking over subtrees must hand back cleanly, and the path
// built from what was read must stay bounded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzEngine.h"
#include "FuzzFile.h"
#include "engine/XMLParser.h"
#include "entities/effects/BSpline.h"
#include "entities/effects/PathMoveEffector.h"
#include "entities/effects/PathMoveParser.h"

namespace {

// Hands every second level of the document to a sub-parser of its own.
class NestingReader : public ZOLTFramework::XMLParser {
public:
    NestingReader() = default;
    explicit NestingReader(expatppNesting* outer) : XMLParser(outer) {}
    void startElement(const XML_Char* name, const XML_Char** atts) override {
        XMLParser::startElement(name, atts);
        ++elements;
        if (GetDepth() == 1) new NestingReader(this);
    }
    int elements = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace ZOLTFramework;
    FuzzEngine();
    const std::string path = FuzzFile("path.xml", data, size);

    NestingReader nesting;
    XMLParser::ParseFile(path, &nesting);

    PathMoveParser parser;
    XMLParser::ParseFile(path, &parser);
    // The text keeps what the document held, however long: never more than the file.
    if (parser.GetText().size() > size) std::abort();
    const std::vector<PathPoint> curve = BSplineCurve(parser.points, parser.degree, parser.resolution);
    if (curve.size() > size_t(BSpline::kMaxResolution)) std::abort();

    PathMoveEffector effector(path);
    (void)effector.GetPathLength();
    return 0;
}
