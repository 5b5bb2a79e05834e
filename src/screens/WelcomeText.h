// The main menu's greeting: the text-table entry "WELCOME" with the player's
// name in place of its first "%s".
#pragma once

#include <string>

namespace WelcomeText {

// The entry is data: only its first "%s" takes the name and "%%" stands for
// "%"; any other "%" sequence (a second "%s" among them) is kept as it stands.
// The name is inserted as it is, never read as a format.
std::string Format(const std::string& entry, const std::string& name);

}  // namespace WelcomeText
