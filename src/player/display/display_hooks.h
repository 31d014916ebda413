// Connects the display to the script engine's hooks: the message pump
// between lines, the auto-pause focus test, and closing the window.
#pragma once

#include "player/player.h"

namespace glint::player::display {

void install_display_hooks(PlayerHooks& hooks);

}  // namespace glint::player::display
