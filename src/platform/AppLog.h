// The engine's plain text log ("app.log"): one line per System_Log call. Setting
// the file starts it afresh; each line is appended and the file closed again, so
// nothing is lost when the program stops unexpectedly.
#pragma once

#include <string>

class AppLog {
public:
    void SetPath(const std::string& path);
    const std::string& GetPath() const { return m_path; }
    void Write(const std::string& line);

private:
    std::string m_path;
};
