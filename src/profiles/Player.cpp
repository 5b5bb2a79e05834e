#include "profiles/Player.h"

#include "profiles/SaveSlots.h"

Player::Player(const std::string& name, const std::string& saveFile) : Name(name), SaveFile(saveFile) {}

bool Player::NamesSavedState() const {
    return !PlayFieldPath.empty() &&
           SaveSlots::Normalise(PlayFieldPath) == SaveSlots::Normalise(SaveFile + SaveSlots::kStateSuffix);
}
