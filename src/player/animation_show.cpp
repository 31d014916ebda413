#include "player/animation_show.h"

#include <algorithm>
#include <cstring>

#include "player/display/display_blit.h"
#include "player/display/display_palette.h"
#include "player/display/screen.h"

namespace glint::player {
namespace {

namespace d = display;

// Copies a rectangle of the private picture placed at (output.x, output.y)
// into the screen buffer; returns the screen area it covered.
ScreenArea copy_clipped(d::Display& display, const FrameOutput& output, int64_t rx, int64_t ry,
                        int64_t rw, int64_t rh) {
  // The rectangle lies in the picture; cut it to the picture all the same.
  const int64_t x0 = std::max<int64_t>(rx, 0), y0 = std::max<int64_t>(ry, 0);
  const int64_t x1 = std::min<int64_t>(rx + rw, output.width);
  const int64_t y1 = std::min<int64_t>(ry + rh, output.height);
  if (x1 <= x0 || y1 <= y0) return {};
  const ScreenArea area =
      visible_area(output.x + x0, output.y + y0, x1 - x0, y1 - y0, display.width, display.height);
  if (area.empty()) return area;
  const int64_t from_x = area.x - int64_t{output.x};
  const int64_t from_y = area.y - int64_t{output.y};
  for (int32_t row = 0; row < area.h; ++row) {
    const uint8_t* from = output.picture + (from_y + row) * output.width + from_x;
    std::memcpy(d::display_row(display, area.y + row) + area.x, from, std::size_t(area.w));
  }
  return area;
}

}  // namespace

FrameOutput bind_no_output(Glint* glint) {
  GlintSetOutput(glint, 0, 0, 0, 0, nullptr, 0);
  return {};
}

FrameOutput bind_buffer_output(Glint* glint, uint8_t* pixels, int32_t width, int32_t height) {
  if (!pixels || width <= 0 || height <= 0) return bind_no_output(glint);
  GlintSetOutput(glint, 0, 0, width, uint32_t(height), pixels, 0);
  FrameOutput out;
  out.kind = FrameOutput::Kind::kBuffer;
  out.width = width;
  out.height = height;
  return out;
}

FrameOutput bind_screen_output(Glint* glint, int64_t x, int64_t y,
                               std::vector<uint8_t>& frame_buffer) {
  d::Display* display = d::window_display();
  if (!glint || !display) return bind_no_output(glint);
  FrameOutput out;
  out.x = int32_t(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
  out.y = int32_t(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX));
  out.width = int32_t(std::min<uint32_t>(glint->width, INT32_MAX));
  out.height = int32_t(std::min<uint32_t>(glint->height, INT32_MAX));
  if (out.x >= 0 && out.y >= 0) {
    // The decoder cuts whatever passes the right or bottom edge itself.
    out.kind = FrameOutput::Kind::kScreen;
    GlintSetOutput(glint, uint32_t(out.x), uint32_t(out.y), display->pitch,
                   uint32_t(display->buffer_height), display->bits.data(),
                   display->top_down ? 0 : GLINT_OUTPUT_BOTTOM_UP);
    return out;
  }
  const uint64_t pixels = uint64_t(out.width) * uint64_t(out.height);
  if (pixels == 0 ||
      visible_area(out.x, out.y, out.width, out.height, display->width, display->height).empty())
    return bind_no_output(glint);
  try {
    if (frame_buffer.size() != pixels) frame_buffer.assign(pixels, 0);
  } catch (const std::bad_alloc&) {
    frame_buffer.clear();
    return bind_no_output(glint);
  }
  out.kind = FrameOutput::Kind::kScreenClipped;
  out.picture = frame_buffer.data();
  GlintSetOutput(glint, 0, 0, out.width, uint32_t(out.height), frame_buffer.data(), 0);
  return out;
}

void show_decoded_frame(Glint* glint, const FrameOutput& output) {
  if (output.kind != FrameOutput::Kind::kScreen && output.kind != FrameOutput::Kind::kScreenClipped)
    return;
  d::Display* display = d::window_display();
  if (!glint || !display) return;
  d::display_begin_deferred(*display);
  while (GlintNextRect(glint, display->buffer_kind)) {
    const int64_t rx = glint->update_x, ry = glint->update_y;
    const int64_t rw = glint->update_w, rh = glint->update_h;
    if (rw == 0 || rh == 0) {
      // Only the palette changed: the window shows colours, so the display
      // decides whether the whole picture must go again.
      d::display_update_screen(*display);
      continue;
    }
    ScreenArea area;
    if (output.kind == FrameOutput::Kind::kScreenClipped)
      area = copy_clipped(*display, output, rx, ry, rw, rh);
    else
      area = visible_area(rx, ry, rw, rh, display->width, display->height);
    if (area.empty()) continue;
    // A full-screen display has just taken the whole picture.
    if (d::display_blit(*display, 0, 0, area.x, area.y, area.w, area.h) != 0) break;
  }
  d::display_flush_rects(*display);
}

bool update_screen_palette(Player& player, const Glint& glint) {
  if (!glint.palette_updated) return false;
  d::Screen& s = d::screen();
  if (std::memcmp(glint.palette, s.palette.data(), s.palette.size()) == 0) return false;
  for (std::size_t i = 0; i < 256; ++i)
    if (!player.palette_locks[i]) std::memcpy(&s.palette[i * 3], &glint.palette[i * 3], 3);
  if (s.display) d::display_set_palette(*s.display, s.palette.data(), 0);
  ++s.palette_changes;
  return true;
}

}  // namespace glint::player
