// Drawing on an 8-bit picture with every access kept inside it: pixels,
// lines, box outlines and filled boxes, and the palette searches that pick
// colours for drawing.
#pragma once

#include <cstdint>

#include "player/display/palette_format.h"

namespace glint::player::display {

struct Target8 {
  uint8_t* top_row = nullptr;  // the top line
  int64_t pitch = 0;           // from one line to the next below (negative bottom-up)
  int32_t width = 0;
  int32_t height = 0;
};

void put_pixel(const Target8& t, int64_t x, int64_t y, uint8_t colour);
// 0 outside the picture.
uint8_t get_pixel(const Target8& t, int64_t x, int64_t y);
// Bresenham between both points, both ends drawn; points outside are skipped.
void draw_line(const Target8& t, int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint8_t colour);
// The part of the w x h rectangle at (x, y) inside the picture.
void fill_box(const Target8& t, int64_t x, int64_t y, int64_t w, int64_t h, uint8_t colour);

// Entry with the largest brightness key (smallest component x 65,536 + sum;
// later entries win ties), and with the smallest darkness key (largest
// component x 65,536 + sum; earlier entries win ties, black ends the search).
int brightest_index(const Rgb768& palette);
int darkest_index(const Rgb768& palette);

}  // namespace glint::player::display
