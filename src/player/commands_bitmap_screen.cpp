// Bitmaps and the screen: BITMAPTOSCREEN with its TRANS, MASK and MERGE
// forms, BITMAPFROMSCREEN, and BITMAPTEXT (text into a bitmap). Positions on
// the screen are the script's: the screen adjustment is added to each. Every
// copy is cut to the screen and to the bitmap.
#include <optional>
#include <string>

#include "player/bitmap_copy.h"
#include "player/commands_bitmap_common.h"
#include "player/commands_screen.h"
#include "player/display/display.h"
#include "player/display/display_blit.h"
#include "player/display/screen.h"
#include "player/error_report.h"
#include "player/font.h"
#include "player/parameters.h"
#include "player/pointer.h"

namespace glint::player {
namespace {

namespace d = display;

d::Target8 screen_target(d::Display& display) {
  return d::Target8{d::display_row(display, 0), d::display_row_step(display), display.width,
                    display.height};
}

void to_screen(Player& player, Bitmap& bitmap, Bitmap* extra, int32_t x, int32_t y, CopyKind kind,
               uint8_t key) {
  d::Display& display = need_window(player);
  if (extra && (extra->width != bitmap.width || extra->height != bitmap.height)) return;
  const ScreenSettings& s = screen_settings(player);
  const std::optional<CopyArea> area =
      place_on_screen(display.width, display.height, bitmap.width, bitmap.height,
                      int64_t{x} + s.adjust_x, int64_t{y} + s.adjust_y);
  if (!area) return;
  remove_pointer_over(player, area->dest_x, area->dest_y, area->width, area->rows);
  const d::Target8 extra_target = extra ? bitmap_target(*extra) : d::Target8{};
  copy_area(screen_target(display), bitmap_target(bitmap), extra ? &extra_target : nullptr, *area,
            kind, key);
  d::display_blit(display, 0, 0, area->dest_x, area->dest_y, area->width, area->rows);
}

void command_bitmaptoscreen(Player& player) {
  Bitmap& bitmap = read_bitmap(player);
  const int32_t x = read_number(player), y = read_number(player);
  to_screen(player, bitmap, nullptr, x, y, CopyKind::kPlain, 0);
}

void command_bitmaptoscreentrans(Player& player) {
  Bitmap& bitmap = read_bitmap(player);
  const int32_t x = read_number(player), y = read_number(player);
  const uint8_t key = uint8_t(read_number(player));
  to_screen(player, bitmap, nullptr, x, y, CopyKind::kTransparent, key);
}

void to_screen_with_extra(Player& player, CopyKind kind) {
  Bitmap& bitmap = read_bitmap(player);
  Bitmap& extra = read_bitmap(player);
  const int32_t x = read_number(player), y = read_number(player);
  const uint8_t key = uint8_t(read_number(player));
  to_screen(player, bitmap, &extra, x, y, kind, key);
}

void command_bitmaptoscreenmask(Player& player) { to_screen_with_extra(player, CopyKind::kMasked); }
void command_bitmaptoscreenmerge(Player& player) {
  to_screen_with_extra(player, CopyKind::kMerged);
}

void command_bitmapfromscreen(Player& player) {
  Bitmap& bitmap = read_bitmap(player);
  const int32_t x = read_number(player), y = read_number(player);
  d::Display& display = need_window(player);
  const ScreenSettings& s = screen_settings(player);
  // Only the part of the area on the screen is read; the rest of the bitmap
  // keeps its pixels.
  const std::optional<CopyArea> area =
      place_from_screen(display.width, display.height, bitmap.width, bitmap.height,
                        int64_t{x} + s.adjust_x, int64_t{y} + s.adjust_y);
  if (!area) return;
  remove_pointer_over(player, area->source_x, area->source_y, area->width, area->rows);
  copy_area(bitmap_target(bitmap), screen_target(display), nullptr, *area, CopyKind::kPlain, 0);
}

void command_bitmaptext(Player& player) {
  Bitmap& bitmap = read_bitmap(player);
  const int32_t x = read_number(player), y = read_number(player);
  const std::string text = read_text(player);
  const TextColours colours{player.text_color, player.text_back_color, player.text_trans_color};
  render_text(screen_settings(player).font, text, colours,
              TextTarget{bitmap.pixels.data(), bitmap.width, bitmap.width, bitmap.height}, x, y);
}

}  // namespace

void register_bitmap_screen_commands(CommandTable& table) {
  register_command(table, "BITMAPFROMSCREEN", command_bitmapfromscreen);
  register_command(table, "BITMAPTEXT", command_bitmaptext);
  register_command(table, "BITMAPTOSCREEN", command_bitmaptoscreen);
  register_command(table, "BITMAPTOSCREENMASK", command_bitmaptoscreenmask);
  register_command(table, "BITMAPTOSCREENMERGE", command_bitmaptoscreenmerge);
  register_command(table, "BITMAPTOSCREENTRANS", command_bitmaptoscreentrans);
}

}  // namespace glint::player
