// The SCREEN and TEXT command families, and the per-run screen settings they
// share: display settings and window position for the next window, the
// screen adjustment, the text cursor and the font.
#pragma once

#include <cstdint>
#include <string>

#include "player/command_table.h"
#include "player/font.h"
#include "player/player.h"

namespace glint::player {

namespace display {
struct Display;
}

// The presentation window's display; without a window the run ends with
// "A window hasn't been created yet".
display::Display& need_window(Player& player);

struct ScreenSettings {
  uint32_t flags = 0x2000;        // the ScreenCreate flags word
  int32_t window_x = -1;
  int32_t window_y = -1;
  int32_t adjust_x = 0;
  int32_t adjust_y = 0;
  int32_t cursor_x = 0;
  int32_t cursor_y = 0;
  Font font;
};

// The settings of this run, kept in the Player (defaults at first).
ScreenSettings& screen_settings(const Player& player);

// The script's screen size: the picture's, or 80 x 25 without a window.
int32_t script_screen_width();
int32_t script_screen_height();

// Screen text output: draws at the text cursor and moves it (a leading line
// feed moves to the next line, a backspace steps back and blanks a cell).
void screen_text_output(Player& player, const std::string& text);
// TEXT's output: the text, then a new line.
void print_screen_line(Player& player, const std::string& text);

void register_screen_commands(CommandTable& table);
void register_text_commands(CommandTable& table);

}  // namespace glint::player
