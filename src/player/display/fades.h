// The screen palette through the locks, and the two fades.
#pragma once

#include <array>
#include <cstdint>

#include "player/display/palette_format.h"

namespace glint::player::display {

using PaletteLocks = std::array<uint8_t, 256>;  // nonzero: the entry keeps its colour

// Copies the unlocked entries of `next` into the screen palette and, with a
// window, hands it to the display and updates the screen.
void apply_screen_palette(const Rgb768& next, const PaletteLocks& locks);

// Waits until the virtual or real clock reaches `deadline` (microseconds),
// dispatching window messages; stops early when the window goes.
void wait_dispatching(uint64_t deadline);

// The palette of fade-in step 1-16: the target with 63, 59, ..., 3 taken
// from every component (not below 0).
Rgb768 fade_in_step(const Rgb768& target, int step);

// Fades from the target darkened by 63 up to the target in 16 steps, one
// every `step_ms` milliseconds; returns the palette change count after it.
uint32_t fade_in_palette(const Rgb768& target, const PaletteLocks& locks, int32_t step_ms);
// Lowers every component of the screen palette by 4 in each of 16 steps.
void fade_out_palette(const PaletteLocks& locks, int32_t step_ms);

}  // namespace glint::player::display
