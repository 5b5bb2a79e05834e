// Pass two of the code model: every use of a candidate's name in a file's
// function bodies, initializers and declarations, with the class it belongs to
// where the text tells it (see CodeModel.h for the rules).
#pragma once

#include <functional>

#include "CodeModel.h"

namespace layers {

void WalkUses(const CodeModel& model, const SourceText& file, const std::function<void(const FunctionUse&)>& sink);

}  // namespace layers
