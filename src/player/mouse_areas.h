// The mouse area table: up to 128 named rectangles in levels. The areas from
// the current level's base to the end of the table are the visible ones; a
// push starts a new empty level above them, a pop drops it again.
#pragma once

#include <cstdint>
#include <string_view>

#include "player/input_state.h"

namespace glint::player {

// Appends an area to the current level; false when the table is full.
bool add_mouse_area(InputState& input, const MouseArea& area);
// Removes the newest visible area with exactly this name (case counts).
void remove_mouse_area(InputState& input, std::string_view name);
// Removes every area of the current level.
void remove_level_areas(InputState& input);
// Starts a new empty level; the current areas wait below it. Beyond 32
// saved levels the push is ignored (the current level stays as it is).
void push_area_level(InputState& input);
// Drops the current level's areas and returns to the level below; at the
// base level only the areas go.
void pop_area_level(InputState& input);
// The newest visible area containing the point, or null.
const MouseArea* mouse_area_at(const InputState& input, int64_t x, int64_t y);

}  // namespace glint::player
