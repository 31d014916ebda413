#include "player/display/screen.h"

#include <algorithm>

#include "platform/platform.h"
#include "player/display/display_blit.h"

namespace glint::player::display {
namespace {

constexpr size_t kTitleMax = 255;
constexpr int32_t kMaxPictureSide = 8192;

unsigned window_style(uint32_t flags) {
  unsigned style = 0;
  if (flags & kFlagPopup) {
    if (flags & kFlagThinBorder) style |= platform::kStyleBorder;
  } else {
    style |= platform::kStyleCaption;
  }
  if (!(flags & kFlagNoDialogFrame)) style |= platform::kStyleDialogFrame;
  if (flags & kFlagTopmost) style |= platform::kStyleTopmost;
  return style;
}

void paint_all(Display& d) {
  if (d.copier && (d.copier->type == kCopy8Interlaced || d.copier->type == kCopy16Interlaced))
    platform::video().fill_black(d.window, platform::Rect{0, 0, d.out_width, d.out_height});
  display_blit(d, 0, 0, 0, 0, d.width, d.height);
}

// Puts the client area at (x, y) with the display's output size (-1 centres)
// and brings the window up with the focus.
void place(Screen& s, int32_t x, int32_t y) {
  const platform::VideoDriver& video = platform::video();
  Display& d = *s.display;
  if (d.dispdib) return;  // the full-screen window shows the picture
  platform::VideoCaps caps;
  video.capabilities(&caps);
  if (x == -1) x = (caps.screen_width - d.out_width) / 2;
  if (y == -1) y = (caps.screen_height - d.out_height) / 2;
  video.place_window(s.window, x, y, d.out_width, d.out_height);
  video.show_window(s.window, platform::kShowNormal);
  s.minimized = false;
}

bool open_display(Screen& s, int32_t width, int32_t height, uint32_t flags) {
  platform::VideoCaps caps;
  platform::video().capabilities(&caps);
  const int32_t out_w = resolve_output(s.output_width, width, caps.screen_width);
  const int32_t out_h = resolve_output(s.output_height, height, caps.screen_height);
  if (s.output_width < 0) s.output_width = out_w;
  if (s.output_height < 0) s.output_height = out_h;
  s.display = display_open(s.window, request_for_flags(flags), width, height, out_w, out_h);
  ++s.display_generation;
  return s.display != nullptr;
}

void close_display(Screen& s) {
  if (!s.display) return;
  s.mode_description = display_description(*s.display);
  display_close(s.display);
  ++s.display_generation;
}

}  // namespace

bool key_queue_push(KeyQueue& q, uint8_t code) {
  if (q.count == kKeyQueueSize) return false;
  q.codes[(q.first + q.count) % kKeyQueueSize] = code;
  ++q.count;
  return true;
}

int key_queue_pop(KeyQueue& q) {
  if (q.count == 0) return -1;
  const uint8_t code = q.codes[q.first];
  q.first = (q.first + 1) % kKeyQueueSize;
  --q.count;
  return code;
}

Screen& screen() {
  static Screen s;
  return s;
}

uint32_t request_for_flags(uint32_t flags) {
  uint32_t request = kModeAutomatic;
  switch (flags & kFlagModeMask) {
    case 22:
      request = kModeFull320x240;
      break;
    case 23:
      request = (flags & kFlagAlternateMode) ? kModeFull320x200 : kModeFull320x200Direct;
      break;
    case 24:
      request = kModeDib;
      break;
    case 25:
      request = kModeDibSection;
      break;
    default:
      break;
  }
  if (flags & kFlagNoAcceleration) request |= kRequestNoAcceleration;
  if (flags & kFlagSmooth) request |= kRequestSmooth;
  if (flags & kFlagInterlace) request |= kRequestInterlace;
  return request;
}

int32_t resolve_output(int32_t setting, int32_t picture, int32_t screen_size) {
  if (setting == 0) return picture;  // no setting: the picture's own size
  if (setting == -1) return screen_size;
  if (setting < 0) return int32_t(std::min<int64_t>(int64_t{-int64_t{setting}} * picture, 1 << 20));
  return setting;
}

bool screen_create(int32_t width, int32_t height, int32_t x, int32_t y, uint32_t flags,
                   const std::string& title) {
  Screen& s = screen();
  const platform::VideoDriver& video = platform::video();
  const std::string name = title.substr(0, std::min(title.size(), kTitleMax));
  // Sizes no display can have fail before an existing window is touched.
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide)
    return false;
  if (s.window) {
    if (s.display && s.display->width >= width && s.display->height >= height) {
      if (!(flags & kFlagKeepContents))
        std::fill(s.display->bits.begin(), s.display->bits.end(), uint8_t{0});
      paint_all(*s.display);
      return true;
    }
    close_display(s);
    if (!open_display(s, width, height, flags)) {
      screen_destroy();
      return false;
    }
    place(s, x, y);
    return true;
  }
  s.window = video.create_window(name.c_str(), 0, 0, 320, 240, window_style(flags));
  if (!s.window) return false;
  if (!open_display(s, width, height, flags)) {
    video.destroy_window(s.window);
    s.window = 0;
    return false;
  }
  place(s, x, y);
  return true;
}

