// The layer rule for #include lines: a file may include headers of its own
// layer and of the layers below it, never above. Source folders map to layers
// platform < graphics < engine < entities/core < entities/effects <
// entities/widgets < entities/screens < runtime < profiles < scene < minigames <
// screens < app. Quoted and angle-bracket includes count alike. A test folder
// belongs to the layer it tests (entity tests to the runtime, scenario folders to
// the application), test helpers in support/<layer>/ to that layer
// (support/scene to the whole game), and including a helper header reaches the
// highest layer that header includes.
//
// The rule holds only for includes this text scan can read, so it refuses the
// rest outright: a header name with a ".." part (whichever way it would climb,
// even down a layer), an absolute header name (starting with "/"), an include
// whose header comes from a macro, and an include directive written any other
// way than on one line as #include "name" or #include <name> (a continued line,
// a comment inside it, a digraph). A folder's rank holds only for the files
// really in it, so it refuses every symbolic link under src/ and tests/, and
// every include whose header would be reached through one.
#pragma once

#include <string>
#include <vector>

namespace layers {

// The rank of a path below src/ or tests/ ("entities/core/CEntity.h",
// "tests/platform/IniTest.cpp"), or -1 when it names no layer.
int RankOfSource(const std::string& relativePath);
int RankOfTest(const std::string& relativePath);

// An include directive of a file as the scan reads it.
struct IncludeDirective {
    int line;            // where the directive starts, from 1
    std::string header;  // the name between the quotes or angle brackets; the rest of the line when unread
    bool quoted;
    std::string fault;   // why the scan refuses it; empty when it is read
};

// Every include directive of a C++ text (comments and string literals are not
// directives; an include in a comment does not count).
std::vector<IncludeDirective> ReadIncludeDirectives(const std::string& text);

// Every include of a file under root (its src/ and tests/ folders) that points
// up a layer, as "file:line: includes header", every one the scan refuses, as
// "file:line: includes header: why", and every symbolic link there, as
// "path: why".
std::vector<std::string> FindForbiddenIncludes(const std::string& root);

}  // namespace layers
