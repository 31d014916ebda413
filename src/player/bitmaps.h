// The bitmap table: 128 off-screen 8-bit pictures, numbered 9000-9127, each
// with an optional 256-colour palette. The BITMAP commands manage it; the
// screen, text, mouse and animation commands look bitmaps up through it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "player/player.h"

namespace glint::player {

inline constexpr int32_t kFirstBitmapNumber = 9000;
inline constexpr std::size_t kBitmapSlots = 128;
// The largest picture one bitmap may hold; a bigger request fails like an
// allocation without memory (the command gets 0).
inline constexpr int64_t kMaxBitmapPixels = int64_t{1} << 26;
// And all bitmaps of a run together.
inline constexpr int64_t kMaxTablePixels = int64_t{1} << 28;

using BitmapPalette = std::array<uint8_t, 768>;  // red, green, blue per entry

struct Bitmap {
  std::vector<uint8_t> pixels;  // width x height, rows top to bottom
  int32_t width = 0;            // at least 1
  int32_t height = 0;           // at least 1
  std::optional<BitmapPalette> palette;
  // Unique over the whole process: whoever keeps a bitmap's number (a mouse
  // area, an animation) keeps this too and sees a freed or reused slot.
  uint64_t serial = 0;
};

struct BitmapTable {
  int64_t pixels_in_use = 0;
  std::array<std::unique_ptr<Bitmap>, kBitmapSlots> slots;
};

// The table of this run, kept in the Player (empty at first).
BitmapTable& bitmap_table(const Player& player);

// The bitmap a script number names, or null when the number is outside
// 9000-9127 or its slot is empty.
Bitmap* find_bitmap(const Player& player, int64_t number);
// find_bitmap that also checks the serial a holder kept.
Bitmap* find_bitmap(const Player& player, int64_t number, uint64_t serial);

// A zero-filled bitmap in the first free slot; its number, or 0 when every
// slot is used, a side is not positive, the picture is too large or memory
// runs out.
int32_t allocate_bitmap(Player& player, int32_t width, int32_t height);
// Empties the slot (pixels and palette go); false for a number naming none.
bool free_bitmap(Player& player, int64_t number);

// A row of the picture; the caller keeps y inside the height.
inline std::span<uint8_t> bitmap_row(Bitmap& bitmap, int32_t y) {
  return std::span<uint8_t>(bitmap.pixels)
      .subspan(std::size_t(y) * std::size_t(bitmap.width), std::size_t(bitmap.width));
}

}  // namespace glint::player
