// The program entry: create the application, start it, run the main loop when
// the start-up succeeded, shut down. Relative paths name files beside the
// program, so the working folder becomes the program's folder first.
#include <unistd.h>

#include "app/GameApp.h"
#include "platform/FileSystem.h"

int main() {
    const std::string programDir = FileSystem::ProgramDir();
    if (!programDir.empty() && chdir(programDir.c_str()) != 0) {
        // Relative names then resolve against the folder the program was started from.
    }
    auto* app = new ZOLTFramework::GameApp();
    if (app->Init()) app->Run();
    delete app;
    return 0;
}
