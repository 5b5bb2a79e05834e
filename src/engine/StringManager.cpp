#include "engine/StringManager.h"

#include "graphics/hgeStringTable.h"

StringManager::~StringManager() { delete m_table; }

void StringManager::Load(const std::string& path) {
    delete m_table;
    m_table = nullptr;
    m_table = new hgeStringTable(path.c_str());
}

void StringManager::SetTable(hgeStringTable* table) {
    if (table == m_table) return;
    delete m_table;
    m_table = table;
}

const char* StringManager::GetString(const std::string& key) const {
    return m_table ? m_table->GetString(key.c_str()) : nullptr;
}
