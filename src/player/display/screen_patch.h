// Rectangles of the picture for the commands: the part of a script
// rectangle that lies on the picture, and such a part kept aside to be put
// back later (an input box, the screen under an animation).
#pragma once

#include <cstdint>
#include <vector>

#include "player/display/display.h"

namespace glint::player::display {

// The part of a width x height area at (x, y) that lies on a screen of
// screen_width x screen_height; empty (w or h 0) when none.
struct ScreenArea {
  int32_t x = 0, y = 0, w = 0, h = 0;
  bool empty() const { return w <= 0 || h <= 0; }
};
ScreenArea visible_area(int64_t x, int64_t y, int64_t width, int64_t height, int32_t screen_width,
                        int32_t screen_height);

// The pixels of the visible part of a rectangle, row after row.
struct ScreenPatch {
  ScreenArea area;
  std::vector<uint8_t> pixels;
  const uint8_t* row(int32_t r) const {
    return pixels.data() + std::size_t(r) * std::size_t(area.w);
  }
};
ScreenPatch save_screen_patch(Display& display, int64_t x, int64_t y, int64_t w, int64_t h);
// False when the picture no longer holds the patch's area (the window was
// made again with another size meanwhile) or the patch is empty.
bool patch_fits(const Display& display, const ScreenPatch& patch);
// Puts the pixels back and shows them, when the patch fits.
void restore_screen_patch(Display& display, const ScreenPatch& patch);

}  // namespace glint::player::display
