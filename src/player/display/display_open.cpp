// Choosing the display mode and building the Display record.
#include <algorithm>

#include "player/display/display.h"

namespace glint::player::display {

const char* const kModeNames[6] = {
    "Automatic",
    "Full screen 320x240",
    "Full screen 320x200",
    "Full screen 320x200 direct",
    "Standard Windows DIBs",
    "WinG",
};

namespace {

// The colours a palette screen keeps for itself, first the low ones from
// entry 0 up, then the high ones ending at entry 255.
constexpr uint8_t kLowStatic[10][3] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240}};
constexpr uint8_t kHighStatic[10][3] = {
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255}};

constexpr int32_t kMaxPicture = 8192;

bool full_screen_fits(const platform::VideoCaps& caps, int mode, int32_t width, int32_t height,
                      bool scaled) {
  if (!caps.full_screen || scaled) return false;
  if (mode == kModeFull320x240) return width <= 320 && height <= 240;
  if (mode == kModeFull320x200) return width <= 320 && height <= 200;
  return false;  // mode 3 writes into video memory, which no platform here offers
}

}  // namespace

size_t rect_capacity_for(int32_t width, int32_t height) {
  const int64_t n = (int64_t{std::max(width, 0)} / 64) * (int64_t{std::max(height, 0)} / 4) / 2;
  return size_t(std::max<int64_t>(16, n));
}

int choose_mode(const platform::VideoCaps& caps, uint32_t request, int32_t width, int32_t height,
                int32_t out_width, int32_t out_height, bool* accelerate) {
  if (accelerate) *accelerate = false;
  const int asked = int(request & kRequestModeMask);
  if (asked > kModeDibSection) return 0;
  const bool scaled = out_width != width || out_height != height;
  for (int mode = asked == kModeAutomatic ? kModeDibSection : asked; mode >= 1; --mode) {
    bool accepted = false;
    if (mode == kModeDibSection) {
      accepted = true;
      // The accelerated copy writes 1x or 2x into a 16-bit surface.
      const bool exact = !scaled || (out_width == 2 * width && out_height == 2 * height);
      if (accelerate)
        *accelerate = exact && !(request & kRequestNoAcceleration) &&
                      (caps.surface_format == platform::kSurface565 ||
                       caps.surface_format == platform::kSurface555);
    } else if (mode == kModeDib) {
      accepted = true;
    } else {
      accepted = full_screen_fits(caps, mode, width, height, scaled);
    }
    if (accepted) return mode;
    if (asked != kModeAutomatic) return 0;
  }
  return 0;
}

