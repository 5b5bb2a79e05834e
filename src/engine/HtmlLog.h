// "Log.html": the log a player can open in a browser. One run block per start
// of the game with a short system report, then one row per entry. The page is
// complete after every row: each row replaces the page foot and writes it again.
#pragma once

#include <ctime>
#include <string>
#include <vector>

class HtmlLog {
public:
    // How many earlier runs a new header keeps at most.
    static constexpr int kKeptRuns = 5;

    static HtmlLog* Instance();

    // Stores the full name of the log file; touches no file.
    void Open(const std::string& path);
    // Starts the log of a new run: keeps the blocks of the last earlier runs,
    // appends a run block with the date and the system report, ends the page.
    void WriteHeader();

    void Info(const std::string& text);
    void Debug(const std::string& text);
    void Error(const std::string& text);
    void Warning(const std::string& text);
    // Appends one row with the local time; the caller's text is not escaped.
    void WriteRow(const std::string& text);
    // Text a row quotes (a name, a path, an element read from a file) as a
    // browser shows it as it stands: the markup characters as XML entity
    // references. The rows are written as given: callers escape what they
    // quote through this.
    static std::string Shown(const std::string& text);

    // "dd.mm.yyyy, hh:mm" of a run block.
    static std::string FormatDate(const std::tm& t);
    // "hh:mm:ss:  " in front of a row.
    static std::string FormatTime(const std::tm& t);
    // The closing text of every complete page.
    static const std::string& PageFoot();

private:
    HtmlLog() = default;

    std::string BuildRunBlock(const std::tm& now) const;
    bool RewritePage(const std::string& row) const;

    std::string m_path;
    std::string m_pageHead;
    std::string m_pageFoot;
};

std::string CharPlusString(char c, const std::string& s);
// "0x" and exactly eight upper-case hexadecimal digits.
std::string UIntToHexString(unsigned v);
// Puts the data root (FileSystem::DataRoot, the program folder unless set) in
// front of a relative path (one without a leading "/") and turns "\" into "/".
// An empty path becomes the data root.
void MakeAbsolutePath(std::string& path);
