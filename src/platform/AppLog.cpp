#include "platform/AppLog.h"

#include <cstdio>
#include <set>
#include <utility>

#include "platform/FileSystem.h"

void AppLog::SetPath(const std::string& path) {
    m_path = path;
    if (m_path.empty()) return;
    if (FILE* f = std::fopen(FileSystem::ResolvePath(m_path).c_str(), "w")) std::fclose(f);
}

void AppLog::Write(const std::string& line) {
    if (m_path.empty()) return;
    FILE* f = std::fopen(FileSystem::ResolvePath(m_path).c_str(), "a");
    if (!f) return;
    std::fputs(line.c_str(), f);
    std::fputc('\n', f);
    std::fclose(f);
}

namespace {

struct FailureReport {
    AppLog::FailureSink sink;
    std::set<std::string> names;
};

FailureReport& Failures() {
    static FailureReport report;
    return report;
}

}  // namespace

void AppLog::SetFailureSink(FailureSink sink) {
    Failures().sink = std::move(sink);
    Failures().names.clear();
}

void AppLog::ReportFailure(const std::string& name, const std::string& text) {
    FailureReport& report = Failures();
    if (report.sink && report.names.insert(name).second) report.sink(text);
}