std::unique_ptr<Display> display_open(platform::WindowHandle window, uint32_t request,
                                      int32_t width, int32_t height, int32_t out_width,
                                      int32_t out_height) {
  if (width <= 0 || height <= 0 || width > kMaxPicture || height > kMaxPicture) return nullptr;
  if (out_width <= 0 || out_height <= 0 || out_width > 4 * kMaxPicture ||
      out_height > 4 * kMaxPicture)
    return nullptr;
  const platform::VideoDriver& video = platform::video();
  platform::VideoCaps caps;
  video.capabilities(&caps);
  bool accelerate = false;
  const int mode = choose_mode(caps, request, width, height, out_width, out_height, &accelerate);
  if (mode == 0) return nullptr;

  auto d = std::make_unique<Display>();
  d->mode = mode;
  d->dispdib = mode <= kModeFull320x200Direct;
  d->width = width;
  d->height = height;
  d->pitch = (width + 7) & ~7;
  d->buffer_height = mode == kModeFull320x240 && height <= 200 ? 204 : height;
  d->out_width = out_width;
  d->out_height = out_height;
  d->scaled = out_width != width || out_height != height;
  const int bits = std::clamp(caps.bits_per_pixel, 1, 24);
  d->screen_colours = uint32_t{1} << bits;
  d->palette_size = d->screen_colours >= 256 ? 256 : int(d->screen_colours);
  // Only a 256-colour screen keeps colours of its own, half at each end.
  const int reserved = caps.bits_per_pixel == 8 ? std::clamp(caps.reserved_colours / 2, 0, 127) : 0;
  d->static_low = reserved;
  d->static_high = 256 - reserved;
  for (int i = 0; i < reserved; ++i) {
    if (i < 10) std::copy_n(kLowStatic[i], 3, &d->system_colours[size_t(i) * 3]);
    if (i < 10) std::copy_n(kHighStatic[9 - i], 3, &d->system_colours[size_t(255 - i) * 3]);
  }
  for (int i = 0; i < 256; ++i) {
    d->palette[size_t(i) * 4] = d->system_colours[size_t(i) * 3 + 2];
    d->palette[size_t(i) * 4 + 1] = d->system_colours[size_t(i) * 3 + 1];
    d->palette[size_t(i) * 4 + 2] = d->system_colours[size_t(i) * 3];
  }
  d->shown = d->system_colours;
  d->top_down = !d->dispdib;
  d->bits.assign(size_t(d->pitch) * size_t(d->buffer_height), 0);
  d->rect_capacity = rect_capacity_for(width, height);
  d->buffer_kind = kBufferBounds;
  if (mode == kModeDibSection && (4 * int64_t{out_width}) % width == 0 &&
      (4 * int64_t{out_height}) % height == 0)
    d->buffer_kind = kBufferRects;
  d->window = window;

  if (d->dispdib) {
    // The full-screen window shows the whole buffer at its own size, letterboxed.
    d->full_screen_window = video.create_window(
        "", 0, 0, d->pitch, d->buffer_height, platform::kStyleFullScreen | platform::kStyleTopmost);
    if (!d->full_screen_window) return nullptr;
    if (window) video.show_window(window, platform::kShowMinimized);
    video.show_window(d->full_screen_window, platform::kShowNormal);
    return d;
  }

  if (accelerate) {
    uint32_t flags = kCopierOneX;
    if (d->scaled)
      flags = (request & kRequestSmooth)      ? kCopierSmooth
              : (request & kRequestInterlace) ? kCopierInterlace
                                              : kCopierDouble;
    flags |= caps.surface_format == platform::kSurface565 ? kCopier565 : kCopier555;
    // A surface that cannot be locked now never will be: drop the acceleration.
    platform::Surface probe;
    if (window && video.lock_surface(window, &probe)) {
      video.unlock_surface(window, platform::Rect{});
      d->pointer_probe = caps.has_mouse && caps.pointer_over_surface ? 1 : 0;
      d->surface_format = caps.surface_format;
      d->copier = copier_open(flags);
      d->was_covered = true;  // the first copy covers everything
    }
  }
  return d;
}

void display_close(std::unique_ptr<Display>& display) {
  if (!display) return;
  if (display->full_screen_window) platform::video().destroy_window(display->full_screen_window);
  display.reset();
}

uint8_t* display_row(Display& d, int32_t y) {
  const int64_t row = d.top_down ? y : int64_t{d.buffer_height} - 1 - y;
  return d.bits.data() + row * d.pitch;
}

int64_t display_row_step(const Display& d) { return d.top_down ? d.pitch : -int64_t{d.pitch}; }

platform::Picture8 display_picture(const Display& d) {
  // Bottom-up buffers keep their top line last in memory.
  const uint8_t* top =
      d.top_down ? d.bits.data() : d.bits.data() + int64_t{d.buffer_height - 1} * d.pitch;
  return platform::Picture8{top, int32_t(display_row_step(d)), d.pitch, d.buffer_height};
}

std::string display_description(const Display& d) {
  std::string text = d.mode == kModeDibSection ? "DIBSection" : kModeNames[d.mode];
  if (d.copier) text += " with accelerated blitting (" + copier_describe(*d.copier) + ")";
  return text;
}

bool display_has_focus(const Display& d) {
  return platform::video().has_focus(d.dispdib ? d.full_screen_window : d.window);
}

}  // namespace glint::player::display
