#include "player/display/screen_patch.h"

#include <algorithm>
#include <cstring>

#include "player/display/display_blit.h"

namespace glint::player::display {

ScreenArea visible_area(int64_t x, int64_t y, int64_t width, int64_t height, int32_t screen_width,
                        int32_t screen_height) {
  const int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
  const int64_t x1 = std::min<int64_t>(x + width, screen_width);
  const int64_t y1 = std::min<int64_t>(y + height, screen_height);
  if (x1 <= x0 || y1 <= y0) return {};
  return ScreenArea{int32_t(x0), int32_t(y0), int32_t(x1 - x0), int32_t(y1 - y0)};
}

ScreenPatch save_screen_patch(Display& display, int64_t x, int64_t y, int64_t w, int64_t h) {
  ScreenPatch patch;
  patch.area = visible_area(x, y, w, h, display.width, display.height);
  if (patch.area.empty()) return patch;
  const ScreenArea& a = patch.area;
  patch.pixels.resize(std::size_t(a.w) * std::size_t(a.h));
  for (int32_t r = 0; r < a.h; ++r)
    std::memcpy(patch.pixels.data() + std::size_t(r) * std::size_t(a.w),
                display_row(display, a.y + r) + a.x, std::size_t(a.w));
  return patch;
}

bool patch_fits(const Display& display, const ScreenPatch& patch) {
  const ScreenArea& a = patch.area;
  return !patch.pixels.empty() && int64_t{a.x} + a.w <= display.width &&
         int64_t{a.y} + a.h <= display.height;
}

void restore_screen_patch(Display& display, const ScreenPatch& patch) {
  if (!patch_fits(display, patch)) return;
  const ScreenArea& a = patch.area;
  for (int32_t r = 0; r < a.h; ++r)
    std::memcpy(display_row(display, a.y + r) + a.x, patch.row(r), std::size_t(a.w));
  display_blit(display, 0, 0, a.x, a.y, a.w, a.h);
}

}  // namespace glint::player::display
