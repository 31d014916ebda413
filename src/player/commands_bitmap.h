// The BITMAP command family.
#pragma once

#include "player/command_table.h"

namespace glint::player {

void register_bitmap_commands(CommandTable& table);

}  // namespace glint::player
