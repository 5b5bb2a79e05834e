// A list of text rows with one selected row. A click picks the row under the
// mouse and tells the listener (whose text argument is always "11111": the
// listener reads the selection from the list box). Rows are drawn with a
// resource font, the selected one over a highlight bar.
#pragma once

#include <string>
#include <vector>

#include "entities/widgets/CGUIEntity.h"
#include "platform/hge.h"

class hgeSprite;

namespace ZOLTFramework {

class CListboxListener;

class CListboxEntity : public CGUIEntity {
public:
    struct Item {
        int value;
        std::string text;
    };

    CListboxEntity(const std::string& listName, CListboxListener* listener);
    ~CListboxEntity() override;

    void Render() override;
    // Press and release alike pick the row under the mouse (when there is one);
    // a press then reports to the listener.
    void OnLeftButton(bool down) override;

    // Appends a row; an empty text adds nothing.
    void AddItem(const std::string& text, int value);
    // Removes the row and closes the gap. The selection is cleared when it was
    // that row; a selection below it keeps its index (so it now names the row
    // that moved up), and a selection left past the end is cleared.
    void RemoveItem(int index);
    void Clear();
    // The first row with exactly that text (-1 for an empty text or no match).
    int FindItem(const std::string& text) const;
    int FindByValue(int value) const;

    int GetItemCount() const { return int(items.size()); }
    // Null for an index outside the list.
    const Item* GetItem(int index) const;
    int GetSelected() const { return selected; }
    // -1 or an index of the list; anything else is ignored.
    void SetSelected(int index);
    // The text of the selected row, empty without a selection.
    std::string GetSelectedText() const;

    void SetFontName(const std::string& n) { fontName = n; }
    void SetHighlightColor(DWORD c) { highlightColor = c; }
    void SetSizeCentered(float w, float h) { SetRectCentered(w, h); }
    void SetListener(CListboxListener* l) { listener = l; }

private:
    CListboxListener* listener;
    std::vector<Item> items;
    float itemHeight = 15.0f;
    int selected = -1;
    // The index of the item in the top row: clicks and drawing count rows from
    // it. Nothing scrolls a list yet, so it stays 0.
    int firstVisible = 0;
    hgeSprite* highlight = nullptr;
    std::string fontName = "Main";
    DWORD highlightColor = 0x64646464;
};

}  // namespace ZOLTFramework
