// What the mouse and input commands keep for one run: the mouse areas and
// their levels, the mouse position, and the software pointer (its image, where
// it is drawn, the screen pixels under it and its colours).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "player/player.h"

namespace glint::player {

inline constexpr std::size_t kMaxMouseAreas = 128;
inline constexpr std::size_t kMaxAreaLevels = 32;
inline constexpr std::size_t kAreaNameMax = 31;

// A rectangle of the screen with a name: left <= x < right, top <= y < bottom.
struct MouseArea {
  std::string name;
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  // The pointer over this area: a bitmap number and the serial it had when
  // the area was added (0: the default arrow).
  int32_t bitmap = 0;
  uint64_t bitmap_serial = 0;
};

// A level saved by MOUSEPUSHANDREMOVEALL.
struct AreaLevel {
  std::size_t base = 0;
  std::size_t count = 0;
};

// Which image the pointer shows: the default arrow (bitmap 0) or a bitmap,
// named by number and serial so a freed or reused slot is noticed.
struct PointerImage {
  int32_t bitmap = 0;
  uint64_t serial = 0;
  bool operator==(const PointerImage&) const = default;
};

struct PointerState {
  PointerImage image;
  // Where it is drawn (its top left corner and the part of it on the
  // screen), and what the screen had there.
  bool drawn = false;
  int32_t x = 0;
  int32_t y = 0;
  int32_t saved_x = 0;
  int32_t saved_y = 0;
  int32_t saved_w = 0;
  int32_t saved_h = 0;
  std::vector<uint8_t> saved;
  PointerImage drawn_image;
  uint32_t drawn_palette_changes = 0;
  // The display the pointer was drawn on: a new display has other pixels.
  uint64_t display_generation = 0;
  // Arrow colours, recomputed when the palette change counter moves.
  bool colours_known = false;
  uint32_t palette_changes = 0;
  uint8_t outline = 0;
  uint8_t fill = 0;
  uint8_t key = 0;
};

struct InputState {
  std::vector<MouseArea> areas;  // the whole table, oldest first
  std::size_t base = 0;          // the current level's first area
  std::vector<AreaLevel> levels;
  // The mouse position in screen pixels, (-1, -1) outside the window.
  int32_t mouse_x = 0;
  int32_t mouse_y = 0;
  int32_t mouse_mode = 0;  // MOUSEMODE's number: kept, not read
  PointerState pointer;
};

// The run's input state, made on first use.
InputState& input_state(Player& player);

}  // namespace glint::player