void screen_destroy() {
  Screen& s = screen();
  close_display(s);
  if (s.window) platform::video().destroy_window(s.window);
  s.window = 0;
  s.minimized = false;
}

bool screen_has_window() { return screen().window != 0; }

bool is_special_key_code(uint8_t code) {
  return code == kKeyShiftTab || (code >= 161 && code <= 168) || code == 173 || code == 174 ||
         (code >= 208 && code <= 247);
}

int key_code_for(const platform::Message& m) {
  const uint32_t vk = m.wparam;
  const bool shift = m.modifiers & platform::kModShift;
  const bool control = m.modifiers & platform::kModControl;
  switch (m.message) {
    case platform::kWmClose:
      return kKeyClose;
    case platform::kWmKeyDown:
      if (vk >= platform::kVkF1 && vk <= platform::kVkF10) {
        const int n = int(vk - platform::kVkF1);
        return shift ? 218 + n : control ? 228 + n : 208 + n;
      }
      if (vk >= platform::kVkPrior && vk <= platform::kVkDown)
        return 161 + int(vk - platform::kVkPrior);
      if (vk == platform::kVkInsert) return 173;
      if (vk == platform::kVkDelete) return 174;
      return -1;
    case platform::kWmChar:
      if (vk == '\t' && shift) return kKeyShiftTab;
      // A typed character whose code a special key owns would read as that
      // key (an Alt+F4 from a typed byte 241): such characters are dropped.
      if (vk > 255 || is_special_key_code(uint8_t(vk))) return -1;
      return int(vk);
    case platform::kWmSysKeyDown:
      if (vk == platform::kVkF10) return (m.modifiers & platform::kModAlt) ? 247 : 217;
      if (vk >= platform::kVkF1 && vk < platform::kVkF10 && (m.modifiers & platform::kModAlt))
        return 238 + int(vk - platform::kVkF1);
      return -1;
    default:
      return -1;
  }
}

void window_procedure(const platform::Message& m) {
  Screen& s = screen();
  switch (m.message) {
    case platform::kWmPaint:
      if (s.display) paint_all(*s.display);
      return;
    case platform::kWmSysCommand:
      if (m.wparam == platform::kScMinimize) s.minimized = true;
      if (m.wparam == platform::kScRestore) s.minimized = false;
      return;
    case platform::kWmMouseMove:
    case platform::kWmLButtonDown:
    case platform::kWmRButtonDown:
      s.mouse_x = m.x;
      s.mouse_y = m.y;
      return;
    case platform::kWmLButtonUp:
    case platform::kWmRButtonUp:
      s.mouse_x = m.x;
      s.mouse_y = m.y;
      if (m.message == platform::kWmLButtonUp)
        ++s.left_clicks;
      else
        ++s.right_clicks;
      return;
    default:
      break;
  }
  const int code = key_code_for(m);
  if (code >= 0) key_queue_push(s.keys, uint8_t(code));
}

int pump_messages() {
  const platform::VideoDriver& video = platform::video();
  platform::Message m;
  while (video.poll_message(&m)) {
    if (m.message == platform::kWmQuit) {
      screen_destroy();
      return 1;
    }
    window_procedure(m);
  }
  return 0;
}

int set_screen_resolution(int n) {
  static constexpr int32_t kSizes[5][2] = {{0, 0}, {640, 400}, {640, 480}, {800, 600}, {1024, 768}};
  if (n < 0 || n > 4) return 0;
  return platform::video().set_resolution(kSizes[n][0], kSizes[n][1]) ? 1 : 0;
}

Display* window_display() {
  Screen& s = screen();
  return s.window && s.display ? s.display.get() : nullptr;
}

}  // namespace glint::player::display
