// The string commands: searching, cutting, padding, repeating, case,
// trimming, number and label tests, and walking separated lists.
#pragma once

#include <cstddef>

#include "player/command_table.h"

namespace glint::player {

// Every text a string command stores is cut to the length of a script line.
inline constexpr std::size_t kStringResultMax = 767;

void register_string_commands(CommandTable& table);

}  // namespace glint::player
