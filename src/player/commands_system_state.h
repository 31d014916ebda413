// What the system commands keep between commands of one run: the print job
// the sound output choice and the clock reading a fixed date starts at.
// They live in the Player (system), made on first use. The print job also
// holds the file it opened, so a job whose slot was closed or reused
// meanwhile counts as not open.
#pragma once

#include <cstdint>

#include "player/player.h"

namespace glint::player {

inline constexpr uint8_t kNoPrintJob = 255;

struct SystemState {
  uint8_t print_slot = kNoPrintJob;
  const ORXFile* print_file = nullptr;
  bool direct_sound = false;
  // The timer reading at the first date query of the run, which the fixed
  // date of a reproducible run belongs to.
  bool date_anchored = false;
  uint32_t date_anchor_ms = 0;
};

SystemState& system_state(const Player& player);

// The file of the open print job, or null.
ORXFile* print_job_file(const Player& player);

}  // namespace glint::player
