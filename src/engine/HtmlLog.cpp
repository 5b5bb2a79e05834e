#include "engine/HtmlLog.h"

// Placeholder until the log is written in full: rows are dropped.
HtmlLog* HtmlLog::Instance() {
    static HtmlLog log;
    return &log;
}
void HtmlLog::Open(const std::string& path) { m_path = path; }
void HtmlLog::WriteHeader() {}
void HtmlLog::Info(const std::string&) {}
void HtmlLog::Debug(const std::string&) {}
void HtmlLog::Error(const std::string&) {}
void HtmlLog::Warning(const std::string&) {}
void HtmlLog::WriteRow(const std::string&) {}
