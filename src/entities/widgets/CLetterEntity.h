// One letter of an animated title: a byte drawn with a font of the font
// registry, at the letter's own (local) rotation and scale and its absolute
// opacity. The letter has no per-frame work of its own; its animation
// effector moves it.
#pragma once

#include <string>

#include "entities/core/CEntity.h"

namespace ZOLTFramework {

class CLetterEntity : public CEntity {
public:
    CLetterEntity(unsigned char character, const std::string& fontName);
    ~CLetterEntity() override = default;

    // Nothing when the registry has no such font.
    void Render() override;

private:
    unsigned char character;
    std::string fontName;
};

}  // namespace ZOLTFramework
