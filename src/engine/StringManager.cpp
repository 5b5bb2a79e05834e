#include "engine/StringManager.h"

#include "graphics/hgeStringTable.h"

StringManager::~StringManager() { delete m_table; }

void StringManager::SetTable(hgeStringTable* table) {
    if (table == m_table) return;
    delete m_table;
    m_table = table;
}

const char* StringManager::GetString(const std::string& key) const {
    return m_table ? m_table->GetString(key.c_str()) : nullptr;
}
