// Drawing into bitmaps: BITMAPCLEAR, BITMAPSETPIXEL, BITMAPGETPIXEL,
// BITMAPCHANGECOLOR, BITMAPLINE, BITMAPBOX and BITMAPFILLEDBOX. Pixels,
// lines and boxes are cut at the bitmap's edges; colours are taken as bytes.
#include <algorithm>
#include <string>

#include "player/commands_bitmap_common.h"
#include "player/parameters.h"

namespace glint::player {
namespace {

namespace d = display;

uint8_t read_colour(Player& player) { return uint8_t(read_number(player)); }

// A coordinate of BITMAPSETPIXEL and BITMAPGETPIXEL: taken as unsigned and
// held at the last column or row, so (-1, -1) is the bottom-right corner.
int32_t clamp_coordinate(int32_t value, int32_t size) {
  return int32_t(std::min<uint32_t>(uint32_t(value), uint32_t(size - 1)));
}

void command_bitmapclear(Player& player) {
  Bitmap& bitmap = read_bitmap(player);
  std::fill(bitmap.pixels.begin(), bitmap.pixels.end(), read_colour(player));
}

void command_bitmapsetpixel(Player& player) {
  Bitmap& bitmap = read_bitmap(player);
  const int32_t x = clamp_coordinate(read_number(player), bitmap.width);
  const int32_t y = clamp_coordinate(read_number(player), bitmap.height);
  bitmap_row(bitmap, y)[std::size_t(x)] = read_colour(player);
}

void command_bitmapgetpixel(Player& player) {
  const std::string name = read_variable(player);
  Bitmap& bitmap = read_bitmap(player);
  const int32_t x = clamp_coordinate(read_number(player), bitmap.width);
  const int32_t y = clamp_coordinate(read_number(player), bitmap.height);
  store_bitmap_result(player, name, bitmap_row(bitmap, y)[std::size_t(x)]);
}

void command_bitmapchangecolor(Player& player) {
  Bitmap& bitmap = read_bitmap(player);
  const uint8_t from = read_colour(player);
  const uint8_t to = read_colour(player);
  std::replace(bitmap.pixels.begin(), bitmap.pixels.end(), from, to);
}

void command_bitmapline(Player& player) {
  Bitmap& bitmap = read_bitmap(player);
  const int64_t x1 = read_number(player), y1 = read_number(player);
  const int64_t x2 = read_number(player), y2 = read_number(player);
  d::draw_line(bitmap_target(bitmap), x1, y1, x2, y2, read_colour(player));
}

// The column or row span from a to b, both included, in either order.
void edge(const d::Target8& t, int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint8_t colour) {
  const int64_t left = std::min(x1, x2), top = std::min(y1, y2);
  d::fill_box(t, left, top, std::max(x1, x2) - left + 1, std::max(y1, y2) - top + 1, colour);
}

void command_bitmapbox(Player& player) {
  Bitmap& bitmap = read_bitmap(player);
  const int64_t x = read_number(player), y = read_number(player);
  const int64_t w = read_number(player), h = read_number(player);
  const uint8_t colour = read_colour(player);
  // The outline runs through the four corners, so a w x h box covers
  // w + 1 columns and h + 1 rows. Edges are drawn as strips: they are cut
  // at the edges of the bitmap like any box, however far off the corners are.
  const d::Target8 t = bitmap_target(bitmap);
  edge(t, x, y, x + w, y, colour);
  edge(t, x + w, y, x + w, y + h, colour);
  edge(t, x, y + h, x + w, y + h, colour);
  edge(t, x, y, x, y + h, colour);
}

void command_bitmapfilledbox(Player& player) {
  Bitmap& bitmap = read_bitmap(player);
  const int64_t x = read_number(player), y = read_number(player);
  const int64_t w = read_number(player), h = read_number(player);
  d::fill_box(bitmap_target(bitmap), x, y, w, h, read_colour(player));
}

}  // namespace

void register_bitmap_drawing_commands(CommandTable& table) {
  register_command(table, "BITMAPBOX", command_bitmapbox);
  register_command(table, "BITMAPCHANGECOLOR", command_bitmapchangecolor);
  register_command(table, "BITMAPCLEAR", command_bitmapclear);
  register_command(table, "BITMAPFILLEDBOX", command_bitmapfilledbox);
  register_command(table, "BITMAPGETPIXEL", command_bitmapgetpixel);
  register_command(table, "BITMAPLINE", command_bitmapline);
  register_command(table, "BITMAPSETPIXEL", command_bitmapsetpixel);
}

}  // namespace glint::player
