#include "player/input_wait.h"

#include <algorithm>

#include "orxutil/orxutil.h"
#include "platform/platform.h"
#include "platform/video.h"
#include "player/commands_screen.h"
#include "player/display/screen.h"
#include "player/input_key_names.h"
#include "player/input_state.h"
#include "player/mouse_areas.h"
#include "player/pointer.h"

namespace glint::player {
namespace {

namespace d = display;

constexpr const char* kCloseName = "ALT F4";

void dispatch_messages(Player& player) {
  if (player.hooks.service)
    player.hooks.service(player);
  else
    d::pump_messages();
}

bool window_alive() {
  const d::Screen& s = d::screen();
  return s.window && s.display;
}

bool input_ended() {
  const platform::VideoDriver& video = platform::video();
  return video.input_ended && video.input_ended();
}

// The window the user points at: the full-screen one in the full-screen modes.
platform::WindowHandle pointed_window(const d::Display& display) {
  return display.dispdib && display.full_screen_window ? display.full_screen_window
                                                       : display.window;
}

// The system pointer in picture pixels, or false when it is not over the
// picture.
bool pointer_on_picture(const d::Display& display, int64_t* x, int64_t* y) {
  const platform::VideoDriver& video = platform::video();
  if (!video.pointer_position) return false;
  const platform::WindowHandle window = pointed_window(display);
  int32_t cx = 0, cy = 0;
  if (!video.pointer_position(window, &cx, &cy)) return false;
  platform::Rect client;
  int64_t px = cx, py = cy;
  // A scaled picture: window pixels back to picture pixels.
  if (video.client_rect(window, &client) && client.w > 0 && client.h > 0 &&
      (client.w != display.width || client.h != display.height)) {
    px = int64_t{cx} * display.width / client.w;
    py = int64_t{cy} * display.height / client.h;
  }
  if (px < 0 || py < 0 || px >= display.width || py >= display.height) return false;
  *x = px;
  *y = py;
  return true;
}

}  // namespace

void track_mouse(Player& player) {
  const d::Screen& s = d::screen();
  platform::VideoCaps caps;
  platform::video().capabilities(&caps);
  if (!caps.has_mouse || !window_alive()) return;
  InputState& input = input_state(player);
  int64_t x = 0, y = 0;
  if (pointer_on_picture(*s.display, &x, &y)) {
    clamp_mouse_position(player, x, y, &input.mouse_x, &input.mouse_y);
  } else {
    remove_pointer(player);
    input.mouse_x = input.mouse_y = -1;
  }
  const PointerState& pointer = input.pointer;
  if (!pointer.drawn || pointer.x != input.mouse_x || pointer.y != input.mouse_y)
    choose_pointer_image(player, input.mouse_x, input.mouse_y);
  draw_pointer(player);
}

std::string wait_for_key_or_click(Player& player, std::optional<uint32_t> limit_ms) {
  const uint32_t start = ORXTimerRead();
  d::Screen& s = d::screen();
  for (;;) {
    dispatch_messages(player);
    const int code = d::key_queue_pop(s.keys);
    if (code >= 0) return key_name(uint8_t(code));
    platform::yield();
    track_mouse(player);
    if (s.left_clicks > 0) {
      --s.left_clicks;
      const InputState& input = input_state(player);
      const MouseArea* area = mouse_area_at(input, input.mouse_x, input.mouse_y);
      return area ? area->name : std::string("LEFT MOUSE");
    }
    if (s.right_clicks > 0) {
      --s.right_clicks;
      return "RIGHT MOUSE";
    }
    if (limit_ms) {
      const uint32_t waited = ORXTimerRead() - start;
      if (waited >= *limit_ms) return "DELAY";
      if (input_ended()) {
        // Nothing can arrive before the limit: pass the rest of it at once.
        platform::sleep_ms(*limit_ms - waited);
        return "DELAY";
      }
    } else if (!window_alive() || input_ended()) {
      // Nothing can end this wait any more: it ends as a closed window would.
      return kCloseName;
    }
  }
}

std::string read_line(Player& player, int32_t length) {
  const std::size_t limit = std::size_t(std::clamp(length, 0, kLineLengthMax));
  d::Screen& s = d::screen();
  std::string line;
  for (;;) {
    dispatch_messages(player);
    const int code = d::key_queue_pop(s.keys);
    if (code < 0) {
      if (!window_alive() || input_ended()) break;  // nobody can finish the line
      platform::yield();
      continue;
    }
    if (code == 8) {
      if (!line.empty()) {
        line.pop_back();
        screen_text_output(player, "\b");
      }
    } else if (code == 13) {
      if (line.empty()) break;
      screen_text_output(player, "\n");
      return line;
    } else if (code == 27) {
      break;
    } else if (code < 32 || code >= 128) {
      // control characters and the codes of special keys
    } else if (line.size() < limit) {
      line += char(code);
      screen_text_output(player, std::string(1, char(code)));
    }
  }
  // The default text (empty) is printed, then a new line.
  screen_text_output(player, "\n");
  return {};
}

}  // namespace glint::player
