// The headless video service: windows and their pictures in memory, input
// from a script or from tests, snapshots as PPM files.
#include "platform/headless/headless_video.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/input_script.h"
#include "platform/platform.h"
#include "platform/video_canvas.h"
#include "platform/video_drivers.h"

namespace glint::platform {
namespace {

struct Window {
  std::string title;
  Rect client;
  unsigned style = 0;
  bool visible = false;
  bool minimized = false;
  bool focus = false;
  // The pointer as the delivered mouse messages placed it.
  bool pointer_inside = false;
  int32_t pointer_x = 0;
  int32_t pointer_y = 0;
  Canvas canvas;
};

struct State {
  bool caps_set = false;
  VideoCaps caps;
  bool lock_failures = false;
  WindowHandle next_handle = 1;
  std::map<WindowHandle, Window> windows;
  std::deque<Message> pending;
  bool input_loaded = false;
  std::vector<ScriptedEvent> script;
  size_t next_event = 0;
  uint64_t pumps = 0;
  uint64_t pumps_at_last_event = 0;
  unsigned snapshots = 0;
  std::string last_snapshot;
};

State& state() {
  static State s;
  return s;
}

VideoCaps default_caps() {
  VideoCaps caps;
  caps.full_screen = true;
  const char* setting = std::getenv("GLINT_HEADLESS_SCREEN");
  if (!setting || !*setting) return caps;
  std::string text(setting);
  int w = 0, h = 0, bits = 0;
  const int got = std::sscanf(text.c_str(), "%dx%dx%d", &w, &h, &bits);
  if (got >= 2 && w > 0 && h > 0 && w <= 16384 && h <= 16384) {
    caps.screen_width = w;
    caps.screen_height = h;
  }
  if (got == 3 && (bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32))
    caps.bits_per_pixel = bits;
  for (size_t comma = text.find(','); comma != std::string::npos;
       comma = text.find(',', comma + 1)) {
    const std::string item = text.substr(comma + 1, text.find(',', comma + 1) - comma - 1);
    if (item.rfind("reserved=", 0) == 0)
      caps.reserved_colours = std::clamp(std::atoi(item.c_str() + 9), 0, 254);
    if (item == "surface=565") caps.surface_format = kSurface565;
    if (item == "surface=555") caps.surface_format = kSurface555;
    if (item == "surface=none") caps.surface_format = kSurfaceNone;
    if (item == "nofullscreen") caps.full_screen = false;
  }
  return caps;
}

const VideoCaps& caps() {
  State& s = state();
  if (!s.caps_set) {
    s.caps = default_caps();
    s.caps_set = true;
  }
  return s.caps;
}

Window* find(WindowHandle handle) {
  auto it = state().windows.find(handle);
  return it == state().windows.end() ? nullptr : &it->second;
}

void write_snapshot(const Window& window) {
  const char* dir = std::getenv("GLINT_SNAPSHOT_DIR");
  if (!dir || !*dir || window.canvas.width == 0 || window.canvas.height == 0) return;
  State& s = state();
  char name[32];
  std::snprintf(name, sizeof name, "snapshot-%04u.ppm", s.snapshots + 1);
  std::string path = std::string(dir) + "/" + name;
  if (!write_ppm(path, window.canvas)) {
    debug_output(("headless: cannot write " + path + "\n").c_str());
    return;
  }
  ++s.snapshots;
  s.last_snapshot = path;
}

void after_present(const Window& window) {
  const char* every = std::getenv("GLINT_SNAPSHOT_EVERY");
  if (every && std::strcmp(every, "1") == 0) write_snapshot(window);
}

void load_input_text(std::string_view text) {
  State& s = state();
  std::vector<std::string> errors;
  s.script = parse_input_script(text, errors);
  for (const std::string& e : errors) debug_output(("GLINT_INPUT: " + e + "\n").c_str());
  // Message-box answers are needed whenever a box appears, window or not.
  for (const ScriptedEvent& e : s.script)
    if (e.kind == ScriptedEvent::Kind::kAnswer) headless::queue_answer(e.answer);
  s.next_event = 0;
  s.pumps_at_last_event = s.pumps;
  s.input_loaded = true;
}

void ensure_input() {
  if (!state().input_loaded) load_input_text(read_input_setting(std::getenv("GLINT_INPUT")));
}

// Moves the next scripted event into the queue when it is due.
bool deliver_due_event() {
  State& s = state();
  const WindowHandle target = headless::current_window();
  while (s.next_event < s.script.size()) {
    const ScriptedEvent& e = s.script[s.next_event];
    if (e.kind == ScriptedEvent::Kind::kAnswer) {  // queued when read
      ++s.next_event;
      continue;
    }
    if (!target) return false;
    const bool due = e.timing == ScriptedEvent::Timing::kNextPump ? true
                     : e.timing == ScriptedEvent::Timing::kAtTime
                         ? micros() / 1000 >= e.value
                         : s.pumps - s.pumps_at_last_event >= e.value;
    if (!due) return false;
    ++s.next_event;
    s.pumps_at_last_event = s.pumps;
    if (e.kind == ScriptedEvent::Kind::kSnapshot) {
      if (const Window* w = find(target)) write_snapshot(*w);
      continue;
    }
    for (Message m : e.messages) {
      m.window = target;
      s.pending.push_back(m);
    }
    return true;
  }
  return false;
}

void get_caps(VideoCaps* out) { *out = caps(); }

WindowHandle create_window(const char* title, int32_t x, int32_t y, int32_t w, int32_t h,
                           unsigned style) {
  ensure_input();
  State& s = state();
  if (w < 0 || h < 0 || w > 16384 || h > 16384) return 0;
  Window window;
  window.title = title ? title : "";
  window.style = style;
  window.client = Rect{x, y, w, h};
  canvas_resize(window.canvas, w, h);
  const WindowHandle handle = s.next_handle++;
  s.windows.emplace(handle, std::move(window));
  return handle;
}

void destroy_window(WindowHandle handle) {
  Window* w = find(handle);
  if (!w) return;
  write_snapshot(*w);
  state().windows.erase(handle);
  auto& pending = state().pending;
  pending.erase(std::remove_if(pending.begin(), pending.end(),
                               [handle](const Message& m) { return m.window == handle; }),
                pending.end());
}

void set_title(WindowHandle handle, const char* title) {
  if (Window* w = find(handle)) w->title = title ? title : "";
}

void place_window(WindowHandle handle, int32_t x, int32_t y, int32_t width, int32_t height) {
  Window* w = find(handle);
  if (!w) return;
  w->client.x = x;
  w->client.y = y;
  if (width > 0 && height > 0 && width <= 16384 && height <= 16384 &&
      (width != w->client.w || height != w->client.h)) {
    w->client.w = width;
    w->client.h = height;
    canvas_resize(w->canvas, width, height);
  }
}

bool client_rect(WindowHandle handle, Rect* out) {
  const Window* w = find(handle);
  if (!w) return false;
  *out = w->client;
  return true;
}

void show_window(WindowHandle handle, int how) {
  Window* w = find(handle);
  if (!w) return;
  switch (how) {
    case kShowNormal:
    case kShowRestore:
      w->visible = true;
      w->minimized = false;
      for (auto& [other_handle, other] : state().windows) other.focus = false;
      w->focus = true;
      break;
    case kShowMinimized:
      w->minimized = true;
      w->focus = false;
      break;
    default:
      w->visible = false;
      w->focus = false;
      break;
  }
}

bool has_focus(WindowHandle handle) {
  const Window* w = find(handle);
  return w && w->focus;
}

bool is_visible(WindowHandle handle) {
  const Window* w = find(handle);
  return w && w->visible && !w->minimized;
}

void present8(WindowHandle handle, const Picture8& picture, Rect src, Rect dst, Rect clip,
              const uint8_t* palette) {
  Window* w = find(handle);
  if (!w) return;
  canvas_present8(w->canvas, picture, src, dst, clip, palette);
  after_present(*w);
}

void fill_black(WindowHandle handle, Rect area) {
  if (Window* w = find(handle)) canvas_fill_black(w->canvas, area);
}

bool lock_surface(WindowHandle handle, Surface* out) {
  Window* w = find(handle);
  if (!w || caps().surface_format == kSurfaceNone || state().lock_failures) return false;
  *out = canvas_surface(w->canvas, caps().surface_format);
  return true;
}

void unlock_surface(WindowHandle handle, Rect dirty) {
  Window* w = find(handle);
  if (!w) return;
  canvas_surface_to_rgb(w->canvas, dirty);
  after_present(*w);
}

bool poll_message(Message* out) {
  ensure_input();
  State& s = state();
  if (s.pending.empty()) deliver_due_event();
  if (s.pending.empty()) {
    ++s.pumps;
    return false;
  }
  *out = s.pending.front();
  s.pending.pop_front();
  if (Window* w = find(out->window)) {
    if (out->message == kWmSetFocus) w->focus = true;
    if (out->message == kWmKillFocus) w->focus = false;
    if (out->message >= kWmMouseMove && out->message <= kWmRButtonUp) {
      w->pointer_inside =
          out->x >= 0 && out->y >= 0 && out->x < w->client.w && out->y < w->client.h;
      w->pointer_x = out->x;
      w->pointer_y = out->y;
    }
    if (out->message == kWmMouseLeave) w->pointer_inside = false;
  }
  return true;
}

bool read_pixels(WindowHandle handle, uint8_t* rgb, uint64_t capacity) {
  const Window* w = find(handle);
  if (!w || !rgb || capacity < uint64_t(w->canvas.rgb.size()) * 3) return false;
  canvas_read_rgb(w->canvas, rgb);
  return true;
}

bool set_resolution(int32_t width, int32_t height) {
  if (width == 0 && height == 0) return true;
  return caps().can_change_resolution && width > 0 && height > 0;
}

void snapshot(WindowHandle handle) {
  if (const Window* w = find(handle)) write_snapshot(*w);
}

bool pointer_position(WindowHandle handle, int32_t* x, int32_t* y) {
  const Window* w = find(handle);
  if (!w || !w->pointer_inside) return false;
  *x = w->pointer_x;
  *y = w->pointer_y;
  return true;
}

// As on a desktop, moving the pointer makes the window see a mouse move.
void warp_pointer(WindowHandle handle, int32_t x, int32_t y) {
  Window* w = find(handle);
  if (!w) return;
  w->pointer_inside = x >= 0 && y >= 0 && x < w->client.w && y < w->client.h;
  w->pointer_x = x;
  w->pointer_y = y;
  state().pending.push_back(Message{handle, kWmMouseMove, 0, x, y, 0});
}

bool input_ended() {
  ensure_input();
  const State& s = state();
  if (!s.pending.empty()) return false;
  for (size_t i = s.next_event; i < s.script.size(); ++i)
    if (s.script[i].kind != ScriptedEvent::Kind::kAnswer) return false;
  return true;
}

}  // namespace

const VideoDriver headless_video{get_caps,       create_window,    destroy_window, set_title,
                                 place_window,   client_rect,      show_window,    has_focus,
                                 is_visible,     present8,         fill_black,     lock_surface,
                                 unlock_surface, poll_message,     read_pixels,    set_resolution,
                                 snapshot,       pointer_position, warp_pointer,   input_ended};

namespace headless {

void set_video_caps(const VideoCaps& c) {
  state().caps = c;
  state().caps_set = true;
}
VideoCaps video_caps() { return caps(); }
void reset_video_caps() { state().caps_set = false; }
void set_lock_failures(bool on) { state().lock_failures = on; }

WindowHandle current_window() {
  const auto& windows = state().windows;
  return windows.empty() ? 0 : windows.rbegin()->first;
}

void post_message(const Message& message) {
  Message m = message;
  m.window = current_window();
  if (m.window) state().pending.push_back(m);
}

void load_input(std::string_view text) { load_input_text(text); }
uint64_t pumps() { return state().pumps; }
unsigned snapshots_written() { return state().snapshots; }
std::string last_snapshot() { return state().last_snapshot; }

void reset_video() {
  State& s = state();
  s.windows.clear();
  s.pending.clear();
  s.script.clear();
  s.next_event = 0;
  s.input_loaded = true;  // tests load their own input
  s.lock_failures = false;
}

}  // namespace headless
}  // namespace glint::platform
