// The bitmap table commands: BITMAPALLOC, BITMAPFREE, BITMAPWIDTH,
// BITMAPHEIGHT and BITMAPLIST; the family's registration.
#include "player/commands_bitmap.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "player/commands_bitmap_common.h"
#include "player/error_report.h"
#include "player/parameters.h"
#include "player/script_text.h"
#include "player/trace.h"
#include "player/variable_access.h"

namespace glint::player {

Bitmap& read_bitmap(Player& player) {
  Bitmap* bitmap = find_bitmap(player, read_number(player));
  if (!bitmap) report_line_error(player, kBadFrame);
  return *bitmap;
}

void store_bitmap_result(Player& player, const std::string& name, int64_t value) {
  set_variable(player, name,
               int32_to_text(int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX))));
}

namespace {

void command_bitmapalloc(Player& player) {
  const std::string name = read_variable(player);
  const int32_t width = read_number(player);
  const int32_t height = read_number(player);
  store_bitmap_result(player, name, allocate_bitmap(player, width, height));
}

void command_bitmapfree(Player& player) {
  const std::string name = read_variable(player);
  if (!free_bitmap(player, text_to_int32(get_variable(player, name))))
    report_line_error(player, kBadFrame);
  set_variable(player, name, "");
}

void command_bitmapwidth(Player& player) {
  const std::string name = read_variable(player);
  store_bitmap_result(player, name, read_bitmap(player).width);
}

void command_bitmapheight(Player& player) {
  const std::string name = read_variable(player);
  store_bitmap_result(player, name, read_bitmap(player).height);
}

void command_bitmaplist(Player& player) {
  if (!has_window(player)) report_plain_error(player, kNoWindow);
  // The lines are made first: printing goes through the screen and must not
  // see the table change under it.
  std::vector<std::string> lines;
  const BitmapTable& table = bitmap_table(player);
  for (std::size_t i = 0; i < kBitmapSlots; ++i) {
    const Bitmap* bitmap = table.slots[i].get();
    if (!bitmap) continue;
    char line[96];
    std::snprintf(line, sizeof line, "Number: %i  Width: %i  Height: %i",
                  int(kFirstBitmapNumber + int32_t(i)), int(bitmap->width), int(bitmap->height));
    lines.emplace_back(line);
  }
  print_listing(player, lines);
  trim_left(player.parameters);
}

}  // namespace

void register_bitmap_commands(CommandTable& table) {
  register_command(table, "BITMAPALLOC", command_bitmapalloc);
  register_command(table, "BITMAPFREE", command_bitmapfree);
  register_command(table, "BITMAPHEIGHT", command_bitmapheight);
  register_command(table, "BITMAPLIST", command_bitmaplist);
  register_command(table, "BITMAPWIDTH", command_bitmapwidth);
  register_bitmap_drawing_commands(table);
  register_bitmap_copy_commands(table);
  register_bitmap_palette_commands(table);
  register_bitmap_screen_commands(table);
}

}  // namespace glint::player
