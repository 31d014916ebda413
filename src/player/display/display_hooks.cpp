#include "player/display/display_hooks.h"

#include "player/display/screen.h"

namespace glint::player::display {
namespace {

void service(Player&) { pump_messages(); }

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
}

}  // namespace glint::player::display
