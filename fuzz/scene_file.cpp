// Scene files with their action table: any bytes must load into a play field
// that runs, takes clicks and goes without a fault. The input is the scene
// file, then (after a line reading "%%next-file%%") "data/Database/Actions.xml".
#include <cstddef>
#include <cstdint>

#include "FuzzGame.h"
#include "FuzzLevel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzGame();
    const auto files = FuzzSplit(data, size);
    FileSystem::WriteFileAtomic(FuzzGameEngine::ActionTablePath(), files.second);
    FuzzPlayScene(FuzzFile("scene.xml", reinterpret_cast<const uint8_t*>(files.first.data()), files.first.size()));
    return 0;
}
