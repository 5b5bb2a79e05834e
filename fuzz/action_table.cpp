// The action table alone: any bytes as "data/Database/Actions.xml" under the
// demo's first scene, played with clicks that finish tasks and so fire the
// actions the table resolved.
#include <cstddef>
#include <cstdint>

#include "FuzzGame.h"
#include "FuzzLevel.h"
#include "scene/ActionTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzGame();
    const std::string path = FuzzGameEngine::ActionTablePath();
    FileSystem::WriteFileAtomic(path, std::string(reinterpret_cast<const char*>(data), size));
    ActionTable table;
    table.Load(path);
    (void)table.Resolve("AddCigars", "1");
    FuzzPlayScene("data/Scenes/Study.xml");
    return 0;
}
