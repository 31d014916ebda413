// The presentation display: the one record that ties the presentation
// window to its mode, its 8-bit screen buffer, its palette and the way the
// buffer reaches the window.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/video.h"
#include "player/display/copier.h"
#include "player/display/palette_format.h"

namespace glint::player::display {

// Display modes; their names are kModeNames.
inline constexpr int kModeAutomatic = 0;
inline constexpr int kModeFull320x240 = 1;
inline constexpr int kModeFull320x200 = 2;
inline constexpr int kModeFull320x200Direct = 3;
inline constexpr int kModeDib = 4;
inline constexpr int kModeDibSection = 5;
extern const char* const kModeNames[6];

// DisplayOpen request bits beside the mode number.
inline constexpr uint32_t kRequestModeMask = 0x7F;
inline constexpr uint32_t kRequestNoAcceleration = 0x80;
inline constexpr uint32_t kRequestSmooth = 0x100;
inline constexpr uint32_t kRequestInterlace = 0x200;

// How a frame's changed areas reach the window (the kind GlintNextRect takes).
inline constexpr int kBufferRects = 0;
inline constexpr int kBufferBounds = 1;
inline constexpr int kBufferDirect = 2;

// Deferral states of the rectangle list.
inline constexpr int kDrawAtOnce = 0;
inline constexpr int kFlushing = 1;
inline constexpr int kCollecting = 2;

struct DeferredRect {
  int32_t dest_x, dest_y, x, y, w, h;
};

struct Display {
  int buffer_kind = kBufferBounds;
  int mode = kModeDib;
  bool dispdib = false;  // a full-screen mode
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;          // width raised to a multiple of 8
  int32_t buffer_height = 0;  // 204 for a short picture in mode 1
  bool scaled = false;
  int32_t out_width = 0;
  int32_t out_height = 0;
  uint32_t screen_colours = 0;
  int palette_size = 256;
  int static_low = 0;
  int static_high = 256;
  bool top_down = true;
  std::vector<uint8_t> bits;  // pitch x buffer_height

  platform::WindowHandle window = 0;              // the presentation window
  platform::WindowHandle full_screen_window = 0;  // modes 1-2

  // The display palette in the platform's blue, green, red, spare order,
  // and the colours the system keeps (entries outside the static range).
  std::array<uint8_t, 1024> palette{};
  Rgb768 system_colours{};
  Rgb768 shown{};  // the palette the window is drawn with (realized)
  bool palette_changed = false;
  bool redraw_all = false;  // the next copy covers the whole picture

  // The accelerated path: the copier writes into the window's 16-bit surface.
  std::unique_ptr<Copier> copier;
  uint32_t surface_format = platform::kSurfaceNone;
  int pointer_probe = 0;
  bool was_covered = false;

  int defer_state = kDrawAtOnce;
  size_t rect_capacity = 16;
  std::vector<DeferredRect> rects;
};

// The capacity of the deferred rectangle list for a picture size.
size_t rect_capacity_for(int32_t width, int32_t height);

// The mode DisplayOpen would choose for this request on a platform with
// these capabilities (0 when none is accepted), and whether the copy may be
// accelerated there.
int choose_mode(const platform::VideoCaps& caps, uint32_t request, int32_t width, int32_t height,
                int32_t out_width, int32_t out_height, bool* accelerate);

// Chooses the mode and builds the record on the presentation window; null
// when the mode asked for is not available or the sizes are not usable.
std::unique_ptr<Display> display_open(platform::WindowHandle window, uint32_t request,
                                      int32_t width, int32_t height, int32_t out_width,
                                      int32_t out_height);
void display_close(std::unique_ptr<Display>& display);

// The picture's top line (rows step by display_row_step).
uint8_t* display_row(Display& display, int32_t y);
int64_t display_row_step(const Display& display);
platform::Picture8 display_picture(const Display& display);

// The mode's name as the screen-information command shows it.
std::string display_description(const Display& display);

// Whether the window the user looks at has the keyboard focus.
bool display_has_focus(const Display& display);

}  // namespace glint::player::display
