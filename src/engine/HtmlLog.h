// "Log.html": the log a player can open in a browser. One run block per start
// of the game with a short system report, then one row per entry. The page is
// complete after every row.
#pragma once

#include <cstdio>
#include <string>

class HtmlLog {
public:
    static HtmlLog* Instance();

    void Open(const std::string& path);
    void WriteHeader();

    void Info(const std::string& text);
    void Debug(const std::string& text);
    void Error(const std::string& text);
    void Warning(const std::string& text);
    void WriteRow(const std::string& text);

    const std::string& GetPath() const { return m_path; }

private:
    HtmlLog() = default;

    FILE* m_file = nullptr;
    std::string m_path;
    std::string m_pageHead;
    std::string m_pageFoot;
};

std::string CharPlusString(char c, const std::string& s);
std::string UIntToHexString(unsigned v);
// Puts the program folder in front of a relative path.
void MakeAbsolutePath(std::string& path);
