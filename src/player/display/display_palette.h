// Handing palettes to the display, realizing them, and fading.
#pragma once

#include <cstdint>

#include "player/display/display.h"

namespace glint::player::display {

// Takes 256 entries (layout as palette_format.h) into the display palette:
// entries outside the static range keep the system's colours, and a colour
// that would equal one of the system's high colours gets its red moved by
// one. Returns 0 on a screen of fewer than 256 palette entries (nothing is
// taken) and otherwise what the copier's palette call returns (0 without one).
int display_set_palette(Display& display, const uint8_t* entries, unsigned format);

// Makes the display palette the one the window is drawn with; returns the
// number of entries that changed. A changed palette makes the next copy
// cover the whole picture: the window holds colours, not indices.
int display_realize_palette(Display& display);

// Realizes, then copies the whole picture when the realized palette needs it.
void display_update_screen(Display& display);

}  // namespace glint::player::display
