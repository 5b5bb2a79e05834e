// The program entry: create the application, start it, run the main loop when
// the start-up succeeded, shut down. Relative paths name files beside the
// program, so the working folder becomes the program's folder first.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/GameApp.h"
#include "engine/HtmlLog.h"
#include "platform/FileSystem.h"

int main() {
    const std::string programDir = FileSystem::ProgramDir();
    std::string chdirFailure;
    if (!programDir.empty() && chdir(programDir.c_str()) != 0) {
        // Relative names then resolve against the folder the program was started from.
        chdirFailure = "Cannot change to the program folder " + programDir + ": " + std::strerror(errno) +
                       "; names are relative to the folder the game was started from.";
        std::fprintf(stderr, "%s\n", chdirFailure.c_str());
    }
    auto app = std::make_unique<ZOLTFramework::GameApp>();
    const bool started = app->Init();
    // The log is open once the start-up has run.
    if (!chdirFailure.empty()) HtmlLog::Instance()->Warning(HtmlLog::Shown(chdirFailure));
    if (started) app->Run();
    app.reset();
    return 0;
}
