// Sends the HTML log's rows to a file of a temporary folder while the object
// lives and lets a test count what was written. Afterwards the rows go to the
// file of the capture around it, or nowhere: a log an engine opened meanwhile
// is not put back.
#pragma once

#include <string>

#include "engine/HtmlLog.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

class HtmlLogCapture {
public:
    HtmlLogCapture() : m_outer(Innermost()) {
        m_file = m_folder / "Log.html";
        m_folder.Write("Log.html", "");
        HtmlLog::Instance()->Open(m_file);
        Innermost() = this;
    }
    ~HtmlLogCapture() {
        Innermost() = m_outer;
        HtmlLog::Instance()->Open(m_outer ? m_outer->m_file : std::string());
    }
    HtmlLogCapture(const HtmlLogCapture&) = delete;
    HtmlLogCapture& operator=(const HtmlLogCapture&) = delete;

    std::string Text() const { return ReadWholeFile(m_file); }

    // How often the text occurs in the log.
    int Count(const std::string& needle) const { return int(CountOf(Text(), needle)); }

    // Rows of a level ("Info", "Debug", "Warning", "Error") whose text begins with prefix.
    int CountRows(const std::string& level, const std::string& prefix) const {
        return Count(level + ":</FONT>\n\t\t</STRONG></FONT>" + prefix);
    }

private:
    static HtmlLogCapture*& Innermost() {
        static HtmlLogCapture* innermost = nullptr;
        return innermost;
    }

    HtmlLogCapture* m_outer;
    TempDir m_folder;
    std::string m_file;
};
