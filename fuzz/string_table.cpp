// Text tables: any bytes must parse without a fault, and every key that the
// table answers must give a text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzEngine.h"
#include "graphics/hgeStringTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzEngine();
    const char* bytes = reinterpret_cast<const char*>(data);
    hgeStringTable plain;
    plain.LoadFromMemory(bytes, size, "fuzz.txt");

    // The same bytes behind a valid head reach the entry parser every time.
    std::string withHead = "[HGESTRINGTABLE]\n" + std::string(bytes, size);
    hgeStringTable table;
    table.LoadFromMemory(withHead.data(), withHead.size(), "fuzz.txt");
    (void)table.GetString("A");
    (void)table.GetString(std::string(bytes, size < 63 ? size : 63).c_str());
    return 0;
}
