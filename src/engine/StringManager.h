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

    // Takes ownership; the previous table is deleted.
    void SetTable(hgeStringTable* table);
    hgeStringTable* GetTable() const { return m_table; }

    // The text of the key, or null when there is no table or no such key.
    const char* GetString(const std::string& key) const;

private:
    hgeStringTable* m_table = nullptr;
};
