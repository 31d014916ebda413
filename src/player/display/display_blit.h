// Copying parts of the screen buffer to the presentation window, at once or
// collected in the deferred rectangle list.
#pragma once

#include <cstdint>

#include "player/display/display.h"

namespace glint::player::display {

// Copies the picture rectangle (x, y, w, h) to the window at its scaled
// position plus (dest_x, dest_y). The rectangle is clipped to the picture
// first; an empty one does nothing. Returns 256 in the full-screen modes,
// which always send the whole picture (callers stop copying that frame's
// other rectangles), else 0.
int display_blit(Display& display, int32_t dest_x, int32_t dest_y, int32_t x, int32_t y, int32_t w,
                 int32_t h);

// Shows the part of a script rectangle (any 64-bit numbers) that lies on
// the picture.
void show_on_screen(Display& display, int64_t x, int64_t y, int64_t w, int64_t h);

// Empties the rectangle list and starts collecting into it.
void display_begin_deferred(Display& display);
// Draws the collected rectangles in order and goes back to drawing at once.
void display_flush_rects(Display& display);

// The window rectangle a picture rectangle lands on: both edges scaled, so
// neighbouring rectangles meet without gaps at any scale.
platform::Rect scaled_rect(const Display& display, int32_t dest_x, int32_t dest_y, int32_t x,
                           int32_t y, int32_t w, int32_t h);

}  // namespace glint::player::display
