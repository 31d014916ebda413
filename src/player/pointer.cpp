#include "player/pointer.h"

namespace glint::player {

// Placeholder until the pointer is drawn: nothing to remove.
void remove_pointer(Player& player) { (void)player; }

}  // namespace glint::player
