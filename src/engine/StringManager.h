// The engine's holder of the language text table: every text the player reads
// is looked up here by key.
#pragma once

#include <string>

class hgeStringTable;

class StringManager {
public:
    StringManager() = default;
    ~StringManager();
    StringManager(const StringManager&) = delete;
    StringManager& operator=(const StringManager&) = delete;

    // Deletes the table held and reads a new one from the file (an unreadable
    // file gives an empty table).
    void Load(const std::string& path);
    // Takes ownership; the previous table is deleted.
    void SetTable(hgeStringTable* table);
    hgeStringTable* GetTable() const { return m_table; }

    // The text of the key, or null when there is no table or no such key.
    const char* GetString(const std::string& key) const;

private:
    hgeStringTable* m_table = nullptr;
};
