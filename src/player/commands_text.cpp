// TEXT, TEXTNOCR and the other TEXT commands, and the screen text output
// they share with the listing commands: a terminal-like cursor that never
// scrolls. Text is clipped at every edge of the screen.
#include <algorithm>
#include <string>

#include "player/bitmaps.h"
#include "player/commands_screen.h"
#include "player/commands_system.h"
#include "player/display/display_blit.h"
#include "player/display/draw8.h"
#include "player/display/screen.h"
#include "player/engine.h"
#include "player/error_report.h"
#include "player/parameters.h"
#include "player/pointer.h"
#include "player/script_text.h"
#include "player/token_reader.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

namespace d = display;

TextColours colours_of(const Player& player) {
  return TextColours{player.text_color, player.text_back_color, player.text_trans_color};
}

// While a print job is open the text goes into its file instead of onto
// the screen.
void command_text(Player& player) {
  need_window(player);
  const std::string text = read_text(player);
  if (print_job_write(player, text + "\r\n")) return;
  print_screen_line(player, text);
}

// The lines after TEXTBEGIN up to its TEXTEND are kept by the loader as
// text lines; commands that follow a TEXTBEGIN run from a line buffer are
// printed as their command line.
void command_textbegin(Player& player) {
  need_window(player);
  const CompiledScript& script = *player.script;
  while (player.position < script.lines.size()) {
    const CompiledLine& line = script.lines[player.position++];
    player.line_number = line.line_number;
    std::string text = line.parameters;
    if (!line.text) text = std::string(kCommandNames[line.command]) + ' ' + text;
    if (is_text_block_end(text)) return;
    text = substitute_references(player, std::move(text));
    if (print_job_write(player, text + "\r\n")) continue;
    print_screen_line(player, text);
  }
  player.run_state = RunState::kLeaveScript;
}

void command_textnocr(Player& player) {
  need_window(player);
  const std::string text = read_text(player);
  if (print_job_write(player, text)) return;
  screen_text_output(player, text);
}

void command_textcolor(Player& player) { player.text_color = uint8_t(read_number(player)); }
void command_textbackcolor(Player& player) {
  player.text_back_color = uint8_t(read_number(player));
}
void command_texttranscolor(Player& player) {
  player.text_trans_color = uint8_t(read_number(player));
}

void command_textsetxy(Player& player) {
  ScreenSettings& s = screen_settings(player);
  s.cursor_x =
      int32_t(std::clamp<int64_t>(int64_t{read_number(player)} + s.adjust_x, INT32_MIN, INT32_MAX));
  s.cursor_y =
      int32_t(std::clamp<int64_t>(int64_t{read_number(player)} + s.adjust_y, INT32_MIN, INT32_MAX));
}

void command_textx(Player& player) {
  const ScreenSettings& s = screen_settings(player);
  set_variable(player, read_variable(player), int32_to_text(s.cursor_x - s.adjust_x));
}

void command_texty(Player& player) {
  const ScreenSettings& s = screen_settings(player);
  set_variable(player, read_variable(player), int32_to_text(s.cursor_y - s.adjust_y));
}

void command_textfontfrombitmap(Player& player) {
  ScreenSettings& s = screen_settings(player);
  const int32_t bitmap = read_number(player);
  if (bitmap == 0) {
    for (int i = 0; i < 4; ++i) read_text(player);  // still required, any kind
    s.font = builtin_font();
    return;
  }
  const int32_t w = read_number(player);
  const int32_t h = read_number(player);
  const int32_t first = read_number(player);
  const int32_t last = read_number(player);
  // A number that names no bitmap, or cell sizes the cutter refuses, leave
  // the current font as it is.
  const Bitmap* source = find_bitmap(player, bitmap);
  if (!source) return;
  font_from_pixels(s.font, source->pixels.data(), source->width, source->height, source->width, w,
                   h, first, last);
}

}  // namespace

void screen_text_output(Player& player, const std::string& text) {
  d::Display* display = d::window_display();
  if (!display || text.empty()) return;
  ScreenSettings& s = screen_settings(player);
  const Font& font = s.font;
  const int32_t screen_w = display->width, screen_h = display->height;
  if (text[0] == '\n') {
    // At the bottom the cursor stays on the last line: no scrolling.
    if (int64_t{s.cursor_y} + 2 * font.height <= screen_h) {
      s.cursor_x = s.adjust_x;
      s.cursor_y += font.height;
    }
    return;
  }
  const d::Target8 target{d::display_row(*display, 0), d::display_row_step(*display), screen_w,
                          screen_h};
  if (text[0] == '\b') {
    s.cursor_x = s.cursor_x < 9 ? 0 : s.cursor_x - font.width;
    remove_pointer_over(player, s.cursor_x, s.cursor_y, font.width, font.height);
    d::fill_box(target, s.cursor_x, s.cursor_y, font.width, font.height, player.text_back_color);
    d::show_on_screen(*display, s.cursor_x, s.cursor_y, font.width, font.height);
    return;
  }
  int64_t characters = int64_t(text.size());
  if (int64_t{s.cursor_x} + characters * font.width > screen_w)
    characters = std::max<int64_t>(0, (int64_t{screen_w} - s.cursor_x) / font.width);
  if (characters == 0) return;
  // The pointer goes before the text is drawn, so its pixels never end up
  // under transparent glyphs.
  remove_pointer_over(player, s.cursor_x, s.cursor_y, characters * font.width, font.height);
  render_text(font, std::string_view(text).substr(0, size_t(characters)), colours_of(player),
              TextTarget{target.top_row, target.pitch, screen_w, screen_h}, s.cursor_x, s.cursor_y);
  d::show_on_screen(*display, s.cursor_x, s.cursor_y, characters * font.width, font.height);
  s.cursor_x = int32_t(std::min<int64_t>(int64_t{s.cursor_x} + characters * font.width, INT32_MAX));
}

void print_screen_line(Player& player, const std::string& text) {
  screen_text_output(player, text);
  screen_text_output(player, "\n");
}

void register_text_commands(CommandTable& table) {
  register_command(table, "TEXT", command_text);
  register_command(table, "TEXTBACKCOLOR", command_textbackcolor);
  register_command(table, "TEXTBEGIN", command_textbegin);
  register_command(table, "TEXTCOLOR", command_textcolor);
  register_command(table, "TEXTFONTFROMBITMAP", command_textfontfrombitmap);
  register_command(table, "TEXTNOCR", command_textnocr);
  register_command(table, "TEXTSETXY", command_textsetxy);
  register_command(table, "TEXTTRANSCOLOR", command_texttranscolor);
  register_command(table, "TEXTX", command_textx);
  register_command(table, "TEXTY", command_texty);
}

}  // namespace glint::player
