// INPUTCHAR, INPUTCHARORDELAY, INPUTSTR and the MOUSE commands. Positions
// are the script's: the screen adjustment is added going in and taken off
// coming out.
#include "player/commands_input.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/video.h"
#include "player/bitmaps.h"
#include "player/commands_screen.h"
#include "player/display/screen.h"
#include "player/error_report.h"
#include "player/input_state.h"
#include "player/input_wait.h"
#include "player/mouse_areas.h"
#include "player/parameters.h"
#include "player/pointer.h"
#include "player/script_text.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

namespace d = display;

int32_t clamp32(int64_t value) { return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

void command_inputchar(Player& player) {
  const std::string name = read_variable(player);
  need_window(player);
  set_variable(player, name, wait_for_key_or_click(player, std::nullopt));
}

void command_inputcharordelay(Player& player) {
  const std::string name = read_variable(player);
  // A negative time is no time at all.
  const int32_t milliseconds = std::max(read_number(player), 0);
  need_window(player);
  set_variable(player, name, wait_for_key_or_click(player, uint32_t(milliseconds)));
}

void command_inputstr(Player& player) {
  const std::string name = read_variable(player);
  const int32_t length = read_number(player);
  const std::string prompt = read_text(player);
  need_window(player);
  remove_pointer(player);
  screen_text_output(player, prompt);
  set_variable(player, name, read_line(player, length));
}

void command_mouseadd(Player& player) {
  const ScreenSettings& s = screen_settings(player);
  const std::string name = read_nonempty_text(player);
  const int64_t x = int64_t{read_number(player)} + s.adjust_x;
  const int64_t y = int64_t{read_number(player)} + s.adjust_y;
  const int64_t w = read_number(player);
  const int64_t h = read_number(player);
  const int32_t bitmap = read_number(player);
  MouseArea area;
  area.name = name;
  area.left = clamp32(x);
  area.top = clamp32(y);
  area.right = clamp32(x + w);
  area.bottom = clamp32(y + h);
  if (bitmap != 0) {
    const Bitmap* b = find_bitmap(player, bitmap);
    if (!b) report_line_error(player, kBadFrame);
    area.bitmap = bitmap;
    area.bitmap_serial = b->serial;
  }
  InputState& input = input_state(player);
  if (!add_mouse_area(input, area)) report_line_error(player, kCouldNotAddMouseArea);
  choose_pointer_image(player, input.mouse_x, input.mouse_y);
}

void command_mousearea(Player& player) {
  const std::string name = read_variable(player);
  const InputState& input = input_state(player);
  const MouseArea* area = mouse_area_at(input, input.mouse_x, input.mouse_y);
  set_variable(player, name, area ? area->name : std::string());
}

void command_mouseremove(Player& player) {
  const std::string name = read_text(player);
  remove_mouse_area(input_state(player), name);
}

void command_mouseremoveall(Player& player) {
  remove_level_areas(input_state(player));
  trim_left(player.parameters);
}

void command_mousepushandremoveall(Player& player) {
  push_area_level(input_state(player));
  trim_left(player.parameters);
}

void command_mousepop(Player& player) {
  pop_area_level(input_state(player));
  trim_left(player.parameters);
}

// Moves the mouse and the system pointer with it (in window pixels when the
// picture is shown scaled).
void command_mousesetxy(Player& player) {
  const ScreenSettings& s = screen_settings(player);
  const int64_t x = int64_t{read_number(player)} + s.adjust_x;
  const int64_t y = int64_t{read_number(player)} + s.adjust_y;
  InputState& input = input_state(player);
  clamp_mouse_position(player, x, y, &input.mouse_x, &input.mouse_y);
  const d::Screen& screen = d::screen();
  if (!screen.window || !screen.display) return;
  const d::Display& display = *screen.display;
  const platform::VideoDriver& video = platform::video();
  const platform::WindowHandle window =
      display.dispdib && display.full_screen_window ? display.full_screen_window : display.window;
  platform::Rect client;
  int64_t cx = input.mouse_x, cy = input.mouse_y;
  if (video.client_rect(window, &client) && display.width > 0 && display.height > 0 &&
      (client.w != display.width || client.h != display.height)) {
    cx = cx * client.w / display.width;
    cy = cy * client.h / display.height;
  }
  if (video.warp_pointer) video.warp_pointer(window, int32_t(cx), int32_t(cy));
}

void command_mousex(Player& player) {
  const std::string name = read_variable(player);
  store_number(player, name,
               int64_t{input_state(player).mouse_x} - screen_settings(player).adjust_x);
}

void command_mousey(Player& player) {
  const std::string name = read_variable(player);
  store_number(player, name,
               int64_t{input_state(player).mouse_y} - screen_settings(player).adjust_y);
}

void command_mousepresent(Player& player) {
  const std::string name = read_variable(player);
  platform::VideoCaps caps;
  platform::video().capabilities(&caps);
  store_number(player, name, caps.has_mouse ? 1 : 0);
}

void command_mousemode(Player& player) { input_state(player).mouse_mode = read_number(player); }

}  // namespace

void register_input_commands(CommandTable& table) {
  register_command(table, "INPUTCHAR", command_inputchar);
  register_command(table, "INPUTCHARORDELAY", command_inputcharordelay);
  register_command(table, "INPUTSTR", command_inputstr);
  register_command(table, "MOUSEADD", command_mouseadd);
  register_command(table, "MOUSEAREA", command_mousearea);
  register_command(table, "MOUSEMODE", command_mousemode);
  register_command(table, "MOUSEPOP", command_mousepop);
  register_command(table, "MOUSEPRESENT", command_mousepresent);
  register_command(table, "MOUSEPUSHANDREMOVEALL", command_mousepushandremoveall);
  register_command(table, "MOUSEREMOVE", command_mouseremove);
  register_command(table, "MOUSEREMOVEALL", command_mouseremoveall);
  register_command(table, "MOUSESETXY", command_mousesetxy);
  register_command(table, "MOUSEX", command_mousex);
  register_command(table, "MOUSEY", command_mousey);
  register_input_box_commands(table);
}

}  // namespace glint::player
