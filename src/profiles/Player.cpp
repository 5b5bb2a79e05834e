#include "profiles/Player.h"

Player::Player(const std::string& name, const std::string& saveFile) : Name(name), SaveFile(saveFile) {}
