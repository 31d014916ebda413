#include "player/display/display_blit.h"

#include <algorithm>

#include "platform/video_canvas.h"
#include "player/display/display_palette.h"
#include "player/display/screen_patch.h"

namespace glint::player::display {
namespace {

platform::Rect full_picture(const Display& d) { return platform::Rect{0, 0, d.width, d.height}; }

// One mapping for the whole picture, drawn where the rectangle lands: every
// output pixel samples the same source pixel whichever rectangle draws it.
void present(Display& d, int32_t dest_x, int32_t dest_y, const platform::Rect& r) {
  platform::video().present8(d.window, display_picture(d), full_picture(d),
                             scaled_rect(d, dest_x, dest_y, 0, 0, d.width, d.height),
                             scaled_rect(d, dest_x, dest_y, r.x, r.y, r.w, r.h), d.shown.data());
}

// Through the copier into the window's 16-bit surface. Only whole source
// pixels whose output lies inside the surface are copied.
void copy_accelerated(Display& d, int32_t dest_x, int32_t dest_y, platform::Rect r) {
  const platform::VideoDriver& video = platform::video();
  platform::Surface s;
  if (!video.lock_surface(d.window, &s)) return;  // a failed lock skips this copy
  const int scale = copier_scale(*d.copier);
  // Output of source pixel (x, y) is at (dest + x * scale, dest + y * scale).
  auto clip = [scale](int32_t& start, int32_t& size, int32_t dest, int32_t limit) {
    int64_t first = start, last = int64_t{start} + size;       // source range
    const int64_t low = (-int64_t{dest} + scale - 1) / scale;  // first source pixel at output >= 0
    if (dest < 0) first = std::max(first, low);
    last = std::min(last, (int64_t{limit} - dest) / scale);
    start = int32_t(first);
    size = int32_t(std::max<int64_t>(0, last - first));
  };
  clip(r.x, r.w, dest_x, s.width);
  clip(r.y, r.h, dest_y, s.height);
  platform::Rect dirty{};
  if (r.w > 0 && r.h > 0) {
    uint8_t* base =
        reinterpret_cast<uint8_t*>(s.pixels) + int64_t{dest_y} * s.pitch + int64_t{dest_x} * 2;
    const uint8_t* source = display_row(d, 0);
    copier_copy(*d.copier, base, s.pitch, r.x, r.y, source, display_row_step(d), r.x, r.y, r.w,
                r.h);
    dirty = platform::Rect{dest_x + r.x * scale, dest_y + r.y * scale, r.w * scale, r.h * scale};
  }
  video.unlock_surface(d.window, dirty);
}

}  // namespace

platform::Rect scaled_rect(const Display& d, int32_t dest_x, int32_t dest_y, int32_t x, int32_t y,
                           int32_t w, int32_t h) {
  const int64_t x0 = int64_t{x} * d.out_width / d.width,
                x1 = (int64_t{x} + w) * d.out_width / d.width;
  const int64_t y0 = int64_t{y} * d.out_height / d.height,
                y1 = (int64_t{y} + h) * d.out_height / d.height;
  return platform::Rect{int32_t(dest_x + x0), int32_t(dest_y + y0), int32_t(x1 - x0),
                        int32_t(y1 - y0)};
}

int display_blit(Display& d, int32_t dest_x, int32_t dest_y, int32_t x, int32_t y, int32_t w,
                 int32_t h) {
  const platform::Rect r = platform::clip_rect(platform::Rect{x, y, w, h}, d.width, d.height);
  if (r.w == 0 || r.h == 0) return 0;
  if (d.defer_state == kCollecting && d.rects.size() < d.rect_capacity) {
    d.rects.push_back(DeferredRect{dest_x, dest_y, r.x, r.y, r.w, r.h});
    return 0;
  }
  const platform::VideoDriver& video = platform::video();
  display_realize_palette(d);
  platform::Rect area = r;
  if (d.redraw_all) {
    // The window holds colours of the old palette: everything goes again.
    area = full_picture(d);
    d.redraw_all = false;
    d.rects.clear();  // covered by this copy
  }
  if (d.dispdib) {
    // The full-screen window takes the whole buffer, its extra lines included.
    const platform::Rect all{0, 0, d.pitch, d.buffer_height};
    video.present8(d.full_screen_window, display_picture(d), all, all, all, d.shown.data());
    return 256;
  }
  if (!d.copier) {
    present(d, dest_x, dest_y, area);
    return 0;
  }
  if (!video.is_visible(d.window)) return 0;
  if (!video.has_focus(d.window)) {
    // Another window may cover ours: the plain path draws only what shows.
    present(d, dest_x, dest_y, area);
    d.was_covered = true;
    return 0;
  }
  if (d.was_covered) {
    d.was_covered = false;
    area = full_picture(d);
    // Interlacing never writes the odd lines: start them black.
    if (d.copier->type == kCopy8Interlaced || d.copier->type == kCopy16Interlaced)
      video.fill_black(d.window, scaled_rect(d, dest_x, dest_y, 0, 0, d.width, d.height));
  }
  copy_accelerated(d, dest_x, dest_y, area);
  return 0;
}

void display_begin_deferred(Display& d) {
  d.rects.clear();
  d.rects.reserve(d.rect_capacity);
  d.defer_state = kCollecting;
}

void display_flush_rects(Display& d) {
  d.defer_state = kFlushing;
  // A copy that widens to the whole picture empties the list: the rest is covered.
  for (size_t i = 0; i < d.rects.size(); ++i) {
    const DeferredRect r = d.rects[i];
    display_blit(d, r.dest_x, r.dest_y, r.x, r.y, r.w, r.h);
  }
  d.rects.clear();
  d.defer_state = kDrawAtOnce;
}

void show_on_screen(Display& display, int64_t x, int64_t y, int64_t w, int64_t h) {
  const ScreenArea a = visible_area(x, y, w, h, display.width, display.height);
  if (!a.empty()) display_blit(display, 0, 0, a.x, a.y, a.w, a.h);
}
}  // namespace glint::player::display
