// The software pointer the player draws itself while a wait command runs.
#pragma once

#include "player/player.h"

namespace glint::player {

// Puts back the screen pixels under the pointer, if it is drawn, and marks
// it not drawn. Every command that draws on or reads the screen calls this
// first.
void remove_pointer(Player& player);

}  // namespace glint::player
