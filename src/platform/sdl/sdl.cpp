// The SDL2 back-end: real time, and message boxes shown on the display.
#include <SDL.h>

#include <cstdlib>

#include "platform/audio_drivers.h"
#include "platform/backends.h"
#include "platform/video_drivers.h"

namespace glint::platform {
namespace {

bool display_available() {
  // Probing initialises the video subsystem once; it stays up for the
  // windows that later services open.
  static const bool ok = [] {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!x || !*x) && (!wayland || !*wayland)) return false;
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  }();
  return ok;
}

int box(const char* caption, const char* text, unsigned style) {
  print_message_box(caption, text);
  struct Button {
    int id;
    const char* label;
  };
  static constexpr Button kButtons[6][3] = {
      {{kIdOk, "OK"}, {0, nullptr}, {0, nullptr}},
      {{kIdOk, "OK"}, {kIdCancel, "Cancel"}, {0, nullptr}},
      {{kIdAbort, "Abort"}, {kIdRetry, "Retry"}, {kIdIgnore, "Ignore"}},
      {{kIdYes, "Yes"}, {kIdNo, "No"}, {kIdCancel, "Cancel"}},
      {{kIdYes, "Yes"}, {kIdNo, "No"}, {0, nullptr}},
      {{kIdRetry, "Retry"}, {kIdCancel, "Cancel"}, {0, nullptr}},
  };
  unsigned kind = style & kMbButtonMask;
  if (kind > 5) kind = 0;
  const int preferred = default_answer(style);
  SDL_MessageBoxButtonData buttons[3];
  int count = 0;
  for (const Button& b : kButtons[kind]) {
    if (!b.id) break;
    Uint32 flags = 0;
    if (b.id == preferred) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    if (b.id == kIdCancel || (b.id == kIdNo && kind == 4) || (b.id == kIdOk && kind == 0))
      flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    buttons[count++] = SDL_MessageBoxButtonData{flags, b.id, b.label};
  }
  Uint32 icon = SDL_MESSAGEBOX_INFORMATION;
  unsigned icon_bits = style & kMbIconMask;
  if (icon_bits == kMbIconError) icon = SDL_MESSAGEBOX_ERROR;
  if (icon_bits == kMbIconWarning) icon = SDL_MESSAGEBOX_WARNING;
  SDL_MessageBoxData data{icon, nullptr, caption, text, count, buttons, nullptr};
  int pressed = 0;
  if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed <= 0) return preferred;
  return pressed;
}

const ClockDriver kClock{real_micros, real_ticks, real_sleep_micros, real_yield};
const DialogDriver kDialog{box};

}  // namespace

const Backend sdl_backend{"sdl", display_available, &kClock, &kDialog, &sdl_video,
                          &sdl_audio};

}  // namespace glint::platform
