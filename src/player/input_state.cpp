#include "player/input_state.h"

namespace glint::player {

InputState& input_state(Player& player) {
  if (!player.input) player.input = std::make_shared<InputState>();
  return *player.input;
}

}  // namespace glint::player
