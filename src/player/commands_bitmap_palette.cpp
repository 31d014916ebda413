// Palettes of bitmaps: BITMAPGETPALETTE, BITMAPSETPALETTE,
// BITMAPPALETTETOPALETTE, BITMAPGETPALETTEVALUE, BITMAPSETPALETTEVALUE,
// BITMAPGETBRIGHTESTPALETTEINDEX, BITMAPGETDARKESTPALETTEINDEX and
// BITMAPFADEINPALETTE. Entry numbers outside 0-255 are ignored (reads give 0).
#include <string>

#include "player/commands_bitmap_common.h"
#include "player/display/draw8.h"
#include "player/display/fades.h"
#include "player/display/screen.h"
#include "player/parameters.h"

namespace glint::player {
namespace {

namespace d = display;

bool valid_entry(int32_t index) { return index >= 0 && index <= 255; }

// Entries pack as red + 256 x green + 65,536 x blue.
int64_t packed_entry(const BitmapPalette& palette, int32_t index) {
  const uint8_t* e = &palette[std::size_t(index) * 3];
  return int64_t{e[0]} | int64_t{e[1]} << 8 | int64_t{e[2]} << 16;
}

void command_bitmapgetpalette(Player& player) {
  Bitmap& bitmap = read_bitmap(player);
  bitmap.palette = d::screen().palette;
}

void command_bitmapsetpalette(Player& player) {
  Bitmap& bitmap = read_bitmap(player);
  if (!bitmap.palette || *bitmap.palette == d::screen().palette) return;
  d::apply_screen_palette(*bitmap.palette, player.palette_locks);
  ++d::screen().palette_changes;
}

void command_bitmappalettetopalette(Player& player) {
  Bitmap& dest = read_bitmap(player);
  const Bitmap& source = read_bitmap(player);
  dest.palette = source.palette;
}

void command_bitmapgetpalettevalue(Player& player) {
  const std::string name = read_variable(player);
  const Bitmap& bitmap = read_bitmap(player);
  const int32_t index = read_number(player);
  const bool known = bitmap.palette && valid_entry(index);
  store_bitmap_result(player, name, known ? packed_entry(*bitmap.palette, index) : 0);
}

void command_bitmapsetpalettevalue(Player& player) {
  Bitmap& bitmap = read_bitmap(player);
  const int32_t index = read_number(player);
  const uint32_t value = uint32_t(read_number(player));
  if (!valid_entry(index)) return;
  if (!bitmap.palette) bitmap.palette = BitmapPalette{};
  uint8_t* e = &(*bitmap.palette)[std::size_t(index) * 3];
  e[0] = uint8_t(value);
  e[1] = uint8_t(value >> 8);
  e[2] = uint8_t(value >> 16);
}

void command_bitmapgetbrightestpaletteindex(Player& player) {
  const std::string name = read_variable(player);
  const Bitmap& bitmap = read_bitmap(player);
  store_bitmap_result(player, name, bitmap.palette ? d::brightest_index(*bitmap.palette) : 0);
}

void command_bitmapgetdarkestpaletteindex(Player& player) {
  const std::string name = read_variable(player);
  const Bitmap& bitmap = read_bitmap(player);
  store_bitmap_result(player, name, bitmap.palette ? d::darkest_index(*bitmap.palette) : 0);
}

void command_bitmapfadeinpalette(Player& player) {
  const Bitmap& bitmap = read_bitmap(player);
  if (!bitmap.palette) return;
  // A copy: the fade pumps window messages, which may run other code.
  const BitmapPalette target = *bitmap.palette;
  d::fade_in_palette(target, player.palette_locks, player.fade_speed);
}

}  // namespace

void register_bitmap_palette_commands(CommandTable& table) {
  register_command(table, "BITMAPFADEINPALETTE", command_bitmapfadeinpalette);
  register_command(table, "BITMAPGETBRIGHTESTPALETTEINDEX", command_bitmapgetbrightestpaletteindex);
  register_command(table, "BITMAPGETDARKESTPALETTEINDEX", command_bitmapgetdarkestpaletteindex);
  register_command(table, "BITMAPGETPALETTE", command_bitmapgetpalette);
  register_command(table, "BITMAPGETPALETTEVALUE", command_bitmapgetpalettevalue);
  register_command(table, "BITMAPPALETTETOPALETTE", command_bitmappalettetopalette);
  register_command(table, "BITMAPSETPALETTE", command_bitmapsetpalette);
  register_command(table, "BITMAPSETPALETTEVALUE", command_bitmapsetpalettevalue);
}

}  // namespace glint::player
