#include "graphics/hgeStringTable.h"

#include <cstring>

namespace {

const char kHeader[] = "[HGESTRINGTABLE]";
const size_t kHeaderLen = sizeof(kHeader) - 1;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

void LogFormatError(const char* name) {
    HGE* hge = hgeCreate(HGE_VERSION);
    hge->System_Log("String table %s has incorrect format.", name ? name : "");
    hge->Release();
}

}  // namespace

hgeStringTable::hgeStringTable(const char* filename) {
    if (!filename) return;
    HGE* hge = hgeCreate(HGE_VERSION);
    DWORD size = 0;
    void* data = hge->Resource_Load(filename, &size);
    if (data) {
        LoadFromMemory(static_cast<const char*>(data), size, filename);
        hge->Resource_Free(data);
    }
    hge->Release();
}

void hgeStringTable::LoadFromMemory(const char* data, size_t size, const char* name) {
    if (!data || size < kHeaderLen || std::memcmp(data, kHeader, kHeaderLen) != 0) {
        LogFormatError(name);
        return;
    }

    // The byte after the head ends its line; a file of nothing but the head
    // (with or without that byte) is an empty table.
    size_t pos = kHeaderLen + 1;
    auto atEnd = [&] { return pos >= size; };
    auto skipBlanks = [&] {
        while (!atEnd() && IsBlank(data[pos])) pos++;
    };

    for (;;) {
        skipBlanks();
        if (atEnd()) break;

        if (data[pos] == ';') {
            while (!atEnd() && data[pos] != '\n') pos++;
            if (!atEnd()) pos++;
            continue;
        }

        std::string key;
        while (!atEnd() && data[pos] != '=' && !IsBlank(data[pos])) {
            if (key.size() < MAX_NAME) key += data[pos];
            pos++;
        }

        skipBlanks();
        if (atEnd()) break;
        if (data[pos] != '=') {
            LogFormatError(name);
            break;
        }
        pos++;

        skipBlanks();
        if (atEnd()) break;
        if (data[pos] != '"') {
            LogFormatError(name);
            break;
        }
        pos++;

        // No length limit: the text grows as needed.
        std::string text;
        while (!atEnd()) {
            char c = data[pos];
            if (c == '"') {
                pos++;
                break;
            }
            if (c == '\\') {
                pos++;
                if (atEnd()) break;
                char e = data[pos++];
                text += (e == 'n') ? '\n' : e;
                continue;
            }
            if (c == '\r' || c == '\n') {
                // A wrapped source line: the blanks around the break become one.
                while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
                skipBlanks();
                text += ' ';
                continue;
            }
            text += c;
            pos++;
        }

        entries[key] = std::move(text);
    }
}

const char* hgeStringTable::GetString(const char* name) const {
    if (!name) return nullptr;
    auto it = entries.find(name);
    return it == entries.end() ? nullptr : it->second.c_str();
}
