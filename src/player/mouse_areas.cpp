#include "player/mouse_areas.h"

namespace glint::player {

bool add_mouse_area(InputState& input, const MouseArea& area) {
  if (input.areas.size() >= kMaxMouseAreas) return false;
  input.areas.push_back(area);
  if (input.areas.back().name.size() > kAreaNameMax) input.areas.back().name.resize(kAreaNameMax);
  return true;
}

void remove_mouse_area(InputState& input, std::string_view name) {
  for (std::size_t i = input.areas.size(); i > input.base; --i) {
    if (input.areas[i - 1].name == name) {
      input.areas.erase(input.areas.begin() + std::ptrdiff_t(i - 1));
      return;
    }
  }
}

void remove_level_areas(InputState& input) {
  if (input.areas.size() > input.base) input.areas.resize(input.base);
}

void push_area_level(InputState& input) {
  if (input.levels.size() >= kMaxAreaLevels) return;
  input.levels.push_back(AreaLevel{input.base, input.areas.size() - input.base});
  input.base = input.areas.size();
}

void pop_area_level(InputState& input) {
  remove_level_areas(input);
  if (input.levels.empty()) return;
  const AreaLevel level = input.levels.back();
  input.levels.pop_back();
  input.base = level.base;
  // The areas of the level below are the table's end again.
  if (input.areas.size() > level.base + level.count) input.areas.resize(level.base + level.count);
}

const MouseArea* mouse_area_at(const InputState& input, int64_t x, int64_t y) {
  for (std::size_t i = input.areas.size(); i > input.base; --i) {
    const MouseArea& a = input.areas[i - 1];
    if (x >= a.left && x < a.right && y >= a.top && y < a.bottom) return &a;
  }
  return nullptr;
}

}  // namespace glint::player
