// Parameter conventions shared by every command: each reads its parameter
// with the token reader and reports the matching error with the line.
#pragma once

#include <cstdint>
#include <string>

#include "player/player.h"

namespace glint::player {

// A result variable: a non-empty word, not substituted.
std::string read_variable(Player& player);
// A number parameter (substituted, numeric text).
int32_t read_number(Player& player);
// A text parameter: anything but the end of the parameters.
std::string read_text(Player& player);
// A text parameter that must not be empty either.
std::string read_nonempty_text(Player& player);

// True when nothing but a comment or a ';' chain is left, which ends the
// lists of VARFREE and VARPUSH.
bool parameters_done(const Player& player);

}  // namespace glint::player
