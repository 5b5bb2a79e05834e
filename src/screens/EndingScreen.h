// The rest of the story's end, for a game quit after the last place's last
// find and continued: the closing comic pages that were queued or showing at
// the quit, one after the other, then the final screen. The screen itself
// draws nothing; it stays under the pages and opens the next one when the page
// before has gone. As each page opens, the player's pages still due are the
// ones from it on, so a quit during a page shows that page again; the final
// screen's opening clears the player's mark and saves.
//
// Ownership: made through the entity manager (OpenScreen), which owns it; it
// leaves the screen stack and dies as the final screen opens.
#pragma once

#include <string>
#include <vector>

#include "entities/screens/CScreenEntity.h"

class EndingScreen : public ZOLTFramework::CScreenEntity {
public:
    static constexpr const char* kScreenName = "EndingScreen";

    explicit EndingScreen(std::vector<std::string> pages);

    // Once faded in and with the focus: the next page, or the final screen.
    void Update(float dt) override;

private:
    std::vector<std::string> pages;
    size_t next = 0;
    bool done = false;
};
