// An animated caption: one letter entity per character, laid out side by side
// and centred on the title's position, each with its own key-frame animation
// started 0.05 s after the previous letter's, so that the letters appear one
// after another and later fade away. Three styles: 0 drop and bounce, 1 pop,
// 2 fade.
#pragma once

#include <string>
#include <vector>

#include "entities/core/CEntity.h"

namespace ZOLTFramework {

class CLetterEntity;

class CTitleEntity : public CEntity {
public:
    // Seconds between the starts of two neighbouring letters.
    static constexpr float kLetterDelay = 0.05f;

    CTitleEntity() = default;
    ~CTitleEntity() override = default;

    // Builds the letters and their animations and returns when, in seconds from
    // now, the last letter's animation ends (0 for an empty text). A font the
    // registry does not hold creates nothing and returns 0 (Warning row). A
    // second call adds a second set of letters beside the first.
    float SetText(const std::string& text, const std::string& fontName, int style);

private:
    // The letters in text order, each a child of the title (owned by the entity
    // manager; they die with the title).
    std::vector<CLetterEntity*> letters;
};

}  // namespace ZOLTFramework
