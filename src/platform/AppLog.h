// The engine's plain text log ("app.log"): one line per System_Log call. Setting
// the file starts it afresh; each line is appended and the file closed again, so
// nothing is lost when the program stops unexpectedly.
#pragma once

#include <functional>
#include <string>

class AppLog {
public:
    void SetPath(const std::string& path);
    void Write(const std::string& line);

    // A file the game needs that cannot be loaded (a texture, a font, a
    // resource script) is a line of app.log and, once per name, a call of the
    // sink that the engine layer installs for its own log: the loaders sit
    // below that log and are asked for a missing file again and again.
    using FailureSink = std::function<void(const std::string& text)>;
    // An empty sink removes it; either way the names reported so far are forgotten.
    static void SetFailureSink(FailureSink sink);
    static void ReportFailure(const std::string& name, const std::string& text);

private:
    std::string m_path;
};
