#include "engine/XMLParser.h"

#include <algorithm>
#include <cstring>

#include "engine/HtmlLog.h"
#include "platform/FileSystem.h"
#include "platform/hge.h"

namespace ZOLTFramework {

namespace {

// One line in the engine's text log.
template <class... Args>
void EngineLog(const char* format, Args... args) {
    HGE* hge = hgeCreate(HGE_VERSION);
    if (!hge) return;
    hge->System_Log(format, args...);
    hge->Release();
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

void XMLParser::startElement(const XML_Char*, const XML_Char**) { ClearText(); }

void XMLParser::endElement(const XML_Char*) { ClearText(); }

void XMLParser::charData(const XML_Char* s, int len) {
    if (!s || len <= 0) return;
    if (std::all_of(s, s + len, IsBlank)) return;
    if (s[0] == '\t') return;
    text.append(s, static_cast<size_t>(len));
}

int XMLParser::GetCurrentLineNumber() const {
    return m_parser ? static_cast<int>(XML_GetCurrentLineNumber(m_parser)) : 0;
}

int XMLParser::GetErrorCode() const { return m_parser ? static_cast<int>(XML_GetErrorCode(m_parser)) : 0; }

bool XMLParser::ParseFile(const std::string& path, XMLParser* parser) {
    std::string data;
    if (!FileSystem::ReadFile(path, data)) {
        EngineLog("ERROR: Can't open XML file (%s)", path.c_str());
        return false;
    }
    if (!parser || !parser->m_parser) {
        EngineLog("ERROR: Unknown XML error (%s)", path.c_str());
        HtmlLog::Instance()->Error("ERROR: Unknown XML error (" + path + ")");
        return false;
    }

    XML_Parser p = parser->m_parser;
    bool ok = true;
    size_t pos = 0;
    for (;;) {
        const size_t n = std::min(static_cast<size_t>(kBlockSize), data.size() - pos);
        const bool final = n < static_cast<size_t>(kBlockSize);
        const XML_Status status = XML_Parse(p, data.data() + pos, static_cast<int>(n), final ? XML_TRUE : XML_FALSE);
        pos += n;
        if (parser->HandlerFailed()) {
            EngineLog("ERROR: Unknown XML error (%s)", path.c_str());
            HtmlLog::Instance()->Error("ERROR: Unknown XML error (" + path + ")");
            ok = false;
            break;
        }
        if (status != XML_STATUS_OK) {
            const XML_LChar* message = XML_ErrorString(XML_GetErrorCode(p));
            const std::string reason = message ? message : "unknown error";
            const int line = static_cast<int>(XML_GetCurrentLineNumber(p));
            EngineLog("ERROR: XML Error (%s): %s at line %d\n", path.c_str(), reason.c_str(), line);
            HtmlLog::Instance()->Error("XML Error (" + HtmlLog::Shown(path) + "): " + HtmlLog::Shown(reason) + " at line " + std::to_string(line));
            ok = false;
            break;
        }
        if (final) break;
    }
    // A parse that ended early may leave sub-parsers in charge.
    parser->ReleaseSubParsers();
    return ok;
}

}  // namespace ZOLTFramework
