// Text to value and value to text, the rules every data file follows: a float
// may end in "d" for degrees, an unsigned may be "0x" hexadecimal, a bool is
// "true", "false" or a number. Text that starts with no number gives 0.
#pragma once

#include <locale>
#include <sstream>
#include <string>
#include <vector>

// A float; "45d" is 45 degrees in radians.
float StringToFloat(const std::string& text);
int StringToInt(const std::string& text);
// Decimal, or hexadecimal after a leading "0x" (lower-case x).
unsigned int StringToUInt(const std::string& text);
// Decimal only.
unsigned int StringToValue(const std::string& text);
// Exactly "true" or "false", otherwise a number that is true when not zero.
bool StringToBool(const std::string& text);
// Hexadecimal digits of either case; only the last eight digits count.
unsigned int HexToUInt(const std::string& text);

// The text with the markup characters (& < > " ') as XML entity references,
// as a document's values and the log's quotes are written.
std::string MarkupEscaped(const std::string& text);

// The pieces between separators, empty pieces included; never an empty vector.
std::vector<std::string> SplitString(char separator, const std::string& text);

// The value as a classic-locale output stream writes it: bools as 1 and 0,
// floats with at most six significant digits.
template <typename T>
std::string ValueToString(const T& value) {
    std::ostringstream os;
    os.imbue(std::locale::classic());
    os << value;
    return os.str();
}

template <>
inline std::string ValueToString<std::string>(const std::string& value) {
    return value;
}

template <>
inline std::string ValueToString<const char*>(const char* const& value) {
    return value ? std::string(value) : std::string();
}

template <>
inline std::string ValueToString<char*>(char* const& value) {
    return value ? std::string(value) : std::string();
}
