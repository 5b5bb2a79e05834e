#include "screens/WelcomeText.h"

namespace WelcomeText {

std::string Format(const std::string& entry, const std::string& name) {
    std::string out;
    bool nameUsed = false;
    for (size_t i = 0; i < entry.size(); ++i) {
        const char c = entry[i];
        if (c == '%' && i + 1 < entry.size()) {
            const char next = entry[i + 1];
            if (next == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (next == 's' && !nameUsed) {
                out += name;
                nameUsed = true;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

}  // namespace WelcomeText
