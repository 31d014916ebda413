#include "player/commands_system_state.h"

#include <memory>

namespace glint::player {
SystemState& system_state(const Player& player) {
  if (!player.system) player.system = std::make_shared<SystemState>();
  return *player.system;
}

ORXFile* print_job_file(const Player& player) {
  SystemState& state = system_state(player);
  if (state.print_slot >= player.files.size()) return nullptr;
  ORXFile* file = player.files[state.print_slot];
  if (file == nullptr || file != state.print_file) {
    state.print_slot = kNoPrintJob;
    state.print_file = nullptr;
    return nullptr;
  }
  return file;
}

}  // namespace glint::player
