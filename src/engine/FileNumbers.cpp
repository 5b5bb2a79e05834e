#include "engine/FileNumbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "engine/Conversions.h"
#include "engine/HtmlLog.h"

namespace FileNumbers {

namespace {

// Whole numbers of the 32-bit range in full.
std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

}  // namespace

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
    HtmlLog::Instance()->Error(what + " is \"" + HtmlLog::Shown(text) + "\", not a finite number; " + ValueToString(def) +
                               " is used.");
    return def;
}

bool Saved(const std::string& text, double min, double max, double& value, const std::string& what) {
    // A hand-edited file may hold anything: the row shows the start of it.
    const std::string shown = HtmlLog::Shown(text.size() > 40 ? text.substr(0, 40) + "..." : text);
    const char* start = text.c_str();
    char* end = nullptr;
    const double read = std::strtod(start, &end);
    if (end == start || !std::isfinite(read) || std::fabs(read) > double(std::numeric_limits<float>::max())) {
        HtmlLog::Instance()->Warning(what + " is \"" + shown + "\", not a finite number; it is ignored.");
        return false;
    }
    value = std::fmax(min, std::fmin(max, read));
    if (value != read)
        HtmlLog::Instance()->Warning(what + " is \"" + shown + "\", out of its range " + Number(min) + " to " +
                                     Number(max) + "; " + Number(value) + " is used.");
    return true;
}

int ClampToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    if (value >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    return int(value);
}

}  // namespace FileNumbers
