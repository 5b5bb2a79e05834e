// The words and punctuation of a C++ file, as the layer tests read them: no
// compiler, only the text.
#pragma once

#include <string>
#include <vector>

namespace layers {

bool IsWordStart(char c);
bool IsWord(char c);

// The words and one-character punctuation of a C++ text, without comments,
// string and character literals, numbers and preprocessor lines ("::" and
// "->" are two tokens each).
std::vector<std::string> Tokens(const std::string& text);

// A word (not punctuation).
bool IsIdentifier(const std::string& token);
// A keyword or a built-in type.
bool IsKeyword(const std::string& word);
// A macro such as TEST or DECLARE_X: all capitals.
bool IsMacroName(const std::string& word);

// The whole file, empty when it cannot be read.
std::string ReadText(const std::string& path);

}  // namespace layers
