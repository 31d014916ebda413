#include "player/display/display_hooks.h"

#include "glinter/sound_hook.h"
#include "player/commands_screen.h"
#include "player/display/screen.h"

namespace glint::player::display {
namespace {

// Between lines and inside every wait: the sound output moves data to its
// device, then the window's messages are dispatched.
void service(Player&) {
  glinter::sound_service();
  pump_messages();
}

bool window_lacks_focus(Player&) {
  const Screen& s = screen();
  return s.window && s.display && !display_has_focus(*s.display);
}

void destroy(Player&) { screen_destroy(); }

bool has_window(const Player&) { return screen_has_window(); }

}  // namespace

void install_display_hooks(PlayerHooks& hooks) {
  hooks.service = service;
  hooks.window_lacks_focus = window_lacks_focus;
  hooks.screen_destroy = destroy;
  hooks.has_window = has_window;
  hooks.print_line = print_screen_line;
}

}  // namespace glint::player::display
