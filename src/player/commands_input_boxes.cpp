// INPUTSTRWIN (a line read in a box drawn on the screen, which is put back
// afterwards) and INPUTMSGWIN (a question in a system message box).
#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "player/commands_input.h"
#include "player/commands_screen.h"
#include "player/display/display_blit.h"
#include "player/display/draw8.h"
#include "player/display/screen.h"
#include "player/display/screen_patch.h"
#include "player/error_report.h"
#include "player/input_wait.h"
#include "player/parameters.h"
#include "player/pointer.h"
#include "player/script_text.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

namespace d = display;

void outline(const d::Target8& t, int64_t x, int64_t y, int64_t w, int64_t h, uint8_t colour) {
  if (w <= 0 || h <= 0) return;
  d::fill_box(t, x, y, w, 1, colour);
  d::fill_box(t, x, y + h - 1, w, 1, colour);
  d::fill_box(t, x, y, 1, h, colour);
  d::fill_box(t, x + w - 1, y, 1, h, colour);
}

int32_t clamp32(int64_t value) { return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

void command_inputstrwin(Player& player) {
  const std::string name = read_variable(player);
  const int32_t x_given = read_number(player);
  const int32_t y_given = read_number(player);
  const int32_t length = std::clamp(read_number(player), 0, kLineLengthMax);
  const std::string prompt = read_text(player);
  d::Screen& screen = d::screen();
  if (!screen.window || !screen.display) report_plain_error(player, kNoWindow);
  d::Display& display = *screen.display;
  ScreenSettings& s = screen_settings(player);
  const int64_t gw = s.font.width, gh = s.font.height;

  const int64_t box_w = (std::max<int64_t>(int64_t(prompt.size()), length) + 4) * gw;
  const int64_t box_h = 6 * gh;
  const int64_t x = x_given == -1 ? (int64_t{display.width} - box_w) / 2 - s.adjust_x
                                  : (int64_t{x_given} + s.adjust_x) & ~int64_t{3};
  const int64_t y = y_given == -1 ? (int64_t{display.height} - box_h) / 2 - s.adjust_y
                                  : int64_t{y_given} + s.adjust_y;

  remove_pointer(player);
  const d::ScreenPatch saved = d::save_screen_patch(display, x, y, box_w, box_h);
  const d::Target8 t{d::display_row(display, 0), d::display_row_step(display), display.width,
                     display.height};
  d::fill_box(t, x, y, box_w, box_h, player.text_back_color);
  outline(t, x + 1, y + 1, box_w - 2, box_h - 2, player.text_color);
  const int64_t line_w = int64_t{length} * gw;
  const int64_t line_x = x + (box_w - line_w) / 2;
  outline(t, line_x - gw / 2, y + 4 * gh - 4, line_w + gw, gh + 5, player.text_color);
  d::show_on_screen(display, x, y, box_w, box_h);

  s.cursor_x = clamp32(x + (box_w - int64_t(prompt.size()) * gw) / 2);
  s.cursor_y = clamp32(y + gh * 3 / 2);
  screen_text_output(player, prompt);
  s.cursor_x = clamp32(line_x);
  s.cursor_y = clamp32(y + 4 * gh);
  const std::string line = read_line(player, length);
  // The window may be gone or made again meanwhile.
  if (d::Display* now = d::window_display()) d::restore_screen_patch(*now, saved);
  set_variable(player, name, line);
}

void command_inputmsgwin(Player& player) {
  const std::string name = read_variable(player);
  read_number(player);  // x and y: a system box places itself
  read_number(player);
  const int32_t flags = read_number(player);
  const std::string text = read_text(player);
  const int answer = show_message_box(player, player.window_title.c_str(), text.c_str(),
                                      message_box_style_for(flags));
  set_variable(player, name, int32_to_text(message_box_result(answer)));
}

}  // namespace

unsigned message_box_style_for(int32_t flags) {
  const bool cancel = flags & 2;
  const bool yes_no = flags & 12;
  if (cancel && yes_no) return platform::kMbYesNoCancel | platform::kMbIconQuestion;
  if (cancel) return platform::kMbOkCancel | platform::kMbIconWarning;
  if (yes_no) return platform::kMbYesNo | platform::kMbIconQuestion;
  return platform::kMbOk | platform::kMbIconInformation;
}

int32_t message_box_result(int answer) {
  switch (answer) {
    case platform::kIdOk:
      return 1;
    case platform::kIdYes:
      return 4;
    case platform::kIdNo:
      return 8;
    default:
      return 2;  // Cancel, or the box was closed
  }
}

void register_input_box_commands(CommandTable& table) {
  register_command(table, "INPUTMSGWIN", command_inputmsgwin);
  register_command(table, "INPUTSTRWIN", command_inputstrwin);
}

}  // namespace glint::player
