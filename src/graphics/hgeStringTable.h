// A text table: named strings read from a "[HGESTRINGTABLE]" file, looked up by
// exact, case-sensitive key. The last entry of a name in the file wins.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

#include "platform/hge.h"

class hgeStringTable {
public:
    // Loads the file through the engine's resource loader; an unreadable file
    // gives an empty table without a message.
    explicit hgeStringTable(const char* filename);
    hgeStringTable() = default;
    ~hgeStringTable() = default;

    // Parses a whole table held in memory (used by the constructor). Entries read
    // before a format error stay; the error is logged once with the given name.
    void LoadFromMemory(const char* data, size_t size, const char* name);

    // The text of the key, or null.
    const char* GetString(const char* name) const;

    // Longest key kept; longer keys are cut to this length.
    static const size_t MAX_NAME = 63;

private:
    std::unordered_map<std::string, std::string> entries;
};
