#include "player/commands_system_state.h"

#include <mutex>

namespace glint::player {
namespace {

struct OwnedState {
  const Player* owner = nullptr;
  uint64_t last_steps = 0;
  SystemState state;
};

// One run at a time uses it; the mutex only keeps two test threads from
// tearing it.
std::mutex state_mutex;
OwnedState owned;

}  // namespace

SystemState& system_state(const Player& player) {
  std::lock_guard lock(state_mutex);
  if (owned.owner != &player || player.steps < owned.last_steps) {
    owned = OwnedState{};
    owned.owner = &player;
  }
  owned.last_steps = player.steps;
  return owned.state;
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
