// The layer rule for #include lines: a file may include headers of its own
// layer and of the layers below it, never above. Source folders map to layers
// platform < graphics < engine < entities/core < entities/effects <
// entities/widgets < entities/screens < runtime < profiles < scene < minigames <
// screens < app. Quoted and angle-bracket includes count alike, and "../" is
// resolved from the including file. A test folder belongs to the layer it tests
// (entity tests to the runtime, scenario folders to the application), test
// helpers in support/<layer>/ to that layer (support/scene to the whole game),
// and including a helper header reaches the highest layer that header includes.
#pragma once

#include <string>
#include <vector>

namespace layers {

// The rank of a path below src/ or tests/ ("entities/core/CEntity.h",
// "tests/platform/IniTest.cpp"), or -1 when it names no layer.
int RankOfSource(const std::string& relativePath);
int RankOfTest(const std::string& relativePath);

// Every include of a file under root (its src/ and tests/ folders) that points
// up a layer, as "file:line: includes header".
std::vector<std::string> FindUpwardIncludes(const std::string& root);

}  // namespace layers
