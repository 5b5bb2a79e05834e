#include "engine/FileNumbers.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "engine/Conversions.h"
#include "engine/HtmlLog.h"

namespace FileNumbers {

int Count(int value, const std::string& what) {
    if (value <= kMaxCount) return value;
    HtmlLog::Instance()->Error(what + " asks for " + std::to_string(value) + ", more than " +
                               std::to_string(kMaxCount) + "; " + std::to_string(kMaxCount) + " is used.");
    return kMaxCount;
}

bool ListFull(std::size_t made, const std::string& what) {
    if (made < std::size_t(kMaxCount)) return false;
    if (made == std::size_t(kMaxCount))
        HtmlLog::Instance()->Error(what + " are more than " + std::to_string(kMaxCount) + "; the rest is left out.");
    return true;
}

bool IsFinite(const std::string& text) {
    // strtod reads what the stream reader stops at: nan, inf and numbers
    // beyond the float range.
    std::string number = text;
    if (!number.empty() && number.back() == 'd') number.pop_back();
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) && std::fabs(value) <= double(std::numeric_limits<float>::max());
}

float Finite(const std::string& text, float def, const std::string& what) {
    if (IsFinite(text)) return StringToFloat(text);
    HtmlLog::Instance()->Error(what + " is \"" + text + "\", not a finite number; " + ValueToString(def) +
                               " is used.");
    return def;
}

int ClampToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    if (value >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    return int(value);
}

}  // namespace FileNumbers
