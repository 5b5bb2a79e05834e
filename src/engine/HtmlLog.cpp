#include "engine/HtmlLog.h"

#include <cstdio>
#include <cstring>

#include "engine/Conversions.h"
#include "platform/FileSystem.h"
#include "platform/SysInfo.h"

namespace {

const char* const kPageHead =
    "<html>\n<head>\n<title>Game log</title></head>\n<body>\n"
    "\t\t<P><FONT face=\"Arial\" color=\"#999999\">\n"
    "\t\t\t<TABLE id=\"Table1\" cellSpacing=\"0\" cellPadding=\"0\" border=\"0\">\n"
    "\t\t\t\t<TBODY>\n";
const int kHeadLines = 7;

// The line of a run block that names the computer; one per run.
const char* const kComputerLine = "<P><FONT color=\"black\" size=\"2\">Computername: ";

const std::string kHyphens(224, '-');

std::tm LocalNow() {
    std::time_t t = std::time(nullptr);
    std::tm out{};
    localtime_r(&t, &out);
    return out;
}

// A report value stays on its line, so that runs can be told apart by lines.
std::string OneLine(std::string s) {
    for (char& c : s)
        if (c == '\n' || c == '\r') c = ' ';
    return s;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        if (nl == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, nl - start + 1));
        start = nl + 1;
    }
    return lines;
}

std::size_t CountOccurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + what.size()))
        ++n;
    return n;
}

}  // namespace

HtmlLog* HtmlLog::Instance() {
    static HtmlLog log;
    return &log;
}

const std::string& HtmlLog::PageFoot() {
    static const std::string foot =
        "</TBODY></TABLE></FONT><FONT color=\"#999999\"></P></FONT></body></html>";
    return foot;
}

std::string HtmlLog::FormatDate(const std::tm& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%d, %02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                  t.tm_hour, t.tm_min);
    return buf;
}

std::string HtmlLog::FormatTime(const std::tm& t) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d:  ", t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

void HtmlLog::Open(const std::string& path) { m_path = path; }

std::string HtmlLog::BuildRunBlock(const std::tm& now) const {
    std::string b;
    b += "\t\t\t\t\t<TR>\n\t\t\t\t\t\t<TD colSpan=\"2\" height=\"19\"><FONT color=\"#999999\" size=\"2\">" + kHyphens +
         "</FONT>\n\t\t\t</TD></TR>\n\t\t\t<TR>\n\t\t\t\t<TD width=\"96\" colSpan=\"2\" height=\"1\">\n"
         "\t\t\t\t\t<P><STRONG><FONT color=\"black\" size=\"2\">";
    b += FormatDate(now);
    b += "</FONT></STRONG></P>\n\t\t\t\t</TD>\n\t\t\t</TR>\n\t\t\t\t\t<TR>\n"
         "\t\t\t\t\t\t<TD colSpan=\"2\" height=\"19\"><FONT color=\"#999999\" size=\"2\">" + kHyphens +
         "</FONT>\n\t\t\t</TD></TR>\n\t\t\t<TR>\n\t\t\t\t<TD width=\"96\" colSpan=\"2\" height=\"1\">\n"
         "\t\t\t\t\t" + std::string(kComputerLine);
    b += OneLine(SysInfo::GetComputerName());
    b += "</FONT></P>\n\t\t\t\t</TD>\n\t\t\t</TR>\n\t\t\t<TR>\n\t\t\t\t<TD width=\"96\" colSpan=\"2\" height=\"1\">\n"
         "\t\t\t\t\t<P><FONT color=\"black\" size=\"2\">OS: ";
    b += OneLine(SysInfo::GetOSVersion());
    b += "</FONT></P>\n\t\t\t\t</TD>\n\t\t\t</TR>\n\t\t\t<TR>\n\t\t\t\t<TD width=\"96\" colSpan=\"2\" height=\"1\">\n"
         "\t\t\t\t\t<P><FONT color=\"black\" size=\"2\">Language: ";
    b += OneLine(SysInfo::GetLocale());
    b += "</FONT></P>\n\t\t\t\t</TD>\n</TR>\n\t\t\t<TR>\n\t\t\t\t<TD width=\"96\" colSpan=\"2\" height=\"1\">\n"
         "\t\t\t\t\t<P><FONT color=\"black\" size=\"2\">Processor: ";
    b += OneLine(SysInfo::GetCPU());
    b += "</FONT></P>\n\t\t\t\t</TD>\n</TR>\n\t\t\t<TR>\n\t\t\t\t<TD width=\"96\" colSpan=\"2\" height=\"1\">\n"
         "\t\t\t\t\t<P><FONT color=\"black\" size=\"2\">Video: ";
    b += OneLine(SysInfo::GetVideoInfo());
    b += "</FONT></P>\n\t\t\t\t</TD>\n\t\t\t</TR>\n\t\t\t<TR>\n\t\t\t\t<TD colSpan=\"2\" height=\"1\">\n"
         "\t\t\t\t\t<P><FONT color=\"black\" size=\"2\">Memory status: ";
    b += OneLine(SysInfo::GetMemoryStatus());
    b += "\t\t\t\t\t</FONT></P>\n\t\t\t\t</TD>\n\t\t\t</TR>\n\t\t\t<TR>\n"
         "\t\t\t\t<TD colSpan=\"2\" height=\"17\"><FONT color=\"#999999\" size=\"2\">" + kHyphens +
         "</FONT>\n\t\t\t\t</TD>\n\t\t\t</TR>\n";
    return b;
}

