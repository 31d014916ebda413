// SCREENGRAPHICS, SCREENTEXT and the other SCREEN commands: the window's
// settings, drawing straight into the screen buffer, the screen palette.
// Coordinates are the script's: the screen adjustment is added to each.
// Every pixel written or read is inside the buffer; what falls outside is
// cut or ignored (reads give 0).
#include "player/commands_screen.h"

#include <algorithm>
#include <memory>
#include <string>

#include "glinter/sound/sound_output.h"
#include "player/animation_table.h"
#include "player/commands_system.h"
#include "player/display/display_blit.h"
#include "player/display/display_hooks.h"
#include "player/display/display_palette.h"
#include "player/display/draw8.h"
#include "player/display/fades.h"
#include "player/display/screen.h"
#include "player/error_report.h"
#include "player/parameters.h"
#include "player/pointer.h"
#include "player/script_text.h"
#include "player/variable_access.h"

namespace glint::player {
namespace {

namespace d = display;

constexpr size_t kTitleMax = 255;
constexpr uint32_t kPaletteHandleBase = 0x5000;  // palette pseudo-handles follow the window's

d::Target8 target(d::Display& display) {
  return d::Target8{d::display_row(display, 0), d::display_row_step(display), display.width,
                    display.height};
}

d::Rgb768 default_palette() {
  d::Rgb768 p{};
  for (int i = 0; i < 256; ++i) {
    uint8_t* e = &p[size_t(i) * 3];
    if (i < 64)
      e[0] = e[1] = e[2] = uint8_t(i);
    else if (i < 128)
      e[0] = uint8_t(i - 64);
    else if (i < 192)
      e[1] = uint8_t(i - 64);
    else
      e[2] = uint8_t(i - 64);
  }
  return p;
}

void command_screensettings(Player& player) {
  ScreenSettings& s = screen_settings(player);
  const uint32_t n = uint32_t(read_number(player));
  if (n & d::kFlagNoAcceleration) s.flags |= d::kFlagNoAcceleration;
  const uint32_t m = n & ~d::kFlagNoAcceleration;
  if (m == 0) s.flags = (s.flags & ~d::kFlagModeMask) | 24;
  if (m >= 1 && m <= 4) s.flags = (s.flags & ~d::kFlagModeMask) | (21 + m) | d::kFlagAlternateMode;
}

void command_screenwindowborder(Player& player) {
  ScreenSettings& s = screen_settings(player);
  const int32_t n = read_number(player);
  s.flags &= ~(d::kFlagNoDialogFrame | d::kFlagThinBorder);
  if (n == 1) s.flags |= d::kFlagNoDialogFrame | d::kFlagThinBorder;
  if (n == 2) s.flags |= d::kFlagNoDialogFrame | d::kFlagPopup;
}

void command_screenwindowtitle(Player& player) {
  ScreenSettings& s = screen_settings(player);
  std::string title = read_text(player);
  if (title.size() > kTitleMax) title.resize(kTitleMax);
  player.window_title = title;
  const d::Screen& screen = d::screen();
  if (screen.window) {
    platform::video().set_title(screen.window, title.c_str());
  } else if (title.empty()) {
    s.flags |= d::kFlagPopup;
  } else {
    s.flags &= ~d::kFlagPopup;
  }
}

void command_screenwindowpos(Player& player) {
  ScreenSettings& s = screen_settings(player);
  s.window_x = read_number(player);
  s.window_y = read_number(player);
  const d::Screen& screen = d::screen();
  if (screen.window)
    platform::video().place_window(screen.window, uint16_t(s.window_x), uint16_t(s.window_y), 0, 0);
}

void command_screengraphics(Player& player) {
  ScreenSettings& s = screen_settings(player);
  const std::string name = read_variable(player);
  const int32_t width = read_number(player);
  const int32_t height = read_number(player);
  remove_pointer(player);
  if (width == 0 || height == 0) report_line_error(player, kZeroDimension);
  detach_screen_animations(player);
  if (!d::screen_create(width, height, s.window_x, s.window_y, s.flags, player.window_title)) {
    store_number(player, name, 0);
    return;
  }
  if (direct_sound_requested(player)) glinter::direct_sound_set_window(d::screen().window);
  reset_input_for_new_window(player);
  d::apply_screen_palette(default_palette(), player.palette_locks);
  ++d::screen().palette_changes;
  reset_text_defaults(player);
  s.adjust_x = (script_screen_width() - width) / 2;
  s.adjust_y = (script_screen_height() - height) / 2;
  s.cursor_x = s.adjust_x;
  s.cursor_y = s.adjust_y;
  store_number(player, name, 1);
}

void command_screentext(Player& player) {
  ScreenSettings& s = screen_settings(player);
  detach_screen_animations(player);
  remove_pointer(player);
  d::screen_destroy();
  forget_pointer(player);
  reset_text_defaults(player);
  s.cursor_x = s.cursor_y = 0;
  s.adjust_x = s.adjust_y = 0;
  trim_left(player.parameters);
}

void command_screenwidth(Player& player) {
  store_number(player, read_variable(player), script_screen_width());
}
void command_screenheight(Player& player) {
  store_number(player, read_variable(player), script_screen_height());
}

void command_screeninfo(Player& player) {
  const std::string name = read_variable(player);
  const d::Screen& s = d::screen();
  set_variable(player, name,
               s.window && s.display ? d::display_description(*s.display) : std::string());
}

void command_screenwindowhwnd(Player& player) {
  store_number(player, read_variable(player), d::screen().window);
}

void command_screenwindowhpal(Player& player) {
  const std::string name = read_variable(player);
  need_window(player);
  store_number(player, name, kPaletteHandleBase + d::screen().window);
}

void command_screenwindowhasfocus(Player& player) {
  const std::string name = read_variable(player);
  const d::Screen& s = d::screen();
  store_number(player, name, s.window && s.display && d::display_has_focus(*s.display) ? 1 : 0);
}

void command_screenwindowautopause(Player& player) {
  player.auto_pause = read_number(player) != 0 ? 1 : 0;
}

void command_screenadjustxy(Player& player) {
  ScreenSettings& s = screen_settings(player);
  s.adjust_x = read_number(player);
  s.adjust_y = read_number(player);
  s.cursor_x = s.adjust_x;
  s.cursor_y = s.adjust_y;
}

void clear_screen(d::Display& display, uint8_t colour) {
  std::fill(display.bits.begin(), display.bits.end(), colour);
  d::show_on_screen(display, 0, 0, display.width, display.height);
}

void command_screenclear(Player& player) {
  d::Display& display = need_window(player);
  remove_pointer(player);
  clear_screen(display, uint8_t(read_number(player)));
}

void command_screenfadeoutclear(Player& player) {
  need_window(player);
  remove_pointer(player);
  d::fade_out_palette(player.palette_locks, player.fade_speed);
  d::Display& display = need_window(player);  // the fade's message pump may have lost the window
  clear_screen(display, uint8_t(read_number(player)));
}

void command_screenfadespeed(Player& player) { player.fade_speed = read_number(player); }

void command_screensetpixel(Player& player) {
  const ScreenSettings& s = screen_settings(player);
  d::Display& display = need_window(player);
  const int64_t x = int64_t{read_number(player)} + s.adjust_x;
  const int64_t y = int64_t{read_number(player)} + s.adjust_y;
  const uint8_t colour = uint8_t(read_number(player));
  remove_pointer_over(player, x, y, 1, 1);
  d::put_pixel(target(display), x, y, colour);
  d::show_on_screen(display, x, y, 1, 1);
}

void command_screengetpixel(Player& player) {
  const ScreenSettings& s = screen_settings(player);
  const std::string name = read_variable(player);
  d::Display& display = need_window(player);
  const int64_t x = int64_t{read_number(player)} + s.adjust_x;
  const int64_t y = int64_t{read_number(player)} + s.adjust_y;
  remove_pointer_over(player, x, y, 1, 1);
  store_number(player, name, d::get_pixel(target(display), x, y));
}

void command_screenline(Player& player) {
  const ScreenSettings& s = screen_settings(player);
  d::Display& display = need_window(player);
  // A coordinate past the screen (a negative one too, read unsigned) lands on its last pixel.
  auto limit = [](int64_t v, int32_t size) {
    return uint64_t(v) >= uint64_t(size) ? int64_t{size} - 1 : v;
  };
  const int64_t x1 = limit(int64_t{read_number(player)} + s.adjust_x, display.width);
  const int64_t y1 = limit(int64_t{read_number(player)} + s.adjust_y, display.height);
  const int64_t x2 = limit(int64_t{read_number(player)} + s.adjust_x, display.width);
  const int64_t y2 = limit(int64_t{read_number(player)} + s.adjust_y, display.height);
  const uint8_t colour = uint8_t(read_number(player));
  remove_pointer_over(player, std::min(x1, x2), std::min(y1, y2), std::llabs(x2 - x1) + 1,
                      std::llabs(y2 - y1) + 1);
  d::draw_line(target(display), x1, y1, x2, y2, colour);
  d::show_on_screen(display, std::min(x1, x2), std::min(y1, y2), std::llabs(x2 - x1) + 1,
                    std::llabs(y2 - y1) + 1);
}

void command_screenbox(Player& player) {
  const ScreenSettings& s = screen_settings(player);
  d::Display& display = need_window(player);
  const int64_t x = int64_t{read_number(player)} + s.adjust_x;
  const int64_t y = int64_t{read_number(player)} + s.adjust_y;
  const int64_t w = read_number(player), h = read_number(player);
  const uint8_t colour = uint8_t(read_number(player));
  if (w <= 0 || h <= 0) return;
  remove_pointer_over(player, x, y, w, h);
  const d::Target8 t = target(display);
  // The four edges as filled strips: clipped like any box.
  d::fill_box(t, x, y, w, 1, colour);
  d::fill_box(t, x, y + h - 1, w, 1, colour);
  d::fill_box(t, x, y, 1, h, colour);
  d::fill_box(t, x + w - 1, y, 1, h, colour);
  d::show_on_screen(display, x, y, w, h);
}

void command_screenfilledbox(Player& player) {
  const ScreenSettings& s = screen_settings(player);
  d::Display& display = need_window(player);
  const int64_t x = int64_t{read_number(player)} + s.adjust_x;
  const int64_t y = int64_t{read_number(player)} + s.adjust_y;
  const int64_t w = read_number(player), h = read_number(player);
  const uint8_t colour = uint8_t(read_number(player));
  if (x < 0 || y < 0 || x >= display.width || y >= display.height || w <= 0 || h <= 0) return;
  remove_pointer_over(player, x, y, w, h);
  d::fill_box(target(display), x, y, w, h, colour);
  d::show_on_screen(display, x, y, w, h);
}

void command_screenpalettelock(Player& player) {
  const int32_t first = read_number(player);
  const int32_t count = read_number(player);
  const bool lock = read_number(player) != 0;
  if (first < 0 || first >= 256 || count <= 0) return;
  const int32_t last = std::min<int64_t>(int64_t{first} + count - 1, 255);
  for (int32_t i = first; i <= last; ++i) player.palette_locks[size_t(i)] = lock ? 1 : 0;
}

void command_screenforcepalettezeroblack(Player& player) {
  const bool force = read_number(player) != 0;
  d::Screen& s = d::screen();
  if (force) s.palette[0] = s.palette[1] = s.palette[2] = 0;
  if (s.display) {
    d::display_set_palette(*s.display, s.palette.data(), 0);
    d::display_update_screen(*s.display);
  }
  player.palette_locks[0] = force ? 1 : 0;
}

void command_screengetbrightestpaletteindex(Player& player) {
  store_number(player, read_variable(player), d::brightest_index(d::screen().palette));
}

void command_screengetdarkestpaletteindex(Player& player) {
  store_number(player, read_variable(player), d::darkest_index(d::screen().palette));
}

}  // namespace

d::Display& need_window(Player& player) {
  d::Display* display = d::window_display();
  if (!display) report_plain_error(player, kNoWindow);
  return *display;
}

ScreenSettings& screen_settings(const Player& player) {
  if (!player.screen) player.screen = std::make_shared<ScreenSettings>();
  return *player.screen;
}

int32_t script_screen_width() {
  const d::Screen& s = d::screen();
  return s.window && s.display ? s.display->width : 80;
}

int32_t script_screen_height() {
  const d::Screen& s = d::screen();
  return s.window && s.display ? s.display->height : 25;
}

void register_screen_commands(CommandTable& table) {
  register_command(table, "SCREENADJUSTXY", command_screenadjustxy);
  register_command(table, "SCREENBOX", command_screenbox);
  register_command(table, "SCREENCLEAR", command_screenclear);
  register_command(table, "SCREENFADEOUTCLEAR", command_screenfadeoutclear);
  register_command(table, "SCREENFADESPEED", command_screenfadespeed);
  register_command(table, "SCREENFILLEDBOX", command_screenfilledbox);
  register_command(table, "SCREENFORCEPALETTEZEROBLACK", command_screenforcepalettezeroblack);
  register_command(table, "SCREENGETBRIGHTESTPALETTEINDEX", command_screengetbrightestpaletteindex);
  register_command(table, "SCREENGETDARKESTPALETTEINDEX", command_screengetdarkestpaletteindex);
  register_command(table, "SCREENGETPIXEL", command_screengetpixel);
  register_command(table, "SCREENGRAPHICS", command_screengraphics);
  register_command(table, "SCREENHEIGHT", command_screenheight);
  register_command(table, "SCREENINFO", command_screeninfo);
  register_command(table, "SCREENLINE", command_screenline);
  register_command(table, "SCREENPALETTELOCK", command_screenpalettelock);
  register_command(table, "SCREENSETPIXEL", command_screensetpixel);
  register_command(table, "SCREENSETTINGS", command_screensettings);
  register_command(table, "SCREENTEXT", command_screentext);
  register_command(table, "SCREENWIDTH", command_screenwidth);
  register_command(table, "SCREENWINDOWAUTOPAUSE", command_screenwindowautopause);
  register_command(table, "SCREENWINDOWBORDER", command_screenwindowborder);
  register_command(table, "SCREENWINDOWHASFOCUS", command_screenwindowhasfocus);
  register_command(table, "SCREENWINDOWHPAL", command_screenwindowhpal);
  register_command(table, "SCREENWINDOWHWND", command_screenwindowhwnd);
  register_command(table, "SCREENWINDOWPOS", command_screenwindowpos);
  register_command(table, "SCREENWINDOWTITLE", command_screenwindowtitle);
}

}  // namespace glint::player
