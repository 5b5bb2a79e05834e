#include "screens/NameInput.h"

#include "platform/TextEncoding.h"

namespace NameInput {

namespace {
const int kBackspace = 8;
}  // namespace

unsigned char PrintableByte(int typed) {
    if (typed <= 0) return 0;
    if (typed > 255) return CodePointToCp1250(unsigned(typed));
    const unsigned char byte = static_cast<unsigned char>(typed);
    if (byte < 0x20 || byte == 0x7F) return 0;
    // Holes of the Windows-1250 code page.
    if (byte == 0x81 || byte == 0x83 || byte == 0x88 || byte == 0x90 || byte == 0x98) return 0;
    return byte;
}

bool Apply(std::string& name, int typed, size_t limit) {
    if (typed == kBackspace) {
        if (name.empty()) return false;
        name.pop_back();
        return true;
    }
    const unsigned char byte = PrintableByte(typed);
    if (byte == 0 || name.size() >= limit) return false;
    name.push_back(static_cast<char>(byte));
    return true;
}

}  // namespace NameInput
