// Pass one of the code model: the declarations of a file at namespace and class
// scope (classes with their bases, members with their types, free functions and
// variables, aliases); function bodies are skipped.
#pragma once

#include <string>

#include "CodeModel.h"

namespace layers {

class ModelReader {
public:
    ModelReader(CodeModel& model, const SourceText& file);
    void Run();

private:
    void Finish(const std::vector<size_t>& st, const std::string& cls, bool inClass);
    void Function(const std::vector<size_t>& st, size_t k, size_t p, const std::string& cls);
    void Alias(const std::string& name, size_t b, size_t e);

    CodeModel& m;
    const std::vector<std::string>& t;
    const std::string m_header;  // below src/, for a header under src/
    TypeRef m_lastType;
};

}  // namespace layers