void HtmlLog::WriteHeader() {
    if (m_path.empty()) return;
    const std::tm now = LocalNow();
    const std::string block = BuildRunBlock(now);
    const std::string& foot = PageFoot();

    std::string head = kPageHead;

    std::string old;
    if (FileSystem::ReadFile(m_path, old) && CountOccurrences(old, kComputerLine) != 0) {
        std::vector<std::string> lines = SplitLines(old);
        // The old head and the old foot are never copied; a damaged file whose
        // last line is not the foot keeps that line.
        std::size_t end = lines.size();
        if (end > 0 && lines.back() == foot) --end;
        if (lines.size() >= kHeadLines + 2 && end > static_cast<std::size_t>(kHeadLines)) {
            // Keep the last kKeptRuns earlier runs whole: the copy starts at the
            // first line of the oldest kept run block.
            const std::size_t blockOffset = CountOccurrences(block.substr(0, block.find(kComputerLine)), "\n");
            std::size_t start = kHeadLines;
            int found = 0;
            for (std::size_t i = end; i-- > static_cast<std::size_t>(kHeadLines);) {
                if (lines[i].find(kComputerLine) == std::string::npos) continue;
                if (++found == kKeptRuns) {
                    start = i >= kHeadLines + blockOffset ? i - blockOffset : kHeadLines;
                    break;
                }
            }
            for (std::size_t i = start; i < end; ++i) head += lines[i];
            if (!head.empty() && head.back() != '\n') head += '\n';
        }
    }

    head += block;
    m_pageHead = head;
    m_pageFoot = foot;
    FileSystem::WriteFileAtomic(m_path, m_pageHead + m_pageFoot);
}

bool HtmlLog::RewritePage(const std::string& row) const {
    FILE* f = std::fopen(m_path.c_str(), "wb");
    if (!f) return false;
    const std::string page = (m_pageHead.empty() ? std::string(kPageHead) : m_pageHead) + row + PageFoot();
    const bool ok = std::fwrite(page.data(), 1, page.size(), f) == page.size();
    return std::fclose(f) == 0 && ok;
}

std::string HtmlLog::Shown(const std::string& text) { return MarkupEscaped(text); }

void HtmlLog::WriteRow(const std::string& text) {
    if (m_path.empty()) return;
    const std::string row =
        "<TR>\n\t<TD width=\"12\" height=\"8\" valign=\"TOP\"><FONT color=\"#999999\" size=\"2\">\n" +
        FormatTime(LocalNow()) +
        "\t\t</FONT></TD>\t<TD width=\"1800\" height=\"8\"><FONT size=\"2\">\n\t<FONT color=\"black\" size=\"2\">\n" +
        text + "\t</FONT></TD>\n</TR>\n";
    const std::string& foot = PageFoot();

    FILE* f = std::fopen(m_path.c_str(), "rb+");
    if (!f) return;  // no log file: the row is dropped
    long size = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
    if (size < 0) {
        std::fclose(f);
        return;
    }
    const long footLen = static_cast<long>(foot.size());
    if (size < footLen) {
        // Too short to hold a foot: never write in front of the file's start.
        std::fclose(f);
        RewritePage(row);
        return;
    }
    std::string tail(foot.size(), '\0');
    bool endsWithFoot = std::fseek(f, size - footLen, SEEK_SET) == 0 &&
                        std::fread(&tail[0], 1, tail.size(), f) == tail.size() && tail == foot;
    // A file that does not end with the foot keeps all it holds; the row and a
    // new foot follow it.
    const long at = endsWithFoot ? size - footLen : size;
    if (std::fseek(f, at, SEEK_SET) == 0) {
        const std::string out = row + foot;
        std::fwrite(out.data(), 1, out.size(), f);
    }
    std::fclose(f);
}

void HtmlLog::Info(const std::string& text) {
    WriteRow("\t\t<STRONG><FONT color=\"black\">Info:</FONT>\n\t\t</STRONG></FONT>" + text);
}

void HtmlLog::Debug(const std::string& text) {
    WriteRow("\t\t<STRONG><FONT color=\"green\">Debug:</FONT>\n\t\t</STRONG></FONT>" + text);
}

void HtmlLog::Error(const std::string& text) {
    WriteRow("\t\t<STRONG><FONT color=\"red\">Error:</FONT>\n\t\t</STRONG></FONT>" + text);
}

void HtmlLog::Warning(const std::string& text) {
    WriteRow("\t\t<STRONG><FONT color=\"blue\">Warning:</FONT>\n\t\t</STRONG></FONT>" + text);
}

std::string CharPlusString(char c, const std::string& s) { return std::string(1, c) + s; }

std::string UIntToHexString(unsigned v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

void MakeAbsolutePath(std::string& path) {
    path = FileSystem::Slashed(path);
    if (path.empty() || path[0] != '/') path = FileSystem::DataRoot() + path;
}
