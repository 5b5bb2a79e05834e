#include "engine/Conversions.h"

namespace {

const double kDegreesToRadians = 0.01745329238474369;

template <typename T>
T ReadNumber(const std::string& text) {
    std::istringstream is(text);
    is.imbue(std::locale::classic());
    T value{};
    is >> value;  // on failure the stream stores 0 (or the limit on overflow)
    return value;
}

}  // namespace

float StringToFloat(const std::string& text) {
    const std::size_t d = text.find('d');
    if (d != std::string::npos && d + 1 == text.size())
        return static_cast<float>(ReadNumber<float>(text.substr(0, d)) * kDegreesToRadians);
    return ReadNumber<float>(text);
}

int StringToInt(const std::string& text) { return ReadNumber<int>(text); }

unsigned int StringToUInt(const std::string& text) {
    if (text.compare(0, 2, "0x") == 0) return HexToUInt(text.substr(2));
    return ReadNumber<unsigned int>(text);
}

unsigned int StringToValue(const std::string& text) { return ReadNumber<unsigned int>(text); }

bool StringToBool(const std::string& text) {
    if (text == "true") return true;
    if (text == "false") return false;
    return ReadNumber<int>(text) != 0;
}

unsigned int HexToUInt(const std::string& text) {
    unsigned int result = 0;
    for (char ch : text) {
        int c = static_cast<unsigned char>(ch);
        if (c >= 'a') c -= 39;
        if (c >= 'A') c -= 7;
        c -= '0';
        if (c < 0 || c > 15) c = 15;
        result = (result << 4) | static_cast<unsigned int>(c);
    }
    return result;
}

std::vector<std::string> SplitString(char separator, const std::string& text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t pos = text.find(separator, start);
        if (pos == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, pos - start));
        start = pos + 1;
    }
}

std::string MarkupEscaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c;
        }
    }
    return out;
}
