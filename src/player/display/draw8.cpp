#include "player/display/draw8.h"

#include <algorithm>
#include <cstdlib>

namespace glint::player::display {

void put_pixel(const Target8& t, int64_t x, int64_t y, uint8_t colour) {
  if (!t.top_row || x < 0 || y < 0 || x >= t.width || y >= t.height) return;
  t.top_row[y * t.pitch + x] = colour;
}

uint8_t get_pixel(const Target8& t, int64_t x, int64_t y) {
  if (!t.top_row || x < 0 || y < 0 || x >= t.width || y >= t.height) return 0;
  return t.top_row[y * t.pitch + x];
}

void draw_line(const Target8& t, int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint8_t colour) {
  const int64_t dx = std::llabs(x2 - x1), dy = std::llabs(y2 - y1);
  const int64_t sx = x2 >= x1 ? 1 : -1, sy = y2 >= y1 ? 1 : -1;
  // Far-off points would make a long walk over nothing: the caller limits
  // coordinates to the screen, and this bound keeps any other call finite.
  if (dx > (int64_t{1} << 20) || dy > (int64_t{1} << 20)) return;
  const bool x_major = dx >= dy;
  const int64_t longer = x_major ? dx : dy, shorter = x_major ? dy : dx;
  int64_t error = 2 * shorter - longer;
  int64_t x = x1, y = y1;
  for (int64_t i = 0; i <= longer; ++i) {
    put_pixel(t, x, y, colour);
    if (error >= 0) {
      if (x_major)
        y += sy;
      else
        x += sx;
      error -= 2 * longer;
    }
    error += 2 * shorter;
    if (x_major)
      x += sx;
    else
      y += sy;
  }
}

void fill_box(const Target8& t, int64_t x, int64_t y, int64_t w, int64_t h, uint8_t colour) {
  if (!t.top_row || w <= 0 || h <= 0) return;
  const int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
  const int64_t x1 = std::min<int64_t>(x + w, t.width), y1 = std::min<int64_t>(y + h, t.height);
  for (int64_t row = y0; row < y1; ++row)
    if (x1 > x0) std::fill_n(t.top_row + row * t.pitch + x0, x1 - x0, colour);
}

int brightest_index(const Rgb768& p) {
  int best = 0;
  int64_t best_key = -1;
  for (int i = 0; i < 256; ++i) {
    const int r = p[size_t(i) * 3], g = p[size_t(i) * 3 + 1], b = p[size_t(i) * 3 + 2];
    const int64_t key = int64_t{std::min({r, g, b})} * 65536 + r + g + b;
    if (key >= best_key) {
      best_key = key;
      best = i;
    }
  }
  return best;
}

int darkest_index(const Rgb768& p) {
  int best = 0;
  int64_t best_key = INT64_MAX;
  for (int i = 0; i < 256; ++i) {
    const int r = p[size_t(i) * 3], g = p[size_t(i) * 3 + 1], b = p[size_t(i) * 3 + 2];
    const int64_t key = int64_t{std::max({r, g, b})} * 65536 + r + g + b;
    if (key < best_key) {
      best_key = key;
      best = i;
    }
    if (key == 0) break;
  }
  return best;
}

}  // namespace glint::player::display
