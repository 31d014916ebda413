// Reading and storing variables the way every command does it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "player/player.h"

namespace glint::player {

// The value of a variable (empty when unset); the name is trimmed and
// upper-cased first.
std::string get_variable(const Player& player, std::string_view name);

// Stores a command's result (an empty value removes the variable) and
// records the store in the debug trace. A full store silently keeps its
// old contents.
void set_variable(Player& player, std::string_view name, std::string_view value);

// Stores a number result, kept to the 32-bit range of script numbers.
void store_number(Player& player, std::string_view name, int64_t value);

}  // namespace glint::player
