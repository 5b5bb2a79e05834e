// The layer rule for #include lines: a file may include headers of its own
// layer and of the layers below it, never above. Source folders map to layers
// platform < graphics < engine < entities < runtime < game < app; a test
// folder belongs to the layer it tests (scenario folders to the application),
// and test helpers in support/<layer>/ to that layer.
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
