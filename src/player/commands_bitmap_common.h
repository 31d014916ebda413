// What the BITMAP command files share: reading a bitmap number parameter,
// storing numeric results, and each file's registration.
#pragma once

#include <cstdint>
#include <string>

#include "player/bitmaps.h"
#include "player/command_table.h"
#include "player/display/draw8.h"
#include "player/player.h"

namespace glint::player {

// A bitmap number parameter; "Bad frame parameter" unless it names an
// allocated bitmap.
Bitmap& read_bitmap(Player& player);

void store_bitmap_result(Player& player, const std::string& name, int64_t value);

inline display::Target8 bitmap_target(Bitmap& bitmap) {
  return display::Target8{bitmap.pixels.data(), bitmap.width, bitmap.width, bitmap.height};
}

void register_bitmap_drawing_commands(CommandTable& table);
void register_bitmap_copy_commands(CommandTable& table);
void register_bitmap_palette_commands(CommandTable& table);
void register_bitmap_screen_commands(CommandTable& table);

}  // namespace glint::player
