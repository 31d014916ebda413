// The ANIMATION command family: opening, stepping, placing, playing and
// closing Glinter animations on the screen and into bitmaps.
#pragma once

#include <cstdint>

#include "player/animation_show.h"
#include "player/animation_table.h"
#include "player/command_table.h"
#include "player/player.h"

namespace glint::player {

void register_animation_commands(CommandTable& table);

// Within the family: points the entry's decoder at where the entry draws
// now (its target as it is at this moment).
FrameOutput bind_entry_output(Player& player, AnimationEntry& entry);

// Where an animation of the given size lands for x or y -1 (centred on the
// screen, less the screen adjustment) or another x (lowered to a multiple
// of 4) or y (kept). The difference is signed: a picture larger than the
// screen is centred over it and cut at both edges.
int64_t centred_or_aligned_x(int32_t x, uint32_t width, int32_t screen_width, int32_t adjust_x);
int64_t centred_or_kept_y(int32_t y, uint32_t height, int32_t screen_height, int32_t adjust_y);

// The current frame is the animation's last one (never the ring frame,
// which stands in for frame 0). Also true once frames were only counted
// after a failed read, so that loops end.
bool is_last_frame(const Glint& glint);

void register_animation_play_command(CommandTable& table);
void register_animation_load_command(CommandTable& table);

}  // namespace glint::player
